#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "image/tipos.h"
#include "methods/dialogos_guion.h"
#include "methods/entorno.h"
#include "methods/traza.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace prueba {

// The negro and grey planes of a record.
inline std::vector<uint8_t> planoNegro(const DatosImagen& imagen) {
  const uint8_t* plano = imagen.pixeles.planoNegro();
  return std::vector<uint8_t>(plano, plano + imagen.pixeles.cantidad());
}
inline std::vector<uint8_t> planoGris(const DatosImagen& imagen) {
  const uint8_t* plano = imagen.pixeles.planoGris();
  return std::vector<uint8_t>(plano, plano + imagen.pixeles.cantidad());
}

// A method context that records everything a run does, without binarizing: its trace, its
// boxes (scripted Yes/No answers, with the number of trace lines written when each showed),
// its publications (likewise), its drawings of the binarized picture and its progress calls.
// Built on a named record it works on that record in place (the record must outlive it);
// built on a temporary or a const record it keeps a record of its own. Tests that need the scroll
// bar and the binarization of a publication use EntornoSimple instead.
class EntornoPrueba : public Entorno {
 public:
  explicit EntornoPrueba(DatosImagen& imagen, std::string respuestas = "")
      : externa_(&imagen), cajas_(std::move(respuestas)) {}
  explicit EntornoPrueba(DatosImagen&& imagen, std::string respuestas = "")
      : propia_(std::move(imagen)), cajas_(std::move(respuestas)) {}
  explicit EntornoPrueba(const DatosImagen& imagen, std::string respuestas = "")
      : propia_(imagen), cajas_(std::move(respuestas)) {}

  DatosImagen& imagen() override { return propia_ ? *propia_ : *externa_; }
  TrazaLista& traza() override { return cajas_.traza; }
  Dialogos& dialogos() override { return cajas_; }
  std::string texto(const std::string& control) const override {
    const auto encontrado = textos_.find(control);
    return encontrado == textos_.end() ? std::string() : encontrado->second;
  }
  char separadorDecimal() const override { return separador_; }
  void publicar(int umbral) override {
    publicados.push_back(umbral);
    lineasAlPublicar.push_back(cajas_.traza.lineas().size());
  }
  void dibujarBinarizada() override {
    ++dibujos;
    if (copiarDibujo) dibujo = planoNegro(imagen());
  }
  // True for the first `avancesPermitidos` calls, then false (the user cancelled).
  bool progreso(double) override { return ++avances <= avancesPermitidos; }

  // Input texts of the frame; a control never set reads as "".
  void setTexto(const std::string& control, std::string valor) {
    textos_[control] = std::move(valor);
  }
  void setSeparadorDecimal(char separador) { separador_ = separador; }

  // Every box shown, and the number of trace lines written when each showed.
  const std::vector<Mensaje>& mensajes() const { return cajas_.guion.mensajes(); }
  const std::vector<size_t>& lineasAlMostrar() const { return cajas_.lineasAlMostrar; }

  std::vector<int> publicados;
  std::vector<size_t> lineasAlPublicar;  // trace lines written at each publication
  int dibujos = 0;
  bool copiarDibujo = false;    // when set, each drawing copies the negro plane into `dibujo`
  std::vector<uint8_t> dibujo;  // the negro plane as last drawn
  int64_t avances = 0;
  int64_t avancesPermitidos = std::numeric_limits<int64_t>::max();

 private:
  // The boxes keep the trace, so that each box notes its length without pointing back into
  // the context (which stays freely copyable and movable).
  struct Cajas : Dialogos {
    explicit Cajas(std::string respuestas) : guion(std::move(respuestas)) {}
    int preguntar(const std::string& titulo, const std::string& texto) override {
      lineasAlMostrar.push_back(traza.lineas().size());
      return guion.preguntar(titulo, texto);
    }
    int informar(const std::string& titulo, const std::string& texto, int estilo) override {
      lineasAlMostrar.push_back(traza.lineas().size());
      return guion.informar(titulo, texto, estilo);
    }
    TrazaLista traza;
    DialogosGuion guion;
    std::vector<size_t> lineasAlMostrar;
  };

