#pragma once

#include <QString>

#include "image/tipos.h"

namespace velarno {

// Opens a picture file straight into an image record: sized to the picture (every negro
// false) with each gris the nivelGris of the colour decodificarImagen gives that pixel, the
// histogram untouched; the same record as reading that decoded picture with leerPixeles.
// A JPEG in grey or colour (YCbCr or RGB) that its EXIF orientation leaves as it is, is
// decoded a few rows at a time into the grey plane and never held in colour; any other
// picture, and such a JPEG as soon as the decoder reports a fault or a warning, is decoded
// whole by decodificarImagen. Refuses what decodificarImagen refuses, returning its message
// (the record is left sized or not, its levels unspecified); returns an empty text when open.
// Test hook: with the environment variable VELARNO_PRUEBA_DECODIFICAR_ENTERA set, every
// picture is decoded whole, so a test can compare both ways.
QString leerGrisesImagen(const QString& ruta, DatosImagen& imagen);

}  // namespace velarno
