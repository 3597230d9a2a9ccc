#pragma once

#include <optional>

#include <QImage>
#include <QString>

namespace velarno {

// The picture formats a grey or black-and-white picture is saved in, by file name extension
// (any letter case): "png", "bmp", "pgm" (binary).
enum class FormatoImagen { Png, Bmp, Pgm };
std::optional<FormatoImagen> formatoPorExtension(const QString& ruta);

// Writes an 8-bit grey picture to `ruta` in `formato`. The bytes go to a temporary file beside
// it that replaces `ruta` only once complete, so a failure (a full disk, a missing folder)
// never leaves a half-written file; returns false after a failure. Window and command line
// both save through it.
bool escribirImagen(const QImage& gris, const QString& ruta, FormatoImagen formato);

}  // namespace velarno
