// Every text the user can type into a method's frame has a defined outcome: the method runs
// (and publishes a threshold 0..255 or draws), or refuses with one exclamation box before
// touching its trace. Hostile texts and a seeded random sweep, on a small picture.
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "methods/edge_pixels.h"
#include "methods/entorno_simple.h"
#include "methods/fuzzy.h"
#include "methods/iter_sel.h"
#include "methods/moving_averages.h"
#include "methods/numeros.h"
#include "methods/porcentaje.h"
#include "methods/protocolo.h"
#include "methods/relajacion.h"
#include "methods/textos_iniciales.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

const std::vector<std::string> kHostiles = {
    "",
    " ",
    "  50  ",
    "nan",
    "NaN",
    "inf",
    "-inf",
    "1e308",
    "-1e308",
    "1e309",
    "-1e309",
    "1e-400",
    "1e99999999999999999999",
    "\t5",
    "5\n",
    "\x01",
    "5\x7f",
    "５０",
    "٣",
    "50%",
    "0x10",
    "1,000",
    "1.5.5",
    "+",
    "-",
    ".",
    "e5",
    "5e",
    "5e+",
    "--5",
    "+-5",
    "\xff\xfe",
    "ñ",
    "😀",
    "50,5",
    "50.5",
    ".5",
    "5.",
    "-0",
    "-0.5",
    "100.5",
    "100.50001",
    "32767",
    "32768",
    "-32769",
    "1e4",
    "1E2",
    "1e+2",
    "-1e2",
    "0000000050",
    std::string(400, '9'),
    std::string(400, '0') + "7",
    "0." + std::string(400, '0') + "1e400",
};

DatosImagen imagen() { return imagenAleatoria(12, 9, 7); }

// Runs one method with one control's text and checks the outcome is one of the defined ones.
void comprobar(Fin (*metodo)(Entorno&, bool&), const std::string& control, const std::string& texto,
               char separador, bool paso) {
  DatosImagen datos = imagen();
  EntornoSimple e(datos, "SNSN");
  e.setSeparadorDecimal(separador);
  for (const TextoInicial& t : kTextosIniciales) e.setTexto(t.control, t.texto);
  e.setTexto(control, texto);
  bool p = paso;
  const Fin fin = metodo(e, p);
  SCOPED_TRACE(control + " = \"" + texto + "\"");
  // No number shown is infinite or undefined (a typed text shown as typed aside).
  const auto noFinito = [](const std::string& s) {
    return s.find("inf") != std::string::npos || s.find("nan") != std::string::npos;
  };
  if (!noFinito(texto)) {
    for (const std::string& linea : e.traza().lineas()) EXPECT_FALSE(noFinito(linea)) << linea;
    for (const Mensaje& m : e.dialogos().mensajes()) EXPECT_FALSE(noFinito(m.texto)) << m.texto;
  }
  if (fin == Fin::Rechazado) {
    EXPECT_TRUE(e.traza().lineas().empty());
    ASSERT_EQ(e.dialogos().mensajes().size(), 1u);
    EXPECT_EQ(e.dialogos().mensajes()[0].estilo, kEstiloExclamacion);
    EXPECT_FALSE(e.umbralPublicado().has_value());
    return;
  }
  EXPECT_FALSE(e.traza().lineas().empty());
  if (e.umbralPublicado()) {
    EXPECT_GE(*e.umbralPublicado(), 0);
    EXPECT_LE(*e.umbralPublicado(), 255);
  }
  // A number of ordinary size is never refused by the methods that accept any number; only
  // those too large for what the method computes are (past about 7E+305 for CPct).
  const std::optional<double> valor = aDouble(texto, separador);
  if (control == "CPct" && valor && std::fabs(*valor) < 1e305) {
    EXPECT_NE(fin, Fin::Rechazado);
  }
}

Fin relajacion(Entorno& e, bool&) { return AlgoritmoRelajacion(e); }

struct Entrada {
  const char* control;
  Fin (*metodo)(Entorno&, bool&);
};

const Entrada kEntradas[] = {
    {"Tpct", AlgoritmoPorcentaje},         {"CIterSelModo", ejecutarIterSel},
    {"metodoYG", AlgoritmoFuzzy},          {"PCTeDp", AlgoritmoUsingEdgePixels},
    {"Mask(0)", AlgoritmoUsingEdgePixels}, {"Mask(4)", AlgoritmoUsingEdgePixels},
    {"Mask(8)", AlgoritmoUsingEdgePixels}, {"CPct", AlgoritmoThrdd},
    {"MetRelajacion", relajacion},
};

TEST(EntradasTecleadas, HostileTextsHaveADefinedOutcome) {
  for (const Entrada& entrada : kEntradas)
    for (const std::string& texto : kHostiles)
      for (char separador : {'.', ','}) {
        comprobar(entrada.metodo, entrada.control, texto, separador, false);
        comprobar(entrada.metodo, entrada.control, texto, separador, true);
      }
}

TEST(EntradasTecleadas, SeededRandomSweep) {
  std::mt19937 azar(20261206);
  const std::string alfabeto = "0123456789+-.,eE xX%\t\n\x01\x7f";
  const std::vector<std::string> extras = {"ñ", "é", "５", "\xff", "\xc3", "inf", "nan"};
  for (int i = 0; i < 3000; ++i) {
    std::string texto;
    const int largo = std::uniform_int_distribution<int>(0, 12)(azar);
    for (int k = 0; k < largo; ++k) {
      if (azar() % 10 == 0) {
        texto += extras[azar() % extras.size()];
      } else {
        texto += alfabeto[azar() % alfabeto.size()];
      }
    }
    const Entrada& entrada = kEntradas[azar() % std::size(kEntradas)];
    comprobar(entrada.metodo, entrada.control, texto, azar() % 2 ? '.' : ',', false);
  }
}

TEST(EntradasTecleadas, TpctTypingCheckAnswersEveryText) {
  for (const std::string& texto : kHostiles)
    for (char separador : {'.', ','}) {
      const std::optional<Mensaje> caja = validarTpct(texto, separador);
      const std::optional<int16_t> valor = aEntero16(texto, separador);
      const bool valido = valor && *valor >= 0 && *valor <= 100;
      EXPECT_EQ(!caja.has_value(), valido) << texto;
      if (caja) {
        EXPECT_EQ(caja->estilo, kEstiloExclamacion);
      }
    }
}

}  // namespace
}  // namespace velarno
