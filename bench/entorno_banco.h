#pragma once

#include <map>
#include <string>

#include "methods/dialogos_guion.h"
#include "methods/entorno.h"

namespace velarno {

// A method context for the benchmarks: records the published threshold instead of binarizing
// with it, so a figure is the method's own time.
class EntornoBanco : public Entorno {
 public:
  explicit EntornoBanco(DatosImagen& imagen) : imagen_(imagen) {}
  DatosImagen& imagen() override { return imagen_; }
  TrazaLista& traza() override { return traza_; }
  Dialogos& dialogos() override { return dialogos_; }
  std::string texto(const std::string& control) const override {
    const auto encontrado = textos.find(control);
    return encontrado == textos.end() ? std::string() : encontrado->second;
  }
  char separadorDecimal() const override { return '.'; }
  void publicar(int umbral) override { publicado = umbral; }
  void dibujarBinarizada() override {}

  std::map<std::string, std::string> textos;
  int publicado = -1;

 private:
  DatosImagen& imagen_;
  TrazaLista traza_;
  DialogosGuion dialogos_;
};

}  // namespace velarno
