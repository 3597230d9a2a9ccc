#pragma once

#include <QImage>
#include <QString>

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

// The size check made on the header: the refusal message for a picture of ancho x alto pixels
// called `nombre` (no size, a side above kMaxLado, more than kMaxPixeles in all), or an empty
// text when the size is accepted.
QString comprobarTamano(const QString& nombre, qint64 ancho, qint64 alto);

}  // namespace velarno
