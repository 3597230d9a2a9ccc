#pragma once

#include <string>

#include "methods/entorno_simple.h"
#include "platform/superficie_qimage.h"

namespace velarno {

// The command line's method context: a headless EntornoSimple whose binarized picture is drawn
// onto an 8-bit surface of the image's size, white until something is drawn, as
// `imagenBinarizada` is after opening a picture.
class EntornoCli : public EntornoSimple {
 public:
  EntornoCli(DatosImagen& imagen, std::string respuestas, int umbralInicial);

  SuperficieQImage& binarizada() { return binarizada_; }
  // Black pixels of the binarized picture as drawn.
  int64_t negros() const;

 private:
  SuperficieQImage binarizada_;
};

}  // namespace velarno
