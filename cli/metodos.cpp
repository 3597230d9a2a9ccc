#include "cli/metodos.h"

#include <initializer_list>

#include "cli/entorno_cli.h"
#include "image/transformaciones.h"
#include "methods/binarizacion_paso.h"
#include "methods/edge_pixels.h"
#include "methods/entropy.h"
#include "methods/fuzzy.h"
#include "methods/grey_level.h"
#include "methods/iter_sel.h"
#include "methods/mean.h"
#include "methods/minimum_error.h"
#include "methods/moving_averages.h"
#include "methods/porcentaje.h"
#include "methods/regional.h"
#include "methods/relajacion.h"
#include "methods/textos_iniciales.h"
#include "methods/two_peaks.h"

namespace velarno {
namespace {

// The typed inputs of the methods: an option fills controls whose defaults are their initial
// texts in the window. Rows of the method table name the options their method reads.
OpcionTexto opcion(const char* nombre, std::initializer_list<const char*> controles) {
  OpcionTexto o{nombre, {}};
  for (const char* control : controles) o.controles.push_back({control, textoInicial(control)});
  return o;
}

const OpcionTexto kPctPorcentaje = opcion("--pct", {"Tpct"});
const OpcionTexto kPctMoving = opcion("--pct", {"CPct"});
const OpcionTexto kPctEdge = opcion("--pct", {"PCTeDp"});
const OpcionTexto kModo = opcion("--modo", {"CIterSelModo"});
const OpcionTexto kMedida = opcion("--medida", {"metodoYG"});
const OpcionTexto kMascara =
    opcion("--mascara", {"Mask(0)", "Mask(1)", "Mask(2)", "Mask(3)", "Mask(4)", "Mask(5)",
                         "Mask(6)", "Mask(7)", "Mask(8)"});
const OpcionTexto kClase = opcion("--clase", {"MetRelajacion"});

// The `umbral` method: binarizes with the scroll bar's value as moving the scroll bar does
// (aplicarUmbral), or, in step mode, as "Binarizar paso a paso": the prompts redraw the
// binarized picture after every answer and the final picture is drawn once more at the end.
Fin binarizarConUmbral(Entorno& entorno, bool& paso) {
  // The command line runs every method in an EntornoCli.
  auto& cli = static_cast<EntornoCli&>(entorno);
  if (paso) {
    binarizar(cli.imagen(), cli.umbral(), paso, cli.dialogos(), cli.binarizada());
  } else {
    binarizar(cli.imagen(), cli.umbral());
  }
  cli.dibujarBinarizada();
  return Fin::Dibujado;
}

// Relaxation has no step mode.
Fin relajacion(Entorno& entorno, bool&) { return AlgoritmoRelajacion(entorno); }

}  // namespace

const std::vector<MetodoCli>& metodosCli() {
  static const std::vector<MetodoCli> metodos = {
      {"umbral", binarizarConUmbral, true, {}},
      {"mean", AlgoritmoMean, true, {}},
      {"porcentaje", AlgoritmoPorcentaje, true, {kPctPorcentaje}},
      {"twopeaks", AlgoritmoTwoPeak, true, {}},
      {"iterativa", ejecutarIterSel, true, {kModo}},
      {"greylevel", AlgoritmoGreyLevel, true, {}},
      {"entropy", AlgoritmoEntropy, true, {}},
      {"minerror", AlgoritmoMinimumError, true, {}},
      {"fuzzy", AlgoritmoFuzzy, true, {kMedida}},
      {"edge", AlgoritmoUsingEdgePixels, true, {kMascara, kPctEdge}},
      {"moving", AlgoritmoThrdd, true, {kPctMoving}},
      {"regional", AlgoritmoRegionalThreshold, true, {}},
      {"relajacion", relajacion, false, {kClase}},
  };
  return metodos;
}

const MetodoCli* buscarMetodo(std::string_view nombre) {
  for (const MetodoCli& metodo : metodosCli())
    if (nombre == metodo.nombre) return &metodo;
  return nullptr;
}

}  // namespace velarno
