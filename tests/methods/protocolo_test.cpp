#include "methods/protocolo.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "methods/dialogos_guion.h"

namespace velarno {
namespace {

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
