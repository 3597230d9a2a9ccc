#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/catalogo.h"
#include "app/evaluacion.h"
#include "image/superficie.h"
#include "image/tipos.h"
#include "methods/dialogos.h"

namespace velarno {

// Where the fixed workflow stands: no picture; a picture loaded and sized (grey conversion
// due); its grey levels read (histogram due); open with its histogram; equalized once.
enum class Etapa { SinImagen, Cargada, Grises, Abierta, Ecualizada };

// Which commands are enabled, and the binarized-view switch: the one answer every front end
// sets its Enabled and Checked flags from.
struct Habilitados {
  bool grises = false;             // "Escala de grises", tool bar button 1
  bool histograma = false;         // "Histograma", button 2
  bool ecualizar = false;          // "Ecualizar el histograma", button 3
  bool binarizar = false;          // "Binarizar paso a paso" and button 4
  bool vistaBinarizada = false;    // the switch: the entry checked, button 4 latched down
  bool estadisticas = false;       // "Estadísticas", button 5: nothing ever enables it
  bool umbral = false;             // the threshold scroll bar
  bool comparar = false;           // "Comparar métodos"
  bool evaluar = false;            // "Evaluar con referencia..."
  bool guardarGris = false;        // a grey picture is drawn
  bool guardarBinarizada = false;  // a binarized picture is drawn
};

// A reference binarization the results are scored against: its file name, size and class
// plane (1 where its grey level is below kUmbralReferencia).
struct Referencia {
  std::string nombre;
  int32_t ancho = 0;
  int32_t alto = 0;
  std::vector<uint8_t> clase;
};

// The image record, the threshold and the workflow of one window (or one command-line call):
// opening a picture into the record, equalization, binarization with the threshold, and runs
// of the catalogue's methods with cancel and restore. Draws on the front end's surfaces for
// the grey and the binarized picture; the front end shows them and sets its controls from
// habilitados().
class EspacioTrabajo {
 public:
  // Both surfaces must outlive the workspace.
  EspacioTrabajo(Superficie& gris, Superficie& binarizada);

  DatosImagen& datos() { return datos_; }
  const DatosImagen& datos() const { return datos_; }
  Etapa etapa() const { return etapa_; }
  // The threshold scroll bar's value (128 at first; opening another picture keeps it).
  int umbral() const { return umbral_; }
  void fijarUmbral(int umbral) { umbral_ = umbral; }
  Habilitados habilitados() const;

  // The no-image state: the switch off, nothing drawn. The record keeps its pixels until the
  // next picture is sized.
  void inicializar();
  // The open pipeline, in the steps the window runs between its yields: size the record from
  // the loaded picture (every flag white); read its grey levels; draw the grey picture;
  // count the histogram. abrir() does them all.
  void dimensionar(const Superficie& cargada);
  void leerGrises(const Superficie& cargada);
  void dibujarGris();
  void calcularHistograma();
  void abrir(const Superficie& cargada);
  // The first two steps done by the front end's own reader, which sized the record and wrote
  // its grey levels (every negro false) as dimensionar and leerGrises would have.
  void grisesLeidos() { etapa_ = Etapa::Grises; }
  // Equalizes once per opened picture, redraws the grey picture and recounts the histogram.
  void ecualizar();
  // Binarizes with the threshold and draws the binarized picture (aplicarUmbral).
  void aplicarUmbral();
  // Draws the record's black/white flags as they are (a method's own result).
  void dibujarBinarizada();
  // Switches the binarized view: on, binarizes and draws; off, clears the binarized picture.
  void alternarVistaBinarizada();
  // "Binarizar paso a paso" with the threshold: `alDibujar` runs after every drawing.
  void binarizarPasoAPaso(Dialogos& dialogos, const std::function<void()>& alDibujar);

  // How a front end keeps and gives back the binarized picture around a cancellable run.
  struct Instantanea {
    std::function<void()> guardar;
    std::function<void()> restaurar;
  };
  // Runs a catalogue row in `entorno` (whose record must be this one), straight or step by
  // step; the manual threshold binarizes as aplicarUmbral or binarizarPasoAPaso does. A
  // straight run of a method that draws its own result keeps the black/white flags (and, with
  // `dibujo`, the picture) and gives them back when it ends Cancelado.
  Fin ejecutar(const MetodoCatalogo& metodo, Entorno& entorno, bool paso,
               const Instantanea* dibujo = nullptr);

  // Takes `cargada` (a loaded picture) as the reference, or returns why not: a picture is open
  // and the reference's size differs. The reference stays for the pictures opened later.
  std::string fijarReferencia(const Superficie& cargada, std::string nombre);
  // The reference, shared with the comparison's worker; null when there is none.
  const std::shared_ptr<const Referencia>& referencia() const { return referencia_; }

 private:
  Superficie& gris_;
  Superficie& binarizada_;
  DatosImagen datos_;
  Etapa etapa_ = Etapa::SinImagen;
  int umbral_ = 128;
  bool vistaBinarizada_ = false;
  bool grisDibujado_ = false;
  bool binarizadaDibujada_ = false;
  std::shared_ptr<const Referencia> referencia_;
};

// Scores a drawn binarized picture (black where a byte of its `paso`-byte rows is 0) against
// the reference, or gives the message why it cannot: the sizes differ.
ResultadoEvaluacion evaluarContra(const Referencia& referencia, const uint8_t* filas, size_t paso,
                                  int32_t ancho, int32_t alto);

}  // namespace velarno
