#include "methods/traza.h"

namespace velarno {

std::string TrazaLista::texto() const {
  std::string todo;
  for (const std::string& linea : lineas_) {
    todo += linea;
    todo += '\n';
  }
  return todo;
}

}  // namespace velarno
