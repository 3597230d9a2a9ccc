#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "image/superficie.h"
#include "methods/dialogos_guion.h"
#include "methods/entorno.h"

namespace velarno {

// A headless method context for tests, benchmarks and the command line: owns a trace and
// scripted dialogs, keeps the scroll bar value, and draws the binarized picture onto an
// optional surface. It notes how many trace lines were written when each box showed and at a
// publication, and can cancel a long run through its progress reports.
class EntornoSimple : public Entorno {
 public:
  // `imagen` must outlive the context; `respuestas` scripts the Yes/No prompts.
  explicit EntornoSimple(DatosImagen& imagen, std::string respuestas = "", int umbralInicial = 128);

  DatosImagen& imagen() override { return imagen_; }
  TrazaLista& traza() override { return cajas_.traza; }
  DialogosGuion& dialogos() override { return cajas_; }
  std::string texto(const std::string& control) const override;
  char separadorDecimal() const override { return separador_; }
  void publicar(int umbral) override;
  void dibujarBinarizada() override;
  // True for the first `avancesPermitidos` reports, then false (the user cancelled).
  bool progreso(double fraccion) override;

  // Input texts of the frame; a control never set reads as "".
  void setTexto(const std::string& control, std::string texto) { textos_[control] = texto; }
  void setSeparadorDecimal(char separador) { separador_ = separador; }
  // Where the binarized picture is drawn (none by default).
  void setBinarizada(Superficie* superficie) { binarizada_ = superficie; }
  // Progress reports answered true before the user cancels (all of them by default).
  void setAvancesPermitidos(int64_t avances) { avancesPermitidos_ = avances; }
  // With false, a publication sets the scroll bar and notes the threshold but neither
  // binarizes nor draws, so that a benchmark times the method alone (true by default).
  void setBinarizarAlPublicar(bool binarizar) { binarizarAlPublicar_ = binarizar; }

  // The scroll bar value, and the threshold published by the last run (if any).
  int umbral() const { return umbral_; }
  std::optional<int> umbralPublicado() const { return publicado_; }
  int publicaciones() const { return publicaciones_; }
  int dibujos() const { return dibujos_; }
  // Trace lines written when each box showed (in the order of dialogos().mensajes()) and at
  // the last publication.
  const std::vector<size_t>& lineasAlMostrar() const { return cajas_.lineas; }
  size_t lineasAlPublicar() const { return lineasAlPublicar_; }

 private:
  // The scripted boxes keep the trace, so that each box notes its length without pointing back
  // into the context.
  struct Cajas : DialogosGuion {
    using DialogosGuion::DialogosGuion;
    int preguntar(const std::string& titulo, const std::string& texto) override;
    int informar(const std::string& titulo, const std::string& texto, int estilo) override;
    TrazaLista traza;
    std::vector<size_t> lineas;
  };

  DatosImagen& imagen_;
  Cajas cajas_;
  std::map<std::string, std::string> textos_;
  char separador_ = '.';
  Superficie* binarizada_ = nullptr;
  int umbral_;
  std::optional<int> publicado_;
  int publicaciones_ = 0;
  int dibujos_ = 0;
  size_t lineasAlPublicar_ = 0;
  int64_t avances_ = 0;
  int64_t avancesPermitidos_ = std::numeric_limits<int64_t>::max();
  bool binarizarAlPublicar_ = true;
};

}  // namespace velarno
