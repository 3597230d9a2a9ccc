#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dialogos_guion.h"
#include "entorno.h"
#include "traza.h"

namespace velarno {
namespace prueba {

// A method context that records everything a run does: its trace, its boxes (with the number
// of trace lines written when each showed) and its publications (likewise), without
// binarizing. Input texts are set in `textos`.
class EntornoRegistro : public Entorno {
 public:
  explicit EntornoRegistro(DatosImagen imagen, std::string respuestas = "")
      : imagen_(std::move(imagen)), cajas_(std::move(respuestas), lista) {}

  DatosImagen& imagen() override { return imagen_; }
  Traza& traza() override { return lista; }
  Dialogos& dialogos() override { return cajas_; }
  std::string texto(const std::string& control) const override {
    const auto encontrado = textos.find(control);
    return encontrado == textos.end() ? std::string() : encontrado->second;
  }
  char separadorDecimal() const override { return separador; }
  void publicar(int umbral) override {
    publicados.push_back(umbral);
    lineasAlPublicar.push_back(lista.lineas().size());
  }
  void dibujarBinarizada() override { ++dibujos; }

  const std::vector<Mensaje>& mensajes() const { return cajas_.mensajes(); }
  const std::vector<size_t>& lineasAlMostrar() const { return cajas_.lineasAlMostrar; }

  TrazaLista lista;
  std::map<std::string, std::string> textos;
  char separador = '.';
  std::vector<int> publicados;
  std::vector<size_t> lineasAlPublicar;
  int dibujos = 0;

 private:
  class Cajas : public Dialogos {
   public:
    Cajas(std::string respuestas, const TrazaLista& traza)
        : guion_(std::move(respuestas)), traza_(traza) {}
    int preguntar(const std::string& titulo, const std::string& texto) override {
      lineasAlMostrar.push_back(traza_.lineas().size());
      return guion_.preguntar(titulo, texto);
    }
    int informar(const std::string& titulo, const std::string& texto, int estilo) override {
      lineasAlMostrar.push_back(traza_.lineas().size());
      return guion_.informar(titulo, texto, estilo);
    }
    const std::vector<Mensaje>& mensajes() const { return guion_.mensajes(); }
    std::vector<size_t> lineasAlMostrar;

   private:
    DialogosGuion guion_;
    const TrazaLista& traza_;
  };

  DatosImagen imagen_;
  Cajas cajas_;
};

// Lines joined as a trace's text: each followed by '\n'.
inline std::string unir(const std::vector<std::string>& lineas) {
  std::string todo;
  for (const std::string& linea : lineas) todo += linea + "\n";
  return todo;
}

// A record whose stored histogram is given directly (the histogram methods read nothing
// else); `ancho` x `alto` must be its total.
inline DatosImagen imagenDeHistograma(int32_t ancho, int32_t alto,
                                      const std::map<int, int64_t>& cuentas) {
  DatosImagen imagen;
  imagen.ancho = ancho;
  imagen.alto = alto;
  for (const auto& [nivel, cuenta] : cuentas)
    imagen.histograma[static_cast<size_t>(nivel)] = cuenta;
  return imagen;
}

}  // namespace prueba
}  // namespace velarno
