#pragma once

#include <string>

namespace velarno {

// Message box styles: OK without icon, Yes/No without icon, exclamation (OK), information (OK).
inline constexpr int kEstiloSimple = 0;
inline constexpr int kEstiloSiNo = 4;
inline constexpr int kEstiloExclamacion = 48;
inline constexpr int kEstiloInformacion = 64;
// Answers: OK, Yes, No.
inline constexpr int kAceptar = 1;
inline constexpr int kSi = 6;
inline constexpr int kNo = 7;

// Message boxes: QMessageBox in the window, a scripted recorder in tests and the command line.
// Texts keep their carriage returns ("\r", or "\r\n" where a text says so); an empty title
// means the application's own title, "Velarno".
class Dialogos {
 public:
  virtual ~Dialogos() = default;
  // Yes/No box without icon (style 4); returns kSi or kNo.
  virtual int preguntar(const std::string& titulo, const std::string& texto) = 0;
  // OK-only box with the given style (0, 48 or 64); returns kAceptar.
  virtual int informar(const std::string& titulo, const std::string& texto, int estilo) = 0;
};

}  // namespace velarno
