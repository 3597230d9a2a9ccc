#pragma once

#include <memory>

#include <QByteArray>
#include <QImage>
#include <QString>

#include "platform/firmas.h"

namespace velarno {

// A decoded picture, or the Spanish message that says why the file cannot be opened.
struct ResultadoCarga {
  QImage imagen;  // Format_RGB32, opaque (transparency flattened over white), when ok
  QString error;  // names the file; empty when ok
  bool ok() const { return error.isEmpty(); }
};

// Decodes a picture file (BMP, GIF, JPEG or PNG; an animated GIF gives its first frame).
// Reads the header first and refuses, without decoding, pictures wider or taller than
// kMaxLado or of more than kMaxPixeles pixels. Touches no global state but Qt's allocation
// limit, which it sets once; may run off the user-interface thread.
ResultadoCarga decodificarImagen(const QString& ruta);

// A picture file put through every check decodificarImagen makes before decoding (readable,
// signature, file size, structure, header size, cap, memory), run once so that another decoder
// may take the file from there. decodificar() then ends exactly as decodificarImagen would.
class ImagenRevisada {
 public:
  explicit ImagenRevisada(const QString& ruta);
  ~ImagenRevisada();
  ImagenRevisada(const ImagenRevisada&) = delete;
  ImagenRevisada& operator=(const ImagenRevisada&) = delete;

  // decodificarImagen's message when a check refused the file; empty when all passed.
  const QString& error() const;
  bool ok() const { return error().isEmpty(); }
  // Requires for the rest: ok().
  Formato formato() const;
  // The whole file.
  const QByteArray& bytes() const;
  // The size the header gives, before any EXIF turn.
  int ancho() const;
  int alto() const;
  // The JPEG's EXIF orientation turns or mirrors the picture.
  bool girada() const;
  // Decodes the picture as decodificarImagen does; may be called once.
  ResultadoCarga decodificar();

 private:
  struct Estado;
  std::unique_ptr<Estado> estado_;
};

// The size check made on the header: the refusal message for a picture of ancho x alto pixels
// called `nombre` (no size, a side above kMaxLado, more than kMaxPixeles in all), or an empty
// text when the size is accepted.
QString comprobarTamano(const QString& nombre, qint64 ancho, qint64 alto);

}  // namespace velarno
