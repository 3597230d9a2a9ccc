#pragma once

#include <string>

#include "image/tipos.h"
#include "methods/dialogos.h"
#include "methods/traza.h"

namespace velarno {

// How a run ended: published a threshold; drew the binarized picture itself; refused its input
// before touching the trace (a style-48 box was shown); ended without a result (a trace line
// says why, nothing published); cancelled by the user.
enum class Fin { Publicado, Dibujado, Rechazado, SinResultado, Cancelado };

// What a method may touch: the image record, its own trace list, the message boxes, its own
// frame's input texts, the publication of a threshold and the drawing of the binarized picture.
class Entorno {
 public:
  virtual ~Entorno() = default;

  virtual DatosImagen& imagen() = 0;
  virtual Traza& traza() = 0;
  virtual Dialogos& dialogos() = 0;
  // Text of an input control of the method's frame, by control name ("Tpct", "Mask(3)").
  virtual std::string texto(const std::string& control) const = 0;
  // Decimal separator for number text and for parsing typed texts.
  virtual char separadorDecimal() const = 0;
  // Sets the threshold scroll bar (0..255), which fires its change handling when the value
  // differs, then binarizes with it and draws the binarized picture (aplicarUmbral).
  virtual void publicar(int umbral) = 0;
  // Draws the binarized picture from the negro flags (dibujarBinarizada).
  virtual void dibujarBinarizada() = 0;
  // Progress of a long straight run, 0..1, about once per row; false when the user cancelled.
  virtual bool progreso(double fraccion) {
    (void)fraccion;
    return true;
  }
};

}  // namespace velarno
