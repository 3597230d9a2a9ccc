#pragma once

#include <string_view>
#include <vector>

#include "methods/entorno.h"

namespace velarno {

// One input control a command-line option fills: its control name and the initial text it
// has in the window, used when the option is not given.
struct ControlTexto {
  const char* control;
  const char* inicial;
};

// A typed option of a method (--pct, --modo, --medida, --mascara, --clase) and the controls
// it fills; --mascara fills nine, from its comma-separated list.
struct OpcionTexto {
  const char* opcion;
  std::vector<ControlTexto> controles;
};

// One method of velarno-cli. `ejecutar` runs in an EntornoCli; `admitePaso` is false for the
// method that has no step mode.
struct MetodoCli {
  const char* nombre;
  Fin (*ejecutar)(Entorno& entorno, bool& paso);
  bool admitePaso;
  std::vector<OpcionTexto> opciones;
};

// Every method the command line runs, in the order the usage text lists them.
const std::vector<MetodoCli>& metodosCli();
// The method called `nombre`, or nullptr.
const MetodoCli* buscarMetodo(std::string_view nombre);

}  // namespace velarno
