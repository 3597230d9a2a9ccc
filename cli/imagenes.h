#pragma once

#include <string>

#include <QString>

#include "app/espacio_trabajo.h"
#include "app/evaluacion.h"
#include "platform/superficie_qimage.h"

namespace velarno {

// Decodes a picture file onto `cargada` (a 32-bit colour surface) as the window loads it.
// Returns the loader's Spanish message when the file cannot be opened, else an empty text.
std::string cargarImagen(const QString& ruta, SuperficieQImage& cargada);

// Opens a picture file into the workspace's record as the window does: sized (every negro
// false) and its grey levels read, without keeping the colour picture (leerGrisesImagen);
// the histogram is the caller's next step. Returns the loader's message or an empty text.
std::string leerImagen(const QString& ruta, EspacioTrabajo& espacio);

// Reads a reference file for the picture open in the workspace. Returns the loader's message
// (and sets `ilegible`), the message of a reference of another size, or an empty text when
// the workspace holds the reference.
std::string leerReferencia(const QString& ruta, EspacioTrabajo& espacio, bool& ilegible);

// The score of the binarized picture as drawn on `binarizada` (of the reference's size): the
// drawing, not the record's flags, is the result, as Relaxation gives the flags back after
// drawing.
Evaluacion evaluarDibujada(const SuperficieQImage& binarizada, const Referencia& referencia);

}  // namespace velarno
