#pragma once

#include <string>
#include <vector>

#include "methods/dialogos.h"

namespace velarno {

// One message box as it was shown: title, text, style, answer.
struct Mensaje {
  std::string titulo;
  std::string texto;
  int estilo = 0;
  int respuesta = 0;
};

// Scripted message boxes for tests and the command line: records every box as it is shown (a
// box without a title of its own with "Velarno") and answers Yes/No prompts from a list of
// letters (S or s = Yes, N or n = No); once the list is used up every prompt is answered No.
// OK-only boxes take no letter and answer kAceptar.
class DialogosGuion : public Dialogos {
 public:
  explicit DialogosGuion(std::string respuestas = "") : respuestas_(std::move(respuestas)) {}

  int preguntar(const std::string& titulo, const std::string& texto) override;
  int informar(const std::string& titulo, const std::string& texto, int estilo) override;

  const std::vector<Mensaje>& mensajes() const { return mensajes_; }

 private:
  std::string respuestas_;
  size_t siguiente_ = 0;
  std::vector<Mensaje> mensajes_;
};

}  // namespace velarno
