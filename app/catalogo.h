#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "methods/entorno.h"

namespace velarno {

// How a typed input of a method frame is shown: a text box (optionally with a label), the
// percentage box with its scroll bar 0..100 that re-runs the method, an editable list with its
// items, or one cell of the 3 x 3 mask of text boxes Mask(0)..Mask(8).
enum class TipoControl { Texto, PorcentajeConBarra, Lista, Celda };

// One typed input of a method frame: its control name (the name the method reads it by), its
// initial text, how it is shown and, where it has one, its label (control name and caption).
struct ControlMetodo {
  const char* nombre;
  const char* inicial;
  TipoControl tipo;
  const char* etiqueta = nullptr;
  const char* nombreEtiqueta = nullptr;
  std::vector<const char*> elementos = {};
  bool introEjecuta = false;  // Enter in the box runs the method as its Run button
};

// A command-line option that fills controls of the method; --mascara fills nine from its
// comma-separated list.
struct OpcionMetodo {
  const char* opcion;
  std::vector<const char*> controles;
};

// A tile of "Comparar métodos": its caption and the texts it gives controls beside their
// initial ones.
struct MosaicoMetodo {
  const char* nombre;
  std::vector<std::pair<const char*, const char*>> textos = {};
};

// One row of the catalogue: everything the window, the comparison, the command line, the fuzz
// target and the benchmarks need to offer a method. Adding a method is one row here, one method
// file and one test file.
struct MetodoCatalogo {
  const char* id;  // the command line's name: "mean"
  // The window: the Generacion entry that shows the frame (0 = "Simple", whose tab `pestana`
  // and Método Simple entry hold it), the entry's caption, the frame and its caption, the trace
  // list, the Run button, the Step button (nullptr: no step mode) and its caption. The manual
  // threshold has no frame (panel -1).
  int panel;
  int pestana;
  const char* menu;
  const char* marco;
  const char* titulo;
  const char* lista;
  const char* botonEjecutar;
  const char* botonPaso;
  const char* textoPaso;
  std::vector<ControlMetodo> controles;
  std::vector<OpcionMetodo> opciones;
  // The method in the common shape (Relaxation ignores `paso`); nullptr for the manual
  // threshold, which the workspace applies itself.
  Fin (*ejecutar)(Entorno& entorno, bool& paso);
  // Decides every pixel and draws the binarized picture itself: a cancelled straight run
  // restores the black/white flags and the picture it may have drawn.
  bool dibujaLocal;
  // A straight run shows its progress box at once (the long methods); without a fraction when
  // the number of passes is not known beforehand.
  bool progresoInmediato;
  bool progresoSinFraccion;
  std::vector<MosaicoMetodo> mosaicos;

  bool tienePaso() const { return botonPaso != nullptr || panel < 0; }
};

// The manual threshold ("umbral" on the command line, "Umbral manual" in the comparison) and
// every method, in the order the command line lists them.
const std::vector<MetodoCatalogo>& catalogo();
// The row of a command-line name, or nullptr.
const MetodoCatalogo* metodoPorId(std::string_view id);
// The row of a Run button, or nullptr.
const MetodoCatalogo* metodoPorBoton(std::string_view boton);
// The position of a row in catalogo().
size_t indiceCatalogo(const MetodoCatalogo& metodo);
// The initial text of a typed input of any frame; "" for a name that is none.
const char* textoInicial(std::string_view control);

}  // namespace velarno
