#pragma once

#include <map>
#include <optional>
#include <string>

#include "image/superficie.h"
#include "methods/dialogos_guion.h"
#include "methods/entorno.h"

namespace velarno {

// A headless method context for tests and the command line: owns a trace and scripted
// dialogs, keeps the scroll bar value, and draws the binarized picture onto an optional surface.
class EntornoSimple : public Entorno {
 public:
  // `imagen` must outlive the context; `respuestas` scripts the Yes/No prompts.
  explicit EntornoSimple(DatosImagen& imagen, std::string respuestas = "", int umbralInicial = 128);

  DatosImagen& imagen() override { return imagen_; }
  TrazaLista& traza() override { return traza_; }
  DialogosGuion& dialogos() override { return dialogos_; }
  std::string texto(const std::string& control) const override;
  char separadorDecimal() const override { return separador_; }
  void publicar(int umbral) override;
  void dibujarBinarizada() override;

  // Input texts of the frame; a control never set reads as "".
  void setTexto(const std::string& control, std::string texto) { textos_[control] = texto; }
  void setSeparadorDecimal(char separador) { separador_ = separador; }
  // Where the binarized picture is drawn (none by default).
  void setBinarizada(Superficie* superficie) { binarizada_ = superficie; }

  // The scroll bar value, and the threshold published by the last run (if any).
  int umbral() const { return umbral_; }
  std::optional<int> umbralPublicado() const { return publicado_; }
  int publicaciones() const { return publicaciones_; }
  int dibujos() const { return dibujos_; }

 private:
  DatosImagen& imagen_;
  TrazaLista traza_;
  DialogosGuion dialogos_;
  std::map<std::string, std::string> textos_;
  char separador_ = '.';
  Superficie* binarizada_ = nullptr;
  int umbral_;
  std::optional<int> publicado_;
  int publicaciones_ = 0;
  int dibujos_ = 0;
};

}  // namespace velarno
