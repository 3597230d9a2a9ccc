#pragma once

#include <optional>
#include <string>

#include "methods/dialogos_guion.h"

namespace velarno {

// Checks the text of Tpct as it is typed: not numeric, or rounding (half to even) outside
// 0..100 or outside the 16-bit range, gives the "Error en el porcentaje." box to show (style 48);
// a good text gives nothing. The text is never changed.
std::optional<Mensaje> validarTpct(const std::string& texto, char separador);

// The step prompt of every method: shows a Yes/No box and returns true when the answer is No,
// after setting `paso` to false.
bool pasoCancelado(class Dialogos& dialogos, const std::string& titulo, const std::string& texto,
                   bool& paso);

}  // namespace velarno
