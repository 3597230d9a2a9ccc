// Regional Thresholds: a threshold map in which every interior pixel gets the threshold of the
// 20 x 20 window around it, found by iterative selection (Ridler and Calvard, 1978) on the
// histogram of the whole image starting from the window's mean grey level.
// The refinement reads the window only through its rounded mean, so it is worked out once per
// possible mean (256 values) per run, each pass in constant time from cumulative sums of the
// histogram; window sums come from running column sums over the 20-row band of the current
// row. Histogram sums and moments are 64-bit; a window sum is at most 400 x 255.
#include "methods/regional.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {
namespace {

constexpr int kLado = 20;   // window side
constexpr int kAntes = 10;  // rows/columns of the window before its pixel
constexpr int kVentana = kLado * kLado;
constexpr int kSumaMaxima = kVentana * 255;
constexpr const char* kCancelado = "Ejecución cancelada por el usuario.";
constexpr const char* kSinAsentar =
    "Aviso: en algunas ventanas el umbral no se estabilizó en 1000 pasadas; se usa su último "
    "valor.";

// Cumulative counts and first moments of the histogram, so that a pass of the refinement sums
// each class in constant time with the same whole numbers the level-by-level sums give.
class Acumulados {
 public:
  explicit Acumulados(const std::array<int64_t, kNivelesGris>& histograma) {
    int64_t cuenta = 0;
    int64_t momento = 0;
    for (int i = 0; i < kNivelesGris; ++i) {
      cuenta += histograma[static_cast<size_t>(i)];
      momento += i * histograma[static_cast<size_t>(i)];
      cuenta_[static_cast<size_t>(i)] = cuenta;
      momento_[static_cast<size_t>(i)] = momento;
    }
  }
  // Sums over the levels 0..t (empty below 0, the whole histogram from 255 on).
  int64_t cuentaHasta(int64_t t) const { return t < 0 ? 0 : cuenta_[indice(t)]; }
  int64_t momentoHasta(int64_t t) const { return t < 0 ? 0 : momento_[indice(t)]; }
  int64_t cuentaTotal() const { return cuenta_[255]; }
  int64_t momentoTotal() const { return momento_[255]; }

 private:
  static size_t indice(int64_t t) { return static_cast<size_t>(std::min<int64_t>(t, 255)); }
  std::array<int64_t, kNivelesGris> cuenta_{};
  std::array<int64_t, kNivelesGris> momento_{};
};

struct Refinado {
  int valor;
  bool estable;
};

// The refinement of local2 from the rounded window mean m0. Once the dark class has been found
// empty, later passes only move up while it stays empty. A dark class still empty at level 255
// (a histogram that does not describe the pixels) ends the refinement there.
Refinado refinar(int64_t m0, const Acumulados& acumulados) {
  int64_t m = m0;
  bool stop = false;
  for (int pasada = 0; pasada < kMaxPasadasRegional; ++pasada) {
    const int64_t told = m;
    const int64_t a = acumulados.momentoHasta(told);
    const int64_t b = acumulados.cuentaHasta(told) * 2;
    if (b == 0) {
      if (told >= 255) return {255, false};
      m = m + 1;
      stop = true;
    }
    if (!stop) {
      const int64_t c = acumulados.momentoTotal() - a;
      const int64_t d = acumulados.cuentaTotal() - acumulados.cuentaHasta(told);
      if (2 * d == 0) {
        m = m - 1;
      } else {
        m = redondear(static_cast<double>(a) / static_cast<double>(b) +
                      static_cast<double>(c) / static_cast<double>(2 * d));
      }
    }
    if (m == told) return {static_cast<int>(m), true};
  }
  return {static_cast<int>(m), false};
}

// The rounded mean of a window whose grey levels sum to `suma` (400 pixels).
int64_t mediaRedondeada(int64_t suma, int64_t cuenta) {
  return redondear(static_cast<double>(suma) / static_cast<double>(cuenta));
}

// Thresholds of the interior windows, row by row. The threshold of every possible window sum
// is tabulated once per run; column sums of the current 20-row band are kept up to date as
// the rows advance.
class Mapa {
 public:
  explicit Mapa(const DatosImagen& imagen)
      : imagen_(imagen),
        columnas_(static_cast<size_t>(imagen.ancho), 0),
        umbralDeSuma_(kSumaMaxima + 1),
        sinAsentarDeSuma_(kSumaMaxima + 1) {
    const Acumulados acumulados(imagen.histograma);
    std::array<Refinado, kNivelesGris> porMedia{};
    for (int m0 = 0; m0 < kNivelesGris; ++m0)
      porMedia[static_cast<size_t>(m0)] = refinar(m0, acumulados);
    for (int s = 0; s <= kSumaMaxima; ++s) {
      const Refinado& r = porMedia[static_cast<size_t>(mediaRedondeada(s, kVentana))];
      umbralDeSuma_[static_cast<size_t>(s)] = static_cast<int16_t>(r.valor);
      sinAsentarDeSuma_[static_cast<size_t>(s)] = r.estable ? 0 : 1;
    }
  }

