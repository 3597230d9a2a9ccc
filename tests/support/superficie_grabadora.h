#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/superficie.h"

namespace velarno {

// A recording picture surface for tests: a raster of `ancho` x `alto` colours plus the drawing
// commands in the order they came, as text lines with numbers of up to nine significant digits
// (exact for Singles) and colours as 0xBBGGRR in hex: "escala 0 120 301 0", "grosor 1",
// "linea (20,10)-(20,110) 000000 1", "fuente arial 8 negrita", "texto (10,120) Nivel",
// "limpiar", "grises 3x2", "blancoNegro 3x2". With `conFilas` it also offers its rows as Qt's
// 32-bit colours, like a loaded picture, so the bulk reading path can be exercised.
class SuperficieGrabadora : public Superficie {
 public:
  explicit SuperficieGrabadora(int32_t ancho = 0, int32_t alto = 0, Color fondo = kBlanco,
                               bool conFilas = false)
      : ancho_(ancho),
        alto_(alto),
        fondo_(fondo),
        conFilas_(conFilas),
        raster_(static_cast<size_t>(ancho) * static_cast<size_t>(alto), aRGB32(fondo)) {}

  int32_t anchoPixeles() const override { return ancho_; }
  int32_t altoPixeles() const override { return alto_; }
  Color leerColor(int32_t x, int32_t y) const override {
    ++lecturas_;
    if (!dentro(x, y)) return -1;
    const uint32_t p = raster_[indice(x, y)];
    return static_cast<Color>(((p >> 16) & 255U) | (p & 0xFF00U) | ((p & 255U) << 16));
  }
  void ponerPixel(int32_t x, int32_t y, Color color) override {
    ++escrituras_;
    if (dentro(x, y)) raster_[indice(x, y)] = aRGB32(color);
  }
  void limpiar() override {
    raster_.assign(raster_.size(), aRGB32(fondo_));
    ordenes_.push_back("limpiar");
  }
  void escala(double izquierda, double arriba, double derecha, double abajo) override {
    ordenes_.push_back("escala " + num(izquierda) + " " + num(arriba) + " " + num(derecha) + " " +
                       num(abajo));
  }
  int grosorLinea() const override { return grosor_; }
  void setGrosorLinea(int grosor) override {
    grosor_ = grosor;
    ordenes_.push_back("grosor " + std::to_string(grosor));
  }
  void linea(double x1, double y1, double x2, double y2, Color color) override {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(color) & 0xFFFFFFU);
    ordenes_.push_back("linea (" + num(x1) + "," + num(y1) + ")-(" + num(x2) + "," + num(y2) +
                       ") " + hex + " " + std::to_string(grosor_));
  }
  void fuente(const std::string& nombre, double puntos, bool negrita) override {
    ordenes_.push_back("fuente " + nombre + " " + num(puntos) + (negrita ? " negrita" : " normal"));
  }
  void texto(double x, double y, const std::string& texto) override {
    ordenes_.push_back("texto (" + num(x) + "," + num(y) + ") " + texto);
  }
  void escribirGrises(const uint8_t* gris, size_t paso, int32_t ancho, int32_t alto) override {
    escribir(gris, paso, ancho, alto, "grises", [](uint8_t g) { return rgb(g, g, g); });
  }
  void escribirBlancoNegro(const uint8_t* negro, size_t paso, int32_t ancho,
                           int32_t alto) override {
    escribir(negro, paso, ancho, alto, "blancoNegro",
             [](uint8_t n) { return n != 0 ? kNegro : kBlanco; });
  }
  const uint32_t* filaRGB32(int32_t y) const override {
    if (!conFilas_ || y < 0 || y >= alto_) return nullptr;
    return raster_.data() + indice(0, y);
  }

  // The recorded commands, and all of them joined with '\n'.
  const std::vector<std::string>& ordenes() const { return ordenes_; }
  void olvidarOrdenes() { ordenes_.clear(); }
  std::string guion() const {
    std::string s;
    for (const std::string& o : ordenes_) s += (s.empty() ? "" : "\n") + o;
    return s;
  }

  // The raster as grey levels, row after row (the red byte of each pixel).
  std::vector<uint8_t> rojos() const {
    std::vector<uint8_t> v(raster_.size());
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint8_t>((raster_[i] >> 16) & 255U);
    return v;
  }
  // Calls of the one-pixel operations, to check that a hot path used the bulk ones.
  int64_t lecturas() const { return lecturas_; }
  int64_t escrituras() const { return escrituras_; }

 private:
  static uint32_t aRGB32(Color c) {
    return 0xFF000000U | (static_cast<uint32_t>(c & 255) << 16) |
           (static_cast<uint32_t>((c >> 8) & 255) << 8) | static_cast<uint32_t>((c >> 16) & 255);
  }
  static std::string num(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.9g", v);
    return b;
  }
  template <typename AColor>
  void escribir(const uint8_t* plano, size_t paso, int32_t ancho, int32_t alto, const char* orden,
                AColor aColor) {
    ordenes_.push_back(std::string(orden) + " " + std::to_string(ancho) + "x" +
                       std::to_string(alto));
    for (int32_t y = 0; y < alto; ++y)
      for (int32_t x = 0; x < ancho; ++x)
        if (dentro(x, y))
          raster_[indice(x, y)] =
              aRGB32(aColor(plano[static_cast<size_t>(y) * paso + static_cast<size_t>(x)]));
  }
  bool dentro(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < ancho_ && y < alto_; }
  size_t indice(int32_t x, int32_t y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(ancho_) + static_cast<size_t>(x);
  }

  int32_t ancho_;
  int32_t alto_;
  Color fondo_;
  bool conFilas_;
  std::vector<uint32_t> raster_;
  std::vector<std::string> ordenes_;
  int grosor_ = 1;
  mutable int64_t lecturas_ = 0;
  int64_t escrituras_ = 0;
};

}  // namespace velarno
