#pragma once

#include <string>

#include "methods/entorno_simple.h"

namespace velarno::prueba {

// Every box a run showed, one line each: "title|style|answer|lines|text", where `lines` is the
// number of trace lines written when the box showed, and CR and LF read "\r" and "\n".
inline std::string textoMensajes(EntornoSimple& e) {
  std::string todo;
  for (size_t k = 0; k < e.dialogos().mensajes().size(); ++k) {
    const Mensaje& m = e.dialogos().mensajes()[k];
    todo += m.titulo + "|" + std::to_string(m.estilo) + "|" + std::to_string(m.respuesta) + "|" +
            std::to_string(e.lineasAlMostrar()[k]) + "|";
    for (char c : m.texto) todo += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    todo += "\n";
  }
  return todo;
}

}  // namespace velarno::prueba
