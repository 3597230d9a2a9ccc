#pragma once

#include <string_view>

namespace velarno {

// A typed input of a method frame and the text it shows when the window starts.
struct TextoInicial {
  const char* control;
  const char* texto;
};

// Every typed input of the method frames with its initial text: the percentages, the combo
// boxes' first items and the 3 x 3 Laplacian mask. The window, the command line's defaults and
// the comparison of methods all start from these.
inline constexpr TextoInicial kTextosIniciales[] = {
    {"Tpct", "50"},          {"CPct", "15"},
    {"PCTeDp", "85"},        {"CIterSelModo", "Rapido"},
    {"metodoYG", "ENTROPY"}, {"MetRelajacion", "Rosenfeld"},
    {"Mask(0)", "0"},        {"Mask(1)", "1"},
    {"Mask(2)", "0"},        {"Mask(3)", "1"},
    {"Mask(4)", "-4"},       {"Mask(5)", "1"},
    {"Mask(6)", "0"},        {"Mask(7)", "1"},
    {"Mask(8)", "0"},
};

// The initial text of a control; "" for a control that is not a typed input.
constexpr const char* textoInicial(std::string_view control) {
  for (const TextoInicial& t : kTextosIniciales)
    if (control == t.control) return t.texto;
  return "";
}

}  // namespace velarno
