#include "app/catalogo.h"

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
#include "methods/two_peaks.h"

namespace velarno {
namespace {

// Relaxation has no step mode.
Fin relajacion(Entorno& entorno, bool&) { return AlgoritmoRelajacion(entorno); }

ControlMetodo celda(int k, const char* inicial) {
  static const char* const kNombres[] = {"Mask(0)", "Mask(1)", "Mask(2)", "Mask(3)", "Mask(4)",
                                         "Mask(5)", "Mask(6)", "Mask(7)", "Mask(8)"};
  return {kNombres[k], inicial, TipoControl::Celda};
}

std::vector<MetodoCatalogo> construir() {
  const char* const pasoA = "Paso a paso";
  std::vector<MetodoCatalogo> filas;
  // The manual threshold: the scroll bar's value, handled by the workspace itself.
  filas.push_back({"umbral",
                   -1,
                   -1,
                   nullptr,
                   nullptr,
                   nullptr,
                   nullptr,
                   nullptr,
                   nullptr,
                   nullptr,
                   {},
                   {},
                   nullptr,
                   false,
                   false,
                   false,
                   {{"Umbral manual"}}});
  filas.push_back({"mean",
                   0,
                   0,
                   "Algoritmo Mean",
                   "Frame2",
                   "Algoritmo Mean",
                   "LMean",
                   "CMean",
                   "CPasoCmean",
                   pasoA,
                   {},
                   {},
                   &AlgoritmoMean,
                   false,
                   false,
                   false,
                   {{"Mean"}}});
  filas.push_back({"porcentaje",
                   0,
                   1,
                   "Algoritmo Porcentaje",
                   "Frame1",
                   "Algoritmo Porcentaje",
                   "LPorc",
                   "CPctFin",
                   "CPasoPct",
                   "Paso a Paso",  // capital P on this frame only, on purpose
                   {{"Tpct", "50", TipoControl::PorcentajeConBarra, "Porcentaje", "LMetodo"}},
                   {{"--pct", {"Tpct"}}},
                   &AlgoritmoPorcentaje,
                   false,
                   false,
                   false,
                   {{"Porcentaje"}}});
  filas.push_back({"twopeaks",
                   0,
                   2,
                   "Algoritmo Two Peaks",
                   "Frame3",
                   "Algoritmo Two Peaks",
                   "LTwoP",
                   "CTwoPeak",
                   "CTwoPPaso",
                   pasoA,
                   {},
                   {},
                   &AlgoritmoTwoPeak,
                   false,
                   false,
                   false,
                   {{"Two Peaks"}}});
  filas.push_back(
      {"iterativa",
       3,
       -1,
       "iterative selection",
       "FIterSel",
       "Iterative Selection",
       "LIterSel",
       "CIterSel",
       "CIterSelPaP",
       pasoA,
       {{"CIterSelModo", "Rapido", TipoControl::Lista, nullptr, nullptr, {"Rapido", "Normal"}}},
       {{"--modo", {"CIterSelModo"}}},
       &ejecutarIterSel,
       false,
       false,
       false,
       {{"Iterative Selection (Rapido)", {{"CIterSelModo", "Rapido"}}},
        {"Iterative Selection (Normal)", {{"CIterSelModo", "Normal"}}}}});
  filas.push_back({"greylevel",
                   8,
                   -1,
                   "Method of grey-level histogram",
                   "FGl",
                   "Grey Level",
                   "LGl",
                   "Command7",
                   "Command8",
                   pasoA,
                   {},
                   {},
                   &AlgoritmoGreyLevel,
                   false,
                   false,
                   false,
                   {{"Grey Level"}}});
  filas.push_back({"entropy",
                   9,
                   -1,
                   "Entropy",
                   "FEntropy",
                   "Entropy",
                   "LEntropy",
                   "Command10",
                   "Command11",
                   pasoA,
                   {},
                   {},
                   &AlgoritmoEntropy,
                   false,
                   false,
                   false,
                   {{"Entropy"}}});
  filas.push_back({"minerror",
                   6,
                   -1,
                   "Minimum Error",
                   "FMimErr",
                   "Miminum Error",
                   "LMimErr",
                   "Command3",
                   "Command4",
                   pasoA,
                   {},
                   {},
                   &AlgoritmoMinimumError,
                   false,
                   false,
                   false,
                   {{"Minimum Error"}}});
  // metodoYG's items are added when the window starts, after its no-image state.
  filas.push_back(
      {"fuzzy",
       1,
       -1,
       "Fuzzy",
       "FFuzzy",
       "Fuzzy",
       "LFuzzy",
       "CFuzzy",
       "CFuzzyPaP",
       pasoA,
       {{"metodoYG", "ENTROPY", TipoControl::Lista, nullptr, nullptr, {"ENTROPY", "FUZZY"}}},
       {{"--medida", {"metodoYG"}}},
       &AlgoritmoFuzzy,
       false,
       false,
       false,
       {{"Fuzzy"}}});
  filas.push_back({"edge",
                   7,
                   -1,
                   "Using Edge Pixel",
                   "FEdgeP",
                   "Using edge pixels",
                   "LEdgeP",
                   "Command6",
                   "Command9",
                   pasoA,
                   {celda(0, "0"),
                    celda(1, "1"),
                    celda(2, "0"),
                    celda(3, "1"),
                    celda(4, "-4"),
                    celda(5, "1"),
                    celda(6, "0"),
                    celda(7, "1"),
                    celda(8, "0"),
                    {"PCTeDp", "85", TipoControl::Texto, "Porcentaje", "Label3"}},
                   {{"--mascara",
                     {"Mask(0)", "Mask(1)", "Mask(2)", "Mask(3)", "Mask(4)", "Mask(5)", "Mask(6)",
                      "Mask(7)", "Mask(8)"}},
                    {"--pct", {"PCTeDp"}}},
                   &AlgoritmoUsingEdgePixels,
                   false,
                   false,
                   false,
                   {{"Using Edge Pixels"}}});
  filas.push_back({"moving",
                   2,
                   -1,
                   "Moving Averages",
                   "FThrdd",
                   "Moving Averages",
                   "LThrdd",
                   "Relax",
                   "CThrddPaP",
                   pasoA,
                   {{"CPct", "15", TipoControl::Texto, "Porcentaje:", "Label1", {}, true}},
                   {{"--pct", {"CPct"}}},
                   &AlgoritmoThrdd,
                   true,
                   false,
                   false,
                   {{"Moving Averages"}}});
  filas.push_back({"regional",
                   5,
                   -1,
                   "Regional threshold",
                   "FRegional",
                   "Regional threshold",
                   "LRegional",
                   "Command2",
                   "Command5",
                   pasoA,
                   {},
                   {},
                   &AlgoritmoRegionalThreshold,
                   true,
                   true,
                   false,
                   {{"Regional threshold"}}});
  filas.push_back({"relajacion",
                   4,
                   -1,
                   "Relajacion",
                   "FRelajacion",
                   "Relajacion",
                   "LRelajacion",
                   "Command1",
                   nullptr,
                   nullptr,
                   {{"MetRelajacion",
                     "Rosenfeld",
                     TipoControl::Lista,
                     "Clase de Asignación",
                     "Label2",
                     {"Rosenfeld", "Parker"}}},
                   {{"--clase", {"MetRelajacion"}}},
                   &relajacion,
                   true,
                   true,
                   true,
                   {{"Relajacion"}}});
  return filas;
}

}  // namespace

const std::vector<MetodoCatalogo>& catalogo() {
  static const std::vector<MetodoCatalogo> filas = construir();
  return filas;
}

const MetodoCatalogo* metodoPorId(std::string_view id) {
  for (const MetodoCatalogo& m : catalogo())
    if (id == m.id) return &m;
  return nullptr;
}

const MetodoCatalogo* metodoPorBoton(std::string_view boton) {
  for (const MetodoCatalogo& m : catalogo())
    if (m.botonEjecutar && boton == m.botonEjecutar) return &m;
  return nullptr;
}

size_t indiceCatalogo(const MetodoCatalogo& metodo) {
  return static_cast<size_t>(&metodo - catalogo().data());
}

const char* textoInicial(std::string_view control) {
  for (const MetodoCatalogo& m : catalogo())
    for (const ControlMetodo& c : m.controles)
      if (control == c.nombre) return c.inicial;
  return "";
}

}  // namespace velarno
