#include "methods/porcentaje.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "methods/dialogos_guion.h"
#include "methods/protocolo.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

std::string cabecera(const std::string& pct, const std::string& n, const std::string& objetivo) {
  return "Iniciando Algoritmo del pocentaje. Porcentaje (" + pct +
         ")\n===================================================\n\nNº de pixeles de la imagen: " +
         n + "\nPixeles dentro del umbral (" + pct + "/100*" + n + "): " + objetivo + "\n\n";
}

std::string cierre(int umbral) {
  return "Umbral encontrado: " + std::to_string(umbral) + "\nAlgoritmo Porcentaje finalizado.\n";
}

// 2.5 target pixels round half to even to 2. The target uses the typed 50.5, not the 50 it
// rounds to: 101 of 200 pixels; the header shows the text as typed. 100.4 passes the check (it
// rounds to 100) but asks for 201 of 200 pixels: the scan stops at the last level.
TEST(AlgoritmoPorcentaje, StraightRunWritesEightLinesAndPublishes) {
  std::tuple<DatosImagen, std::string, char, std::string, int> casos[] = {
      {imagenDesdeFilas({{10, 20, 30, 40}}), "50", '.', "2", 20},
      {imagenDesdeFilas({{0, 0, 0, 9}}), "75", '.', "3", 0},
      {imagenDesdeFilas({{10, 20, 30, 40, 50}}), "50", '.', "2", 20},
      {degradado(200, 1, 1, 0), " 50,5 ", ',', "101", 100},
      {degradado(200, 1, 1, 0), "100.4", '.', "201", 255}};
  for (auto& [imagen, tpct, separador, objetivo, umbral] : casos) {
    EntornoSimple e(imagen);
    e.setTexto("Tpct", tpct);
    e.setSeparadorDecimal(separador);
    bool paso = false;
    EXPECT_EQ(AlgoritmoPorcentaje(e, paso), Fin::Publicado);
    EXPECT_EQ(e.traza().texto(),
              cabecera(tpct, std::to_string(imagen.ancho), objetivo) + cierre(umbral));
    EXPECT_EQ(e.umbralPublicado(), umbral);
    EXPECT_TRUE(e.dialogos().mensajes().empty());
  }
}

// A text that is no number, or rounds outside 0..100 (or the 16-bit range), is refused with a
// box before the trace is touched.
TEST(AlgoritmoPorcentaje, RefusesWithABox) {
  const std::tuple<std::string, char, std::string> casos[] = {
      {"10.4", ',', "Introduzca un valor."},
      {"100.6", '.', "Porcentaje no válido."},
      {"-1", '.', "Porcentaje no válido."},
      {"40000", '.', "Porcentaje no válido."}};
  for (const auto& [tpct, separador, texto] : casos) {
    DatosImagen imagen = imagenDesdeFilas({{10, 20, 30, 40}});
    EntornoSimple e(imagen);
    e.traza().agregar("traza anterior");
    e.setTexto("Tpct", tpct);
    e.setSeparadorDecimal(separador);
    bool paso = true;
    EXPECT_EQ(AlgoritmoPorcentaje(e, paso), Fin::Rechazado);
    EXPECT_EQ(prueba::textoMensajes(e),
              "Porcentaje no válido|48|1|1|" + texto + "\\rDebe ser un número entre 0 y 100.\n");
    EXPECT_EQ(e.traza().texto(), "traza anterior\n");
    EXPECT_EQ(e.publicaciones(), 0);
  }
}

// 75 % of {1, 3, 3, 5}: a prompt at every level from 1 on, the empty level 2 included; No
// writes the cancel lines once and the scan goes on silently to the same threshold.
TEST(AlgoritmoPorcentaje, StepRunCancelledAtAnEmptyLevel) {
  DatosImagen imagen = imagenDesdeFilas({{1, 3, 3, 5}});
  EntornoSimple e(imagen, "SN");
  e.setTexto("Tpct", "75");
  bool paso = true;
  EXPECT_EQ(AlgoritmoPorcentaje(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.traza().texto(), cabecera("75", "4", "3") +
                                   "histograma (1): 1\nPixeles contados: 1\n\n"
                                   "histograma (2): 0\nPixeles contados: 1\n\n"
                                   "Ejecución paso a paso cancelado.\n\n" +
                                   cierre(3));
  const std::string seguir = "\\r\\n\\r\\n¿Seguir con la ejecución paso a paso?\n";
  EXPECT_EQ(prueba::textoMensajes(e),
            "Ejecución Paso a paso|4|6|9|histograma (1): 1\\r\\nPixeles contados: 1" + seguir +
                "Ejecución Paso a paso|4|7|12|histograma (2): 0\\r\\nPixeles contados: 1" + seguir);
  EXPECT_EQ(e.umbralPublicado(), 3);
}

// The check made as the percentage is typed in the window.
TEST(ValidarTpct, ShowsTheRightBoxOrNone) {
  const std::string noNumerico =
      "No esta introduciendo un valor válido\rAsegurese de estar introduciendo solo valores "
      "numéricos.";
  const std::string fuera =
      "No esta introduciendo un valor válido\rAsegurese de que está entre 0 y 100.";
  // Checked after rounding half to even: 100.5 is 100.
  const std::pair<std::string, std::string> casos[] = {
      {"abc", noNumerico}, {"50,5", ""},  {"0", ""},     {"100", ""},
      {"101", fuera},      {"-1", fuera}, {"100.5", ""}, {"40000", fuera}};
  for (const auto& [texto, caja] : casos) {
    const std::optional<Mensaje> mensaje = validarTpct(texto, texto == "50,5" ? ',' : '.');
    ASSERT_EQ(mensaje.has_value(), !caja.empty()) << texto;
    if (!mensaje) continue;
    EXPECT_EQ(mensaje->titulo, "Error en el porcentaje.");
    EXPECT_EQ(mensaje->estilo, kEstiloExclamacion);
    EXPECT_EQ(mensaje->texto, caja) << texto;
  }
}

}  // namespace
}  // namespace velarno
