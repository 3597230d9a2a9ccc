#pragma once

#include <cstdint>
#include <string>

namespace velarno {

// A colour as the routines pass it: red in the low byte, green in the next, blue in the
// third (0x00BBGGRR). -1 is what reading outside a surface gives.
using Color = int32_t;
inline constexpr Color kNegro = 0x000000;
inline constexpr Color kBlanco = 0xFFFFFF;
inline constexpr Color kRojo = 0x0000FF;
inline constexpr Color kAzul = 0xFF0000;
constexpr Color rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// A picture surface the image routines draw on and read from: a window's picture box, an
// off-screen raster in tests and the command line. Pixel operations use pixel coordinates
// (origin top-left); lines and texts use the user coordinate system set with `escala`.
// A surface keeps what is drawn on it until it is cleared.
class Superficie {
 public:
  virtual ~Superficie() = default;

  // Size of the drawing area in pixels.
  virtual int32_t anchoPixeles() const = 0;
  virtual int32_t altoPixeles() const = 0;

  // Colour of a pixel; -1 outside the drawing area.
  virtual Color leerColor(int32_t x, int32_t y) const = 0;
  // Sets one pixel; outside the drawing area nothing happens.
  virtual void ponerPixel(int32_t x, int32_t y, Color color) = 0;
  // Clears the whole surface to its background colour.
  virtual void limpiar() = 0;

  // User coordinates: the top-left corner becomes (izquierda, arriba) and the bottom-right
  // corner (derecha, abajo). Used by lines and texts only.
  virtual void escala(double izquierda, double arriba, double derecha, double abajo) = 0;
  virtual int grosorLinea() const = 0;
  virtual void setGrosorLinea(int grosor) = 0;
  virtual void linea(double x1, double y1, double x2, double y2, Color color) = 0;
  virtual void fuente(const std::string& nombre, double puntos, bool negrita) = 0;
  // Prints text with its top-left corner at (x, y) in user coordinates (the text hangs below).
  virtual void texto(double x, double y, const std::string& texto) = 0;

  // Bulk operations, so the hot paths make one virtual call per row, not per pixel.
  // Rows 0..alto-1, columns 0..ancho-1 of the drawing area; both within its size.
  // Writes grey levels (red = green = blue = the level) from `gris`, row y at gris + y * paso.
  virtual void escribirGrises(const uint8_t* gris, size_t paso, int32_t ancho, int32_t alto);
  // Writes black where the byte is non-zero and white elsewhere.
  virtual void escribirBlancoNegro(const uint8_t* negro, size_t paso, int32_t ancho, int32_t alto);
  // A row of the surface as Qt's 32-bit colours (0xAARRGGBB), or nullptr when the surface
  // does not hold such a raster; used to read a loaded picture fast.
  virtual const uint32_t* filaRGB32(int32_t y) const;
};

}  // namespace velarno