  std::optional<DatosImagen> propia_;
  DatosImagen* externa_ = nullptr;
  Cajas cajas_;
  std::map<std::string, std::string> textos_;
  char separador_ = '.';
};

// Lines joined as a trace's text: each followed by '\n'.
inline std::string unir(const std::vector<std::string>& lineas) {
  std::string todo;
  for (const std::string& linea : lineas) todo += linea + "\n";
  return todo;
}

// The lines of `a` followed by those of `b`.
inline std::vector<std::string> mas(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Every box as one text per line: title|style|answer|text (carriage returns shown as \r).
inline std::string textoMensajes(const std::vector<Mensaje>& mensajes) {
  std::string todo;
  for (const Mensaje& m : mensajes) {
    std::string texto;
    for (char c : m.texto) texto += c == '\r' ? std::string("\\r") : std::string(1, c);
    todo += m.titulo + "|" + std::to_string(m.estilo) + "|" + std::to_string(m.respuesta) + "|" +
            texto + "\n";
  }
  return todo;
}

// A record whose stored histogram is given directly, without pixels (the histogram methods
// read nothing else); `ancho` x `alto` must be its total.
inline DatosImagen imagenDeHistograma(int32_t ancho, int32_t alto,
                                      const std::map<int, int64_t>& cuentas) {
  DatosImagen imagen;
  imagen.ancho = ancho;
  imagen.alto = alto;
  for (const auto& [nivel, cuenta] : cuentas)
    imagen.histograma[static_cast<size_t>(nivel)] = cuenta;
  return imagen;
}

// A one-row picture holding `cuenta` pixels of each level `nivel` in `cuentas`, left to right
// by level.
inline DatosImagen imagenDeCuentas(const std::map<int, int>& cuentas) {
  std::vector<int> fila;
  for (const auto& [nivel, cuenta] : cuentas)
    fila.insert(fila.end(), static_cast<size_t>(cuenta), nivel);
  return imagenDesdeFilas({fila});
}

// A large record of one level with its histogram, filled directly (building it from rows is
// slow at this size); every negro flag set to `negro`.
inline DatosImagen imagenLlena(int32_t ancho, int32_t alto, uint8_t gris, bool negro = false) {
  DatosImagen imagen;
  imagen.ancho = ancho;
  imagen.alto = alto;
  imagen.pixeles = Pixeles(ancho, alto);
  std::fill_n(imagen.pixeles.planoGris(), imagen.pixeles.cantidad(), gris);
  std::fill_n(imagen.pixeles.planoNegro(), imagen.pixeles.cantidad(),
              static_cast<uint8_t>(negro ? 1 : 0));
  imagen.histograma.fill(0);
  imagen.histograma[gris] = static_cast<int64_t>(imagen.pixeles.cantidad());
  imagen.maxHistograma = imagen.histograma[gris];
  return imagen;
}

// A smooth ramp: level (x * pasoX + y * pasoY) mod 256 at column x, row y.
inline DatosImagen degradado(int ancho, int alto, int pasoX, int pasoY) {
  DatosImagen imagen;
  imagen.ancho = ancho;
  imagen.alto = alto;
  imagen.pixeles = Pixeles(ancho, alto);
  for (int y = 0; y < alto; ++y)
    for (int x = 0; x < ancho; ++x) {
      const uint8_t g = static_cast<uint8_t>((x * pasoX + y * pasoY) % 256);
      imagen.pixeles.setGris(x, y, g);
      if (++imagen.histograma[g] > imagen.maxHistograma)
        imagen.maxHistograma = imagen.histograma[g];
    }
  return imagen;
}

}  // namespace prueba
}  // namespace velarno
