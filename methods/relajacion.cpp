// Relaxation labelling (Rosenfeld, Hummel and Zucker, 1976) with two classes, dark and light,
// compatibility 0.9 between equal classes and -0.9 between different ones. The initial
// probabilities come from the grey level against the global mean and range ("Rosenfeld") or
// against the mean and range of a 19 x 19 neighbourhood (Parker's variant).
// Every figure the trace prints is the same as the straightforward pass gives: the support of a
// pixel is summed neighbour by neighbour in the same order, the class-1 support is the exact
// negation of the class-0 one, and the residual is summed column after column, top to bottom.
// The passes update p and q in place: the products 0.9 p and -0.9 q of the previous, current
// and next columns are kept in a ring of three column buffers, all taken before the current
// column is overwritten, so each new value still comes from old values only.
// Grey sums are 64-bit; all probability arithmetic is Double.
#include "relajacion.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "numeros.h"

namespace velarno {
namespace {

constexpr const char* kAviso = "Este algoritmos puede tardar varios minutos en ejecutarse";
constexpr const char* kCancelado = "Ejecución cancelada por el usuario.";
constexpr int kMaxPasadas = 100;
constexpr int kAntes = 10;   // neighbourhood rows/columns before the pixel
constexpr int kDespues = 8;  // and after it
constexpr int kLado = kAntes + 1 + kDespues;

#define VELARNO_CLONES __attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4")))

// The products the supports are made of, for one column.
VELARNO_CLONES void productos(const double* __restrict p, const double* __restrict q,
                              double* __restrict pp, double* __restrict pq, int32_t alto) {
  for (int32_t y = 0; y < alto; ++y) {
    pp[y] = 0.9 * p[y];
    pq[y] = -0.9 * q[y];
  }
}

// New probabilities of rows 1..alto-2 of one column, from the products of the columns on its
// left (a), its own (b) and on its right (c), and its old p and q.
VELARNO_CLONES void nuevaColumna(const double* __restrict pa, const double* __restrict qa,
                                 const double* __restrict pb, const double* __restrict qb,
                                 const double* __restrict pc, const double* __restrict qc,
                                 const double* __restrict p, const double* __restrict q,
                                 double* __restrict pn, double* __restrict qn, int32_t alto) {
  for (int32_t y = 1; y < alto - 1; ++y) {
    double s = 0;
    s = (pa[y - 1] + s) + qa[y - 1];
    s = (pa[y] + s) + qa[y];
    s = (pa[y + 1] + s) + qa[y + 1];
    s = (pb[y - 1] + s) + qb[y - 1];
    s = (pb[y + 1] + s) + qb[y + 1];
    s = (pc[y - 1] + s) + qc[y - 1];
    s = (pc[y] + s) + qc[y];
    s = (pc[y + 1] + s) + qc[y + 1];
    // The class-1 sum is the class-0 sum negated term by term, hence exactly its negation.
    const double f = s / 8;
    const double a0 = 1 + f;
    const double a1 = 1 + (-f);
    const double den = a1 * q[y] + a0 * p[y];
    pn[y] = a0 * p[y] / den;
    qn[y] = a1 * q[y] / den;
  }
}

// Starting probabilities from a grey level g and the reference mean and extremes: p runs from
// 1 at the smallest level through 0.5 at the mean to 0 at the largest; a reference of a single
// level (d1 = 0 and g = m) leaves p = q = 0.5. Both quotients are formed and one is chosen, so
// the loops that call this stay branch-free; a discarded quotient may be 0/0.
inline void inicial(double g, double m, double xmin, double xmax, double& p, double& q) {
  const double d1 = (m - xmin) * 2;
  const double d2 = (xmax - m) * 2;
  const double oscuro = (m - g) / d1 + 0.5;
  const double claro = (g - m) / d2 + 0.5;
  const double pOscuro = d1 != 0 ? oscuro : 0.5;
  const double qClaro = d2 != 0 ? claro : 0.5;
  p = g <= m ? pOscuro : 1 - qClaro;
  q = g <= m ? 1 - pOscuro : qClaro;
}

// Parker's start-up for one column: `suma` and `cuenta` are the window's grey sum and pixel
// count per row (whole numbers held exactly in Double), `minimos`/`maximos` its extremes.
VELARNO_CLONES void columnaParker(const uint8_t* __restrict gris, const double* __restrict suma,
                                  const double* __restrict cuenta,
                                  const uint8_t* __restrict minimos,
                                  const uint8_t* __restrict maximos, double* __restrict p,
                                  double* __restrict q, int32_t alto) {
  for (int32_t y = 0; y < alto; ++y) {
    const double m = suma[y] / cuenta[y];
    inicial(gris[y], m, minimos[y], maximos[y], p[y], q[y]);
  }
}

void asignarRosenfeld(const DatosImagen& imagen, Probabilidades& pq) {
  const double m = mean(imagen);
  double gmin = 0;
  double gmax = 0;
  minmax(imagen, gmin, gmax);
  std::array<double, kNivelesGris> tablaP{};
  std::array<double, kNivelesGris> tablaQ{};
  for (int g = 0; g < kNivelesGris; ++g)
    inicial(g, m, gmin, gmax, tablaP[static_cast<size_t>(g)], tablaQ[static_cast<size_t>(g)]);
  const Pixeles& pixeles = imagen.pixeles;
  const uint8_t* plano = pixeles.planoGris();
  const size_t ancho = static_cast<size_t>(imagen.ancho);
  for (int32_t x = 0; x < imagen.ancho; ++x) {
    double* p = &pq.p[pq.indice(x, 0)];
    double* q = &pq.q[pq.indice(x, 0)];
    for (int32_t y = 0; y < imagen.alto; ++y) {
      const uint8_t g = plano[static_cast<size_t>(y) * ancho + static_cast<size_t>(x)];
      p[y] = tablaP[g];
      q[y] = tablaQ[g];
    }
  }
}

// Parker's start-up, column by column: each image column is copied out once, its extremes over
// every row window taken once, and the window's columns combined from a ring of kLado + 1.
void asignarParker(const DatosImagen& imagen, Probabilidades& pq) {
  const int32_t ancho = imagen.ancho;
  const int32_t alto = imagen.alto;
  const size_t filas = static_cast<size_t>(alto);
  const size_t anillo = kLado + 1;
  std::vector<uint8_t> columnas(anillo * filas);    // grey columns x-11..x+8
  std::vector<uint8_t> minimosCol(anillo * filas);  // their extremes over each row window
  std::vector<uint8_t> maximosCol(anillo * filas);
  std::vector<uint8_t> relleno(filas + kLado);
  std::vector<int64_t> suma(filas, 0);  // per row, sum over the window's columns
  std::vector<int64_t> acumulada(filas + 1, 0);
  std::vector<uint8_t> minimos(filas);
  std::vector<uint8_t> maximos(filas);
  std::vector<double> sumaVentana(filas);
  std::vector<double> cuentaVentana(filas);
  const uint8_t* plano = imagen.pixeles.planoGris();

  const auto ranura = [&](int32_t x) {
    return static_cast<size_t>(x % static_cast<int32_t>(anillo)) * filas;
  };
  const auto cargar = [&](int32_t x) {
    uint8_t* col = &columnas[ranura(x)];
    for (int32_t y = 0; y < alto; ++y)
      col[y] = plano[static_cast<size_t>(y) * static_cast<size_t>(ancho) + static_cast<size_t>(x)];
    // Extremes over rows y-10..y+8: a padded copy with a neutral value beyond each end.
    uint8_t* mn = &minimosCol[ranura(x)];
    uint8_t* mx = &maximosCol[ranura(x)];
    std::fill(relleno.begin(), relleno.end(), uint8_t{255});
    std::copy(col, col + alto, relleno.begin() + kAntes);
    std::copy(col, col + alto, mn);
    for (int k = 0; k < kLado; ++k) {
      const uint8_t* r = relleno.data() + k;
      for (int32_t y = 0; y < alto; ++y) mn[y] = std::min(mn[y], r[y]);
    }
    std::fill(relleno.begin(), relleno.end(), uint8_t{0});
    std::copy(col, col + alto, relleno.begin() + kAntes);
    std::copy(col, col + alto, mx);
    for (int k = 0; k < kLado; ++k) {
      const uint8_t* r = relleno.data() + k;
      for (int32_t y = 0; y < alto; ++y) mx[y] = std::max(mx[y], r[y]);
    }
    for (int32_t y = 0; y < alto; ++y) suma[static_cast<size_t>(y)] += col[y];
  };

  for (int32_t x = 0; x <= std::min(ancho - 1, kDespues - 1); ++x) cargar(x);
  for (int32_t x = 0; x < ancho; ++x) {
    if (x + kDespues < ancho) cargar(x + kDespues);
    if (x - kAntes - 1 >= 0) {
      const uint8_t* sale = &columnas[ranura(x - kAntes - 1)];
      for (int32_t y = 0; y < alto; ++y) suma[static_cast<size_t>(y)] -= sale[y];
    }
    const int32_t x0 = std::max(0, x - kAntes);
    const int32_t x1 = std::min(ancho - 1, x + kDespues);
    std::copy_n(&minimosCol[ranura(x0)], filas, minimos.begin());
    std::copy_n(&maximosCol[ranura(x0)], filas, maximos.begin());
    for (int32_t l = x0 + 1; l <= x1; ++l) {
      const uint8_t* mn = &minimosCol[ranura(l)];
      const uint8_t* mx = &maximosCol[ranura(l)];
      for (size_t y = 0; y < filas; ++y) {
        minimos[y] = std::min(minimos[y], mn[y]);
        maximos[y] = std::max(maximos[y], mx[y]);
      }
    }
    for (size_t y = 0; y < filas; ++y) acumulada[y + 1] = acumulada[y] + suma[y];
    const int64_t anchoVentana = x1 - x0 + 1;
    for (int32_t y = 0; y < alto; ++y) {
      const int32_t y0 = std::max(0, y - kAntes);
      const int32_t y1 = std::min(alto - 1, y + kDespues);
      sumaVentana[static_cast<size_t>(y)] = static_cast<double>(
          acumulada[static_cast<size_t>(y1) + 1] - acumulada[static_cast<size_t>(y0)]);
      cuentaVentana[static_cast<size_t>(y)] = static_cast<double>(anchoVentana * (y1 - y0 + 1));
    }
    columnaParker(&columnas[ranura(x)], sumaVentana.data(), cuentaVentana.data(), minimos.data(),
                  maximos.data(), &pq.p[pq.indice(x, 0)], &pq.q[pq.indice(x, 0)], alto);
  }
}

}  // namespace

bool Convergencia::ultimaPasada(double residuo) {
  ++pasadas;
  if (residuo < mejor) {
    mejor = residuo;
    estancadas = 1;
  } else if (std::fabs(residuo - mejor) < 0.0001) {
    if (estancadas > 2) return true;
    ++estancadas;
  }
  return pasadas >= kMaxPasadas || !(residuo > 1.0);
}

double fR(int l1, int l2) { return l1 == l2 ? 0.9 : -0.9; }

double fQ(const Probabilidades& pq, int r, int c, int Class) {
  double s = 0;
  for (int i = r - 1; i <= r + 1; ++i)
    for (int j = c - 1; j <= c + 1; ++j) {
      if (i == r && j == c) continue;
      s = (fR(Class, 0) * pq.p[pq.indice(i, j)] + s) + fR(Class, 1) * pq.q[pq.indice(i, j)];
    }
  return s / 8;
}

int range(const DatosImagen& imagen, int i, int j) {
  return i >= 0 && i < imagen.ancho && j >= 0 && j < imagen.alto ? 1 : 0;
}

double mean(const DatosImagen& imagen) {
  const uint8_t* plano = imagen.pixeles.planoGris();
  int64_t suma = 0;
  for (size_t i = 0; i < imagen.pixeles.cantidad(); ++i) suma += plano[i];
  const int64_t n = static_cast<int64_t>(imagen.alto) * imagen.ancho;
  return static_cast<double>(suma) / static_cast<double>(n);
}

void minmax(const DatosImagen& imagen, double& gmin, double& gmax) {
  const uint8_t* plano = imagen.pixeles.planoGris();
  const auto extremos = std::minmax_element(plano, plano + imagen.pixeles.cantidad());
  gmin = *extremos.first;
  gmax = *extremos.second;
}

void meanminmax(const DatosImagen& imagen, int r, int c, double& media, double& xmin,
                double& xmax) {
  xmin = imagen.pixeles.gris(r, c);
  xmax = xmin;
  int64_t suma = 0;
  int64_t n = 0;
  for (int i = r - kAntes; i <= r + kDespues; ++i)
    for (int j = c - kAntes; j <= c + kDespues; ++j) {
      if (range(imagen, i, j) != 1) continue;
      const double g = imagen.pixeles.gris(i, j);
      if (g < xmin) {
        xmin = g;
      } else if (g > xmax) {
        xmax = g;
      }
      suma += imagen.pixeles.gris(i, j);
      ++n;
    }
  media = static_cast<double>(suma) / static_cast<double>(n);
}

void assign_class(const DatosImagen& imagen, const std::string& clase, Probabilidades& pq) {
  if (clase == "Rosenfeld") {
    asignarRosenfeld(imagen, pq);
  } else {
    asignarParker(imagen, pq);
  }
}

void thresh(const Probabilidades& pq, uint8_t* etiquetas) {
  const size_t ancho = static_cast<size_t>(pq.ancho);
  for (int32_t x = 0; x < pq.ancho; ++x) {
    const double* p = &pq.p[pq.indice(x, 0)];
    const double* q = &pq.q[pq.indice(x, 0)];
    uint8_t* destino = etiquetas + x;
    for (int32_t y = 0; y < pq.alto; ++y)
      destino[static_cast<size_t>(y) * ancho] = p[y] > q[y] ? 1 : 0;
  }
}

std::optional<double> update(Probabilidades& pq, const std::function<bool(int32_t)>& seguir) {
  const int32_t ancho = pq.ancho;
  const int32_t alto = pq.alto;
  double residuo = 0;
  if (ancho < 3 || alto < 3) return residuo;
  const size_t filas = static_cast<size_t>(alto);
  // Ring of the products of three columns, and the new values of the current column.
  std::vector<double> memoria(8 * filas);
  std::array<double*, 3> pp{};
  std::array<double*, 3> pq3{};
  for (size_t k = 0; k < 3; ++k) {
    pp[k] = memoria.data() + (2 * k) * filas;
    pq3[k] = memoria.data() + (2 * k + 1) * filas;
  }
  double* pn = memoria.data() + 6 * filas;
  double* qn = memoria.data() + 7 * filas;
  productos(&pq.p[pq.indice(0, 0)], &pq.q[pq.indice(0, 0)], pp[0], pq3[0], alto);
  productos(&pq.p[pq.indice(1, 0)], &pq.q[pq.indice(1, 0)], pp[1], pq3[1], alto);
  for (int32_t x = 1; x <= ancho - 2; ++x) {
    const size_t a = static_cast<size_t>((x - 1) % 3);
    const size_t b = static_cast<size_t>(x % 3);
    const size_t c = static_cast<size_t>((x + 1) % 3);
    productos(&pq.p[pq.indice(x + 1, 0)], &pq.q[pq.indice(x + 1, 0)], pp[c], pq3[c], alto);
    double* p = &pq.p[pq.indice(x, 0)];
    double* q = &pq.q[pq.indice(x, 0)];
    nuevaColumna(pp[a], pq3[a], pp[b], pq3[b], pp[c], pq3[c], p, q, pn, qn, alto);
    for (int32_t y = 1; y <= alto - 2; ++y) {
      residuo = (std::fabs(p[y] - pn[y]) + residuo) + std::fabs(q[y] - qn[y]);
      p[y] = pn[y];
      q[y] = qn[y];
    }
    if (seguir && !seguir(x)) return std::nullopt;
  }
  return residuo;
}

Fin AlgoritmoRelajacion(Entorno& entorno) {
  DatosImagen& imagen = entorno.imagen();
  const std::string clase = entorno.texto("MetRelajacion");
  Traza& traza = entorno.traza();
  traza.limpiar();
  traza.agregar(std::string("Atención: ") + kAviso);  // "algoritmos": the fixed wording
  traza.agregar("");
  entorno.dialogos().informar("Atencion", kAviso, kEstiloInformacion);
  traza.agregar("Iniciando Algoritmo de Relajacion");
  traza.agregar("=================================");
  traza.agregar("");

  Probabilidades pq(imagen.ancho, imagen.alto);
  traza.agregar("Asignamiento de pixeles por medio de clases " + clase);
  traza.agregar("");
  assign_class(imagen, clase, pq);

  // The labelling that follows the start-up and every pass only redraws the negro flags, which
  // do not change until the end: the picture would show the same binarization each time, so
  // the labels are taken once, after the last pass.
  const char sep = entorno.separadorDecimal();
  Convergencia convergencia;
  bool fin = false;
  while (!fin) {
    const int hechas = convergencia.pasadas;
    const std::optional<double> residuo = update(pq, [&](int32_t x) {
      return entorno.progreso((hechas + static_cast<double>(x) / imagen.ancho) / kMaxPasadas);
    });
    if (!residuo) {
      traza.agregar(kCancelado);
      return Fin::Cancelado;
    }
    fin = convergencia.ultimaPasada(*residuo);
    traza.agregar("Iteration: " + textoEntero(convergencia.pasadas) +
                  "\rresiduo: " + textoDouble(*residuo, sep));
    traza.agregar("");
  }

  // The drawn picture shows the labels while the record keeps its own flags: the labels go
  // into scratch, p and q are released, and the two planes are swapped around the drawing.
  const size_t cantidad = imagen.pixeles.cantidad();
  std::vector<uint8_t> etiquetas(cantidad);
  thresh(pq, etiquetas.data());
  pq = Probabilidades();
  traza.agregar("Algoritmo de Relajacion Finalizado");  // no full stop, on purpose
  uint8_t* negro = imagen.pixeles.planoNegro();
  uint8_t* otro = etiquetas.data();
  std::swap_ranges(negro, negro + cantidad, otro);
  entorno.dibujarBinarizada();
  std::swap_ranges(negro, negro + cantidad, otro);
  return Fin::Dibujado;
}

}  // namespace velarno
