#include "methods/iter_sel.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "methods/numeros.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::textoMensajes;

const std::string kRapido = "Iniciando Iterative Selection";
const std::string kNormal = "Iniciando Iterative Selection (Normal)";

std::string cabecera(const std::string& titulo, const std::string& media) {
  return titulo + "\n" + std::string(titulo.size(), '=') + "\n\nNivel de gris medio: " + media +
         "\n\n";
}

std::string cierre(int umbral) {
  return "\nUmbral encontrado: " + std::to_string(umbral) + "\n\nIterative Selection Finalizado.\n";
}

// Only the mode text "Rapido" exactly selects the fast mode, which iterates on whole
// thresholds, the threshold level dark; otherwise the normal mode iterates on fractional ones,
// the level light. One level: 100, then 50 (an empty class contributes 0). Rapido on 10, 20,
// 30: 30/4 + 30/2 = 22.5 -> 22, which repeats; Normal: (10 + 25) / 2 = 17.5, which repeats,
// rounded to 18. Mean 2.5: Rapido starts from 2 (half to even), Normal from 2.5.
TEST(ejecutarIterSel, StraightRunsOfBothModes) {
  const std::tuple<std::vector<std::vector<int>>, std::string, int, std::string, int, const char*>
      casos[] = {{{{100, 100, 100}}, "100", 50, "100", 50, "rapido"},
                 {{{10, 20, 30}}, "20", 22, "20", 18, "Rapido "},
                 {{{0, 5}}, "2", 2, "2.5", 2, "Normal"}};
  for (const auto& [filas, mediaRapido, rapido, mediaNormal, normal, otroModo] : casos) {
    DatosImagen imagen = imagenDesdeFilas(filas);
    EntornoSimple e(imagen);
    e.setTexto("CIterSelModo", "Rapido");
    bool paso = false;
    EXPECT_EQ(ejecutarIterSel(e, paso), Fin::Publicado);
    EXPECT_EQ(e.traza().texto(), cabecera(kRapido, mediaRapido) + cierre(rapido));
    EXPECT_EQ(e.umbralPublicado(), rapido);
    e.setTexto("CIterSelModo", otroModo);
    EXPECT_EQ(ejecutarIterSel(e, paso), Fin::Publicado);
    EXPECT_EQ(e.traza().texto(), cabecera(kNormal, mediaNormal) + cierre(normal));
    EXPECT_EQ(e.umbralPublicado(), normal);
  }
}

// Three lines and a prompt per pass, with the doubled counts (an empty class counted as 1);
// No writes no cancel line and the iteration goes on silently to the same threshold.
TEST(AlgoritmoIterSel, StepRunWritesEveryPassWithDoubledCounts) {
  DatosImagen imagen = imagenUniforme(3, 2, 100);
  EntornoSimple e(imagen, "SN");
  bool paso = true;
  EXPECT_EQ(AlgoritmoIterSel(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.traza().texto(), cabecera(kRapido, "100") +
                                   "Evaluando umbral: 50( 600/12 + 0/1)\nUmbral anterior: 100\n\n"
                                   "Evaluando umbral: 50( 0/1 + 600/12)\nUmbral anterior: 50\n\n" +
                                   cierre(50));
  EXPECT_EQ(textoMensajes(e),
            "Paso a paso|4|6|8|Evaluando umbral: 50\\rumbral anterior: 100\\r\\r¿Continuar paso a "
            "paso?\nPaso a paso|4|7|11|Evaluando umbral: 50\\rumbral anterior: 50\\r\\r¿Continuar "
            "paso a paso?\n");
  EXPECT_EQ(e.umbralPublicado(), 50);
}

// Levels 1 and 2 make the whole-number iteration cycle: 2, 1, 2, ... The run stops after the
// bound, says so, and publishes the last threshold. The normal mode never cycles (its threshold
// only moves one way): its bound is checked with one pass on a picture that needs two.
TEST(AlgoritmoIterSel, BoundStopsTheIteration) {
  DatosImagen ciclo = imagenDesdeFilas({{1, 2}});
  EntornoSimple e(ciclo);
  bool paso = false;
  EXPECT_EQ(AlgoritmoIterSel(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), cabecera(kRapido, "2") +
                                   "La iteración no converge: se detiene tras 1000 pasadas.\n" +
                                   cierre(2));
  EXPECT_EQ(e.umbralPublicado(), 2);
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30}});
  EntornoSimple normal(imagen);
  EXPECT_EQ(iterSelNormalHasta(normal, paso, 1), Fin::Publicado);
  EXPECT_EQ(normal.traza().texto(), cabecera(kNormal, "20") +
                                        "La iteración no converge: se detiene tras 1 pasadas.\n" +
                                        cierre(18));
}

// The normal mode as written: class sums added pixel by pixel in Double, row by row. Returns
// the trace of a step run answered Yes throughout.
std::string normalLiteral(const DatosImagen& imagen, char sep) {
  std::string traza = kNormal + "\n" + std::string(38, '=') + "\n\n";
  const int64_t n = int64_t{imagen.ancho} * imagen.alto;
  double suma = 0;
  for (int32_t i = 0; i < imagen.alto; ++i)
    for (int32_t j = 0; j < imagen.ancho; ++j) suma += imagen.pixeles.gris(j, i);
  double t = suma / static_cast<double>(n);
  traza += "Nivel de gris medio: " + textoDouble(t, sep) + "\n\n";
  for (int pasadas = 0; pasadas < kMaxPasadasIterSel; ++pasadas) {
    double sa = 0, sb = 0;
    int64_t ca = 0, cb = 0;
    for (int32_t i = 0; i < imagen.alto; ++i)
      for (int32_t j = 0; j < imagen.ancho; ++j) {
        const int g = imagen.pixeles.gris(j, i);
        (g < t ? sa : sb) += g;
        ++(g < t ? ca : cb);
      }
    if (cb == 0) cb = 1;
    if (ca == 0) ca = 1;
    const double nuevo = (sa / static_cast<double>(ca) + sb / static_cast<double>(cb)) / 2;
    traza += "Evaluando umbral: " + textoDouble(nuevo, sep) + " (" + textoDouble(sa, sep) + "/" +
             textoEntero(ca) + " + " + textoDouble(sb, sep) + "/" + textoEntero(cb) +
             ")\nUmbral anterior: " + textoDouble(t, sep) + "\n\n";
    const bool igual = nuevo == t;
    t = nuevo;
    if (igual) break;
  }
  return traza + cierre(static_cast<int>(redondear(t)));
}

TEST(algoritmoIterSelNormal, SameTraceAsPixelByPixelSums) {
  for (const DatosImagen& imagen :
       {imagenAleatoria(61, 47, 1), imagenAleatoria(13, 211, 2, 100, 104), degradado(90, 60, 2, 1)})
    for (char sep : {'.', ','}) {
      DatosImagen copia = imagen;
      EntornoSimple e(copia, std::string(kMaxPasadasIterSel, 'S'));
      e.setSeparadorDecimal(sep);
      bool paso = true;
      algoritmoIterSelNormal(e, paso);
      EXPECT_EQ(e.traza().texto(), normalLiteral(imagen, sep));
    }
}

}  // namespace
}  // namespace velarno