  // Whether row r has windows: rows 10..alto-10 of a picture at least 20 pixels each way.
  bool filaInterior(int32_t r) const {
    return imagen_.ancho >= kLado && imagen_.alto >= kLado && r >= kAntes &&
           r <= imagen_.alto - kAntes;
  }

  // The thresholds of row r (0 outside columns 10..ancho-10). Rows must come in increasing
  // order.
  void fila(int32_t r, int16_t* umbrales) {
    const int32_t ancho = imagen_.ancho;
    std::fill_n(umbrales, ancho, int16_t{0});
    if (!filaInterior(r)) return;
    avanzarBanda(r);
    const int32_t* col = columnas_.data();
    int32_t suma = 0;
    for (int32_t x = 0; x < kLado; ++x) suma += col[x];
    const int32_t ultima = ancho - kAntes;
    uint8_t sinAsentar = 0;
    for (int32_t c = kAntes;; ++c) {
      umbrales[c] = umbralDeSuma_[static_cast<size_t>(suma)];
      sinAsentar |= sinAsentarDeSuma_[static_cast<size_t>(suma)];
      if (c == ultima) break;
      suma += col[c + kAntes] - col[c - kAntes];
    }
    if (sinAsentar != 0) sinAsentar_ = true;
  }

  // Whether some window took the last value of an unsettled refinement.
  bool sinAsentar() const { return sinAsentar_; }

 private:
  // Brings the column sums to rows r-10..r+9.
  void avanzarBanda(int32_t r) {
    const int32_t ancho = imagen_.ancho;
    int32_t* col = columnas_.data();
    if (banda_ < 0 || r != banda_ + 1) {
      std::fill(columnas_.begin(), columnas_.end(), 0);
      for (int32_t y = r - kAntes; y < r - kAntes + kLado; ++y) {
        const uint8_t* g = imagen_.pixeles.filaGris(y);
        for (int32_t x = 0; x < ancho; ++x) col[x] += g[x];
      }
    } else {
      const uint8_t* entra = imagen_.pixeles.filaGris(r - kAntes + kLado - 1);
      const uint8_t* sale = imagen_.pixeles.filaGris(r - kAntes - 1);
      for (int32_t x = 0; x < ancho; ++x) col[x] += entra[x] - sale[x];
    }
    banda_ = r;
  }

