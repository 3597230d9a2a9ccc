#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "dialogos_guion.h"
#include "entorno.h"
#include "traza.h"

namespace velarno {

// A method context for the spatial methods' tests: scripted dialogs, typed texts, and a copy
// of the negro plane taken at every drawing of the binarized picture. `progreso` answers true
// for its first `avancesPermitidos` calls, then false (the user cancelled).
class EntornoEspacial : public Entorno {
 public:
  explicit EntornoEspacial(DatosImagen& imagen, std::string respuestas = "")
      : imagen_(imagen), dialogos_(std::move(respuestas)) {}

  DatosImagen& imagen() override { return imagen_; }
  TrazaLista& traza() override { return traza_; }
  DialogosGuion& dialogos() override { return dialogos_; }
  std::string texto(const std::string& control) const override {
    const auto it = textos_.find(control);
    return it == textos_.end() ? std::string() : it->second;
  }
  char separadorDecimal() const override { return separador_; }
  void publicar(int) override { ++publicaciones; }
  void dibujarBinarizada() override {
    ++dibujos;
    const uint8_t* plano = imagen_.pixeles.planoNegro();
    dibujo.assign(plano, plano + imagen_.pixeles.cantidad());
  }
  bool progreso(double) override { return ++avances <= avancesPermitidos; }

  void setTexto(const std::string& control, std::string valor) { textos_[control] = valor; }
  void setSeparadorDecimal(char separador) { separador_ = separador; }

  int publicaciones = 0;
  int dibujos = 0;
  std::vector<uint8_t> dibujo;  // the negro plane as last drawn
  int64_t avances = 0;
  int64_t avancesPermitidos = std::numeric_limits<int64_t>::max();

 private:
  DatosImagen& imagen_;
  TrazaLista traza_;
  DialogosGuion dialogos_;
  std::map<std::string, std::string> textos_;
  char separador_ = '.';
};

// The negro plane of a record.
inline std::vector<uint8_t> planoNegro(const DatosImagen& imagen) {
  const uint8_t* plano = imagen.pixeles.planoNegro();
  return std::vector<uint8_t>(plano, plano + imagen.pixeles.cantidad());
}

inline std::vector<uint8_t> planoGris(const DatosImagen& imagen) {
  const uint8_t* plano = imagen.pixeles.planoGris();
  return std::vector<uint8_t>(plano, plano + imagen.pixeles.cantidad());
}

// Every box as one text per line: title|style|answer|text (carriage returns shown as \r).
inline std::string textoMensajes(const DialogosGuion& dialogos) {
  std::string todo;
  for (const Mensaje& m : dialogos.mensajes()) {
    std::string texto;
    for (char c : m.texto) texto += c == '\r' ? std::string("\\r") : std::string(1, c);
    todo += m.titulo + "|" + std::to_string(m.estilo) + "|" + std::to_string(m.respuesta) + "|" +
            texto + "\n";
  }
  return todo;
}

}  // namespace velarno