  const DatosImagen& imagen_;
  std::vector<int32_t> columnas_;
  std::vector<int16_t> umbralDeSuma_;
  std::vector<uint8_t> sinAsentarDeSuma_;
  int32_t banda_ = -1;
  bool sinAsentar_ = false;
};

void binarizarFila(const uint8_t* gris, const int16_t* umbrales, uint8_t* negro, int32_t ancho) {
  for (int32_t x = 0; x < ancho; ++x) negro[x] = gris[x] < umbrales[x] ? 1 : 0;
}

bool cancelar(Entorno& entorno, double fraccion) {
  if (entorno.progreso(fraccion)) return false;
  entorno.traza().agregar(kCancelado);
  return true;
}

void cerrar(Entorno& entorno, bool sinAsentar) {
  entorno.dibujarBinarizada();
  if (sinAsentar) entorno.traza().agregar(kSinAsentar);
  entorno.traza().agregar("Algoritmo Regional Thresholds Finalizado.");
}

// Step run: the whole map first (it has no visible effect), then the two phases of prompts.
Fin ejecutarPasoAPaso(Entorno& entorno, bool& paso, Mapa& mapa) {
  DatosImagen& imagen = entorno.imagen();
  Traza& traza = entorno.traza();
  Dialogos& dialogos = entorno.dialogos();
  const int32_t ancho = imagen.ancho;
  const int32_t alto = imagen.alto;
  std::vector<int16_t> umbrales(static_cast<size_t>(ancho) * static_cast<size_t>(alto));
  for (int32_t r = 0; r < alto; ++r) {
    mapa.fila(r, umbrales.data() + static_cast<size_t>(r) * static_cast<size_t>(ancho));
    if (cancelar(entorno, static_cast<double>(r + 1) / alto)) return Fin::Cancelado;
  }
  const auto umbral = [&](int32_t c, int32_t r) {
    return umbrales[static_cast<size_t>(r) * static_cast<size_t>(ancho) + static_cast<size_t>(c)];
  };

  const bool pasoGuardado = paso;
  for (int32_t r = kAntes; paso && r <= alto - kAntes; ++r) {
    for (int32_t c = kAntes; paso && c <= ancho - kAntes; ++c) {
      const std::string linea = "Valor para el pixel (" + textoEntero(r) + "," + textoEntero(c) +
                                "): " + textoEntero(umbral(c, r));
      traza.agregar(linea);
      traza.agregar("");
      if (pasoCancelado(dialogos, "Paso a paso", linea, paso)) {
        traza.agregar("");
        traza.agregar("Paso a paso cancelado.");
        traza.agregar("");
      }
    }
  }
  paso = pasoGuardado;

  Pixeles& pixeles = imagen.pixeles;
  for (int32_t r = 0; r < alto; ++r) {
    const uint8_t* gris = pixeles.filaGris(r);
    uint8_t* negro = pixeles.filaNegro(r);
    const int16_t* fila = &umbrales[static_cast<size_t>(r) * static_cast<size_t>(ancho)];
    if (!paso) {
      binarizarFila(gris, fila, negro, ancho);
    } else {
      for (int32_t c = 0; c < ancho; ++c) {
        const int g = gris[c];
        const int t = fila[c];
        negro[c] = g < t ? 1 : 0;
        if (!paso) continue;
        const std::string lineaPixel =
            "Pixel (" + textoEntero(r) + "," + textoEntero(c) + "): " + textoEntero(g);
        const std::string lineaLocal = "Valor local: " + textoEntero(t);
        const std::string lineaClase =
            std::string("Pixel convertido a: ") + (g < t ? "Negro" : "Blanco");
        traza.agregar(lineaPixel);
        traza.agregar(lineaLocal);
        traza.agregar(lineaClase);
        traza.agregar("");
        if (pasoCancelado(dialogos, "Paso a paso",
                          lineaPixel + "\r" + lineaLocal + "\r\r" + lineaClase, paso)) {
          traza.agregar("");
          traza.agregar("paso a paso cancelado");  // lower case, no full stop, on purpose
          traza.agregar("");
        }
      }
    }
    if (cancelar(entorno, static_cast<double>(r + 1) / alto)) {
      entorno.dibujarBinarizada();
      return Fin::Cancelado;
    }
  }
  cerrar(entorno, mapa.sinAsentar());
  return Fin::Dibujado;
}

}  // namespace

int local2(const DatosImagen& imagen, int rmin, int rmax, int cmin, int cmax, bool* estable) {
  int64_t m = 0;
  int64_t n = 0;
  for (int i = rmin; i < rmax; ++i)
    for (int j = cmin; j < cmax; ++j) {
      m += imagen.pixeles.gris(j, i);
      ++n;
    }
  const Refinado r = refinar(mediaRedondeada(m, n), Acumulados(imagen.histograma));
  if (estable != nullptr) *estable = r.estable;
  return r.valor;
}

Fin AlgoritmoRegionalThreshold(Entorno& entorno, bool& paso) {
  DatosImagen& imagen = entorno.imagen();
  Traza& traza = entorno.traza();
  traza.limpiar();
  traza.agregar("Iniciando Algoritmo Regional Thresholds.");
  traza.agregar("========================================");
  traza.agregar("");
  // "algoritmos" is the box's own wording.
  entorno.dialogos().informar(
      "Atencion", "Este algoritmos puede tardar varios minutos en ejecutarse", kEstiloInformacion);

  Mapa mapa(imagen);
  if (paso) return ejecutarPasoAPaso(entorno, paso, mapa);

  // Straight run: each row's thresholds are used at once, so no map is kept.
  const int32_t ancho = imagen.ancho;
  std::vector<int16_t> umbrales(static_cast<size_t>(ancho));
  Pixeles& pixeles = imagen.pixeles;
  for (int32_t r = 0; r < imagen.alto; ++r) {
    mapa.fila(r, umbrales.data());
    binarizarFila(pixeles.filaGris(r), umbrales.data(), pixeles.filaNegro(r), ancho);
    if (cancelar(entorno, static_cast<double>(r + 1) / imagen.alto)) {
      entorno.dibujarBinarizada();
      return Fin::Cancelado;
    }
  }
  cerrar(entorno, mapa.sinAsentar());
  return Fin::Dibujado;
}

}  // namespace velarno
