// Relaxation labelling (Rosenfeld, Hummel and Zucker, 1976) with two classes, dark and light,
// compatibility 0.9 between equal classes and -0.9 between different ones. The initial
// probabilities come from the grey level against the global mean and range ("Rosenfeld") or
// against the mean and range of a 19 x 19 neighbourhood (Parker's variant).
// Every figure the trace prints is the same as the straightforward pass gives: the support of a
// pixel is summed neighbour by neighbour in the same order, the class-1 support is the exact
// negation of the class-0 one, and the residual is summed column after column, top to bottom.
// The passes update p and q in place: the products 0.9 p and -0.9 q of the previous, current
// and next columns are kept in a ring of column buffers, all taken before the current column is
// overwritten, so each new value still comes from old values only. The residual's chain, the
// one serial part, runs one column behind the vector work so that the two overlap.
// Grey sums are 64-bit; all probability arithmetic is Double.
#include "methods/relajacion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "methods/numeros.h"

namespace velarno {
namespace {

constexpr const char* kAviso = "Este algoritmos puede tardar varios minutos en ejecutarse";
constexpr const char* kCancelado = "Ejecución cancelada por el usuario.";
constexpr int kMaxPasadas = 100;
constexpr int kAntes = 10;   // neighbourhood rows/columns before the pixel
constexpr int kDespues = 8;  // and after it
constexpr int kLado = kAntes + 1 + kDespues;

#define VELARNO_CLONES __attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4")))
// Kept out of line so its running values stay in registers; clang does not take noinline
// together with target_clones (it keeps clones out of line anyway).
#if defined(__clang__)
#define VELARNO_APARTE
#else
#define VELARNO_APARTE __attribute__((noinline))
#endif

// Eight doubles handled as one value; the loads and stores through it need no alignment.
typedef double Ocho __attribute__((vector_size(64), aligned(8), may_alias));
typedef uint64_t OchoBits __attribute__((vector_size(64), aligned(8), may_alias));
typedef int32_t OchoEnteros __attribute__((vector_size(32), aligned(4), may_alias));
typedef uint8_t OchoBytes __attribute__((vector_size(8), aligned(1), may_alias));
typedef uint16_t OchoCortos __attribute__((vector_size(16)));
typedef uint8_t Bytes __attribute__((vector_size(64), aligned(1), may_alias));
typedef uint8_t MediosBytes __attribute__((vector_size(32), aligned(1), may_alias));
typedef uint16_t Cortos __attribute__((vector_size(64), aligned(2), may_alias));
constexpr int32_t kBloque = 8;

// The products 0.9 p and -0.9 q the supports are made of, for rows [desde, hasta) of a column.
VELARNO_CLONES void productos(const double* __restrict p, const double* __restrict q,
                              double* __restrict pp, double* __restrict pq, int32_t desde,
                              int32_t hasta) {
  for (int32_t y = desde; y < hasta; ++y) {
    pp[y] = 0.9 * p[y];
    pq[y] = -0.9 * q[y];
  }
}

// The columns one call of `columna` reads and writes. Rows are counted from row 1 of the
// column (the first interior one) unless said otherwise.
struct Columna {
  const double* pa;  // products of the column on the left, from row 0
  const double* qa;
  const double* pb;  // of the column itself
  const double* qb;
  const double* pc;  // of the column on the right
  const double* qc;
  double* p;  // the column's probabilities, from row 0, updated in place
  double* q;
  const double* pSiguiente;  // probabilities of the column two places to the right, from row 0
  const double* qSiguiente;
  double* ppSiguiente;  // and its products
  double* pqSiguiente;
  double* dp;  // |p - p'| and |q - q'| of the column, per interior row
  double* dq;
  const double* dpAnterior;  // those of the column before, summed into the residual here
  const double* dqAnterior;
};

// One interior column of a pass, fused with two other streams of work so that they overlap:
// the new values of the column (eight rows at a time), the products of the column two places
// to the right, and the residual's chain over the previous column's differences, which is the
// one serial part of a pass. Returns the residual with the previous column added, in order.
VELARNO_CLONES VELARNO_APARTE double columna(const Columna& c, int32_t alto, double residuo) {
  const double* __restrict pa = c.pa;
  const double* __restrict qa = c.qa;
  const double* __restrict pb = c.pb;
  const double* __restrict qb = c.qb;
  const double* __restrict pc = c.pc;
  const double* __restrict qc = c.qc;
  double* __restrict p = c.p + 1;
  double* __restrict q = c.q + 1;
  const double* __restrict ps = c.pSiguiente;
  const double* __restrict qs = c.qSiguiente;
  double* __restrict pps = c.ppSiguiente;
  double* __restrict pqs = c.pqSiguiente;
  double* __restrict dp = c.dp;
  double* __restrict dq = c.dq;
  const double* __restrict dpa = c.dpAnterior;
  const double* __restrict dqa = c.dqAnterior;
  const int32_t filas = alto - 2;
  const int32_t enBloques = filas - filas % kBloque;
  const OchoBits sinSigno = OchoBits{} + 0x7fffffffffffffffull;
  const Ocho cero = Ocho{};
  int32_t i = 0;
  for (; i < enBloques; i += kBloque) {
    // The serial chain, eight rows of the previous column.
    for (int32_t k = 0; k < kBloque; ++k) residuo = (dpa[i + k] + residuo) + dqa[i + k];
    // Rows i .. i+7 of the products of the column two places to the right.
    *reinterpret_cast<Ocho*>(pps + i) = 0.9 * *reinterpret_cast<const Ocho*>(ps + i);
    *reinterpret_cast<Ocho*>(pqs + i) = -0.9 * *reinterpret_cast<const Ocho*>(qs + i);
    // Rows i+1 .. i+8 of the column: the neighbours lie in rows i .. i+9 of the products.
    Ocho s = cero;
    s = (*reinterpret_cast<const Ocho*>(pa + i) + s) + *reinterpret_cast<const Ocho*>(qa + i);
    s = (*reinterpret_cast<const Ocho*>(pa + i + 1) + s) +
        *reinterpret_cast<const Ocho*>(qa + i + 1);
    s = (*reinterpret_cast<const Ocho*>(pa + i + 2) + s) +
        *reinterpret_cast<const Ocho*>(qa + i + 2);
    s = (*reinterpret_cast<const Ocho*>(pb + i) + s) + *reinterpret_cast<const Ocho*>(qb + i);
    s = (*reinterpret_cast<const Ocho*>(pb + i + 2) + s) +
        *reinterpret_cast<const Ocho*>(qb + i + 2);
    s = (*reinterpret_cast<const Ocho*>(pc + i) + s) + *reinterpret_cast<const Ocho*>(qc + i);
    s = (*reinterpret_cast<const Ocho*>(pc + i + 1) + s) +
        *reinterpret_cast<const Ocho*>(qc + i + 1);
    s = (*reinterpret_cast<const Ocho*>(pc + i + 2) + s) +
        *reinterpret_cast<const Ocho*>(qc + i + 2);
    const Ocho f = s / 8.0;
    const Ocho a0 = 1.0 + f;
    const Ocho a1 = 1.0 + (-f);
    const Ocho pv = *reinterpret_cast<const Ocho*>(p + i);
    const Ocho qv = *reinterpret_cast<const Ocho*>(q + i);
    const Ocho den = a1 * qv + a0 * pv;
    const Ocho pn = a0 * pv / den;
    const Ocho qn = a1 * qv / den;
    *reinterpret_cast<OchoBits*>(dp + i) = reinterpret_cast<OchoBits>(pv - pn) & sinSigno;
    *reinterpret_cast<OchoBits*>(dq + i) = reinterpret_cast<OchoBits>(qv - qn) & sinSigno;
    *reinterpret_cast<Ocho*>(p + i) = pn;
    *reinterpret_cast<Ocho*>(q + i) = qn;
  }
  for (; i < filas; ++i) {
    residuo = (dpa[i] + residuo) + dqa[i];
    const int32_t y = i + 1;
    double s = 0;
    s = (pa[y - 1] + s) + qa[y - 1];
    s = (pa[y] + s) + qa[y];
    s = (pa[y + 1] + s) + qa[y + 1];
    s = (pb[y - 1] + s) + qb[y - 1];
    s = (pb[y + 1] + s) + qb[y + 1];
    s = (pc[y - 1] + s) + qc[y - 1];
    s = (pc[y] + s) + qc[y];
    s = (pc[y + 1] + s) + qc[y + 1];
    const double f = s / 8;
    const double a0 = 1 + f;
    const double a1 = 1 + (-f);
    const double den = a1 * q[i] + a0 * p[i];
    const double pn = a0 * p[i] / den;
    const double qn = a1 * q[i] / den;
    dp[i] = std::fabs(p[i] - pn);
    dq[i] = std::fabs(q[i] - qn);
    p[i] = pn;
    q[i] = qn;
  }
  for (int32_t y = enBloques; y < alto; ++y) {
    pps[y] = 0.9 * ps[y];
    pqs[y] = -0.9 * qs[y];
  }
  return residuo;
}

// The residual's chain over the last column's differences.
__attribute__((noinline)) double sumarColumna(const double* __restrict dp,
                                              const double* __restrict dq, int32_t filas,
                                              double residuo) {
  for (int32_t i = 0; i < filas; ++i) residuo = (dp[i] + residuo) + dq[i];
  return residuo;
}

// Starting probabilities from a grey level g and the reference mean and extremes: p runs from
// 1 at the smallest level through 0.5 at the mean to 0 at the largest; a reference of a single
// level (d1 = 0 and g = m) leaves p = q = 0.5. Branch-free, so the loops that call this
// vectorise: every operand is formed, then the quotient of the side g lies on (it may be 0/0
// when that side's range is 0, and is then discarded).
inline void inicial(double g, double m, double xmin, double xmax, double& p, double& q) {
  const bool oscuro = g <= m;
  const double d1 = (m - xmin) * 2;
  const double d2 = (xmax - m) * 2;
  const double arriba = m - g;
  const double abajo = g - m;
  const double d = oscuro ? d1 : d2;
  const double cociente = (oscuro ? arriba : abajo) / d + 0.5;
  const double lado = d != 0 ? cociente : 0.5;
  const double otro = 1 - lado;
  p = oscuro ? lado : otro;
  q = oscuro ? otro : lado;
}

// Extremes and grey sum of the windows of places i-10..i+8 (clipped) for every place i of one
// run of grey levels (a picture column). `rellenoMin` and `rellenoMax` hold the run with kAntes
// places before it and kDespues after it, padded with 255 and with 0 (neutral for the minimum,
// and for the maximum and the sum). Spans double: extremes over 2, 4, 8 and 16 places, then 19
// as two overlapping spans of 16; sums over 2, 4, 8 and 16 places, then 16 + 2 + 1. The
// scratch runs `e1`, `e2` (bytes) and `s1`, `s2`, `s3` (words) hold largo + kLado values.
VELARNO_CLONES void ventanasColumna(const uint8_t* __restrict rellenoMin,
                                    const uint8_t* __restrict rellenoMax, int32_t largo,
                                    uint8_t* __restrict minimos, uint8_t* __restrict maximos,
                                    uint16_t* __restrict sumas, uint8_t* __restrict e1,
                                    uint8_t* __restrict e2, uint16_t* __restrict s1,
                                    uint16_t* __restrict s2, uint16_t* __restrict s3) {
  const int32_t l2 = largo + kLado - 2;  // places whose span of 2 lies inside the padded run
  const int32_t l4 = l2 - 2;
  const int32_t l8 = l4 - 4;
  const int32_t l16 = l8 - 8;
  for (int32_t i = 0; i < l2; ++i) e1[i] = std::min(rellenoMin[i], rellenoMin[i + 1]);
  for (int32_t i = 0; i < l4; ++i) e2[i] = std::min(e1[i], e1[i + 2]);
  for (int32_t i = 0; i < l8; ++i) e1[i] = std::min(e2[i], e2[i + 4]);
  for (int32_t i = 0; i < l16; ++i) e2[i] = std::min(e1[i], e1[i + 8]);
  for (int32_t i = 0; i < largo; ++i) minimos[i] = std::min(e2[i], e2[i + 3]);
  for (int32_t i = 0; i < l2; ++i) e1[i] = std::max(rellenoMax[i], rellenoMax[i + 1]);
  for (int32_t i = 0; i < l4; ++i) e2[i] = std::max(e1[i], e1[i + 2]);
  for (int32_t i = 0; i < l8; ++i) e1[i] = std::max(e2[i], e2[i + 4]);
  for (int32_t i = 0; i < l16; ++i) e2[i] = std::max(e1[i], e1[i + 8]);
  for (int32_t i = 0; i < largo; ++i) maximos[i] = std::max(e2[i], e2[i + 3]);
  for (int32_t i = 0; i < l2; ++i) s1[i] = static_cast<uint16_t>(rellenoMax[i] + rellenoMax[i + 1]);
  for (int32_t i = 0; i < l4; ++i) s2[i] = static_cast<uint16_t>(s1[i] + s1[i + 2]);
  for (int32_t i = 0; i < l8; ++i) s3[i] = static_cast<uint16_t>(s2[i] + s2[i + 4]);
  for (int32_t i = 0; i < l16; ++i) s2[i] = static_cast<uint16_t>(s3[i] + s3[i + 8]);
  for (int32_t i = 0; i < largo; ++i)
    sumas[i] = static_cast<uint16_t>(s2[i] + s1[i + 16] + rellenoMax[i + 18]);
}

// The extremes over the window's columns: `mn` and `mx` point to the `cuantas` columns' own
// row-window extremes.
VELARNO_CLONES void extremosVentana(const uint8_t* const* mn, const uint8_t* const* mx,
                                    int32_t cuantas, int32_t largo, uint8_t* __restrict minimos,
                                    uint8_t* __restrict maximos) {
  int32_t i = 0;
  for (; i + 64 <= largo; i += 64) {
    Bytes a = *reinterpret_cast<const Bytes*>(mn[0] + i);
    Bytes b = *reinterpret_cast<const Bytes*>(mx[0] + i);
    for (int32_t v = 1; v < cuantas; ++v) {
      const Bytes c = *reinterpret_cast<const Bytes*>(mn[v] + i);
      const Bytes d = *reinterpret_cast<const Bytes*>(mx[v] + i);
      a = c < a ? c : a;
      b = d > b ? d : b;
    }
    *reinterpret_cast<Bytes*>(minimos + i) = a;
    *reinterpret_cast<Bytes*>(maximos + i) = b;
  }
  for (; i < largo; ++i) {
    uint8_t a = mn[0][i];
    uint8_t b = mx[0][i];
    for (int32_t v = 1; v < cuantas; ++v) {
      a = std::min(a, mn[v][i]);
      b = std::max(b, mx[v][i]);
    }
    minimos[i] = a;
    maximos[i] = b;
  }
}

// The window sums follow the window across: one column's run sums leave, another's come in.
VELARNO_CLONES void moverSumas(const uint16_t* __restrict sale, const uint16_t* __restrict entra,
                               int32_t largo, int32_t* __restrict suma) {
  for (int32_t i = 0; i < largo; ++i) suma[i] = suma[i] - sale[i] + entra[i];
}

// Eight bytes as Double, widened through 16 and 32 bits (whole-vector zero extensions; the
// direct conversion compiles to eight scalar loads).
inline void aDobles(const uint8_t* bytes, Ocho& dobles) {
  dobles = __builtin_convertvector(
      __builtin_convertvector(
          __builtin_convertvector(*reinterpret_cast<const OchoBytes*>(bytes), OchoCortos),
          OchoEnteros),
      Ocho);
}

// Parker's start-up for one picture column of `largo` rows: the window's mean is its grey sum
// over its pixel count (the window's height at each row times its width, `anchura` columns),
// in Double. Eight pixels at a time as in `inicial`, the choices made lane by lane.
VELARNO_CLONES void columnaParker(const uint8_t* __restrict gris, const int32_t* __restrict suma,
                                  const int32_t* __restrict alturas, int32_t anchura,
                                  const uint8_t* __restrict minimos,
                                  const uint8_t* __restrict maximos, double* __restrict p,
                                  double* __restrict q, int32_t largo) {
  int32_t x = 0;
  for (; x + kBloque <= largo; x += kBloque) {
    const Ocho m =
        __builtin_convertvector(*reinterpret_cast<const OchoEnteros*>(suma + x), Ocho) /
        __builtin_convertvector(*reinterpret_cast<const OchoEnteros*>(alturas + x) * anchura, Ocho);
    Ocho g;
    Ocho xmin;
    Ocho xmax;
    aDobles(gris + x, g);
    aDobles(minimos + x, xmin);
    aDobles(maximos + x, xmax);
    const auto oscuro = g <= m;
    const Ocho d1 = (m - xmin) * 2.0;
    const Ocho d2 = (xmax - m) * 2.0;
    const Ocho d = oscuro ? d1 : d2;
    const Ocho cociente = (oscuro ? m - g : g - m) / d + 0.5;
    const Ocho lado = d != 0.0 ? cociente : Ocho{} + 0.5;
    const Ocho otro = 1.0 - lado;
    *reinterpret_cast<Ocho*>(p + x) = oscuro ? lado : otro;
    *reinterpret_cast<Ocho*>(q + x) = oscuro ? otro : lado;
  }
  for (; x < largo; ++x) {
    const double m = static_cast<double>(suma[x]) / static_cast<double>(alturas[x] * anchura);
    inicial(gris[x], m, minimos[x], maximos[x], p[x], q[x]);
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

// Copies image columns x0 .. x0+cuantas-1 into `tira`, each one contiguous (alto bytes).
// Blocks of 16 x 16 bytes are read as sixteen rows and transposed by four rounds of
// interleaving row i with row i+8 (each round moves one bit of the row index into the column
// index), then written as sixteen columns.
void transponer(const uint8_t* plano, int32_t ancho, int32_t alto, int32_t x0, int32_t cuantas,
                uint8_t* tira) {
  typedef uint8_t Dieciseis __attribute__((vector_size(16), aligned(1), may_alias));
  typedef uint8_t Registro __attribute__((vector_size(16)));
  [[maybe_unused]] const Registro bajos{0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23};
  [[maybe_unused]] const Registro altos{8,  24, 9,  25, 10, 26, 11, 27,
                                        12, 28, 13, 29, 14, 30, 15, 31};
  const size_t n = static_cast<size_t>(alto);
  const size_t paso = static_cast<size_t>(ancho);
  const int32_t altoEnBloques = alto - alto % 16;
  const int32_t cuantasEnBloques = cuantas - cuantas % 16;
  for (int32_t y = 0; y < altoEnBloques; y += 16)
    for (int32_t k = 0; k < cuantasEnBloques; k += 16) {
      std::array<Registro, 16> v{};
      std::array<Registro, 16> w{};
      for (size_t r = 0; r < 16; ++r)
        v[r] = *reinterpret_cast<const Dieciseis*>(plano + (static_cast<size_t>(y) + r) * paso +
                                                   static_cast<size_t>(x0 + k));
      for (int ronda = 0; ronda < 4; ++ronda) {
        for (size_t i = 0; i < 8; ++i) {
#if defined(__clang__)
          w[2 * i] = __builtin_shufflevector(v[i], v[i + 8], 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5,
                                             21, 6, 22, 7, 23);
          w[2 * i + 1] = __builtin_shufflevector(v[i], v[i + 8], 8, 24, 9, 25, 10, 26, 11, 27, 12,
                                                 28, 13, 29, 14, 30, 15, 31);
#else
          w[2 * i] = __builtin_shuffle(v[i], v[i + 8], bajos);
          w[2 * i + 1] = __builtin_shuffle(v[i], v[i + 8], altos);
#endif
        }
        v = w;
      }
      for (size_t c = 0; c < 16; ++c)
        *reinterpret_cast<Dieciseis*>(tira + (static_cast<size_t>(k) + c) * n +
                                      static_cast<size_t>(y)) = v[c];
    }
  // The rows and columns beyond the last whole block.
  for (int32_t y = 0; y < alto; ++y) {
    const uint8_t* fila = plano + static_cast<size_t>(y) * paso + static_cast<size_t>(x0);
    for (int32_t k = y < altoEnBloques ? cuantasEnBloques : 0; k < cuantas; ++k)
      tira[static_cast<size_t>(k) * n + static_cast<size_t>(y)] = fila[k];
  }
}

// Parker's start-up works on the picture's columns, which are the runs p and q are stored in;
// the window reaches as far both ways, so the rows of the window come first: the extremes and
// grey sum of each column's row windows (kept for the last kLado columns), then those taken
// over the window's columns. The picture's columns are taken out kTira at a time.
void asignarParker(const DatosImagen& imagen, Probabilidades& pq) {
  constexpr int32_t kTira = 64;
  const int32_t ancho = imagen.ancho;
  const int32_t alto = imagen.alto;
  const size_t n = static_cast<size_t>(alto);
  const uint8_t* plano = imagen.pixeles.planoGris();
  std::vector<uint8_t> tira(kTira * n);
  std::vector<uint8_t> rellenoMin(n + kLado - 1, 255);
  std::vector<uint8_t> rellenoMax(n + kLado - 1, 0);
  // Per column, in place x % kLado: its grey levels and its row windows' extremes and sums.
  std::vector<uint8_t> anilloGris(kLado * n);
  std::vector<uint8_t> anilloMin(kLado * n);
  std::vector<uint8_t> anilloMax(kLado * n);
  std::vector<uint16_t> anilloSuma(kLado * n);
  std::vector<uint16_t> ceros(n, 0);
  std::vector<uint8_t> e1(n + kLado);  // scratch for ventanasColumna
  std::vector<uint8_t> e2(n + kLado);
  std::vector<uint16_t> s1(n + kLado);
  std::vector<uint16_t> s2(n + kLado);
  std::vector<uint16_t> s3(n + kLado);
  std::vector<int32_t> suma(n, 0);  // per row, the window's grey sum
  std::vector<uint8_t> minimos(n);
  std::vector<uint8_t> maximos(n);
  std::vector<int32_t> filas(n);  // per row, the window's height
  for (int32_t y = 0; y < alto; ++y)
    filas[static_cast<size_t>(y)] = std::min(alto - 1, y + kDespues) - std::max(0, y - kAntes) + 1;
  const auto ranura = [&](int32_t x) { return static_cast<size_t>(x % kLado) * n; };
  // Takes column x in: its statistics into the ring and its row windows' sums into `suma`.
  const auto entrar = [&](int32_t x) {
    if (x % kTira == 0) transponer(plano, ancho, alto, x, std::min(kTira, ancho - x), tira.data());
    const uint8_t* columna = &tira[static_cast<size_t>(x % kTira) * n];
    const size_t r = ranura(x);
    std::copy_n(columna, n, &anilloGris[r]);
    std::copy_n(columna, n, rellenoMin.begin() + kAntes);
    std::copy_n(columna, n, rellenoMax.begin() + kAntes);
    ventanasColumna(rellenoMin.data(), rellenoMax.data(), alto, &anilloMin[r], &anilloMax[r],
                    &anilloSuma[r], e1.data(), e2.data(), s1.data(), s2.data(), s3.data());
    moverSumas(ceros.data(), &anilloSuma[r], alto, suma.data());
  };
  for (int32_t x = 0; x < std::min(ancho, kDespues); ++x) entrar(x);
  for (int32_t x = 0; x < ancho; ++x) {
    // Column x-11 leaves the window (its place is taken next), column x+8 comes in.
    if (x - kAntes - 1 >= 0)
      moverSumas(&anilloSuma[ranura(x - kAntes - 1)], ceros.data(), alto, suma.data());
    if (x + kDespues < ancho) entrar(x + kDespues);
    const int32_t x0 = std::max(0, x - kAntes);
    const int32_t x1 = std::min(ancho - 1, x + kDespues);
    std::array<const uint8_t*, kLado> mn{};
    std::array<const uint8_t*, kLado> mx{};
    for (int32_t v = x0; v <= x1; ++v) {
      mn[static_cast<size_t>(v - x0)] = &anilloMin[ranura(v)];
      mx[static_cast<size_t>(v - x0)] = &anilloMax[ranura(v)];
    }
    extremosVentana(mn.data(), mx.data(), x1 - x0 + 1, alto, minimos.data(), maximos.data());
    columnaParker(&anilloGris[ranura(x)], suma.data(), filas.data(), x1 - x0 + 1, minimos.data(),
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
  // The pixel count is the single-precision product alto x ancho rounded half to even to a
  // 32-bit whole number (a picture has at most kMaxPixeles, so it fits); above 2^24 pixels it
  // can be one or two off the exact count.
  const float producto = static_cast<float>(imagen.alto) * static_cast<float>(imagen.ancho);
  const auto n = static_cast<int32_t>(std::nearbyint(producto));
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
    const double* p = pq.p.data() + pq.indice(x, 0);
    const double* q = pq.q.data() + pq.indice(x, 0);
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
  const int32_t interiores = alto - 2;
  // A ring of the products of four columns (left, own, right, and the one being prepared),
  // a spare for the products that nothing reads, and two pairs of difference columns. The
  // differences of the column before the first are +0, which leave the residual +0.
  std::vector<double> memoria(14 * filas, 0.0);
  const auto trozo = [&](size_t k) { return memoria.data() + k * filas; };
  const auto prodP = [&](int32_t x) { return trozo(2 * static_cast<size_t>(x % 4)); };
  const auto prodQ = [&](int32_t x) { return trozo(2 * static_cast<size_t>(x % 4) + 1); };
  std::array<double*, 2> dp{trozo(10), trozo(12)};
  std::array<double*, 2> dq{trozo(11), trozo(13)};
  for (int32_t x = 0; x < 3; ++x)
    productos(&pq.p[pq.indice(x, 0)], &pq.q[pq.indice(x, 0)], prodP(x), prodQ(x), 0, alto);
  for (int32_t x = 1; x <= ancho - 2; ++x) {
    const size_t ahora = static_cast<size_t>(x % 2);
    const size_t antes = 1 - ahora;
    // The column two places to the right; past the last column, the last one into the spare.
    const int32_t siguiente = std::min(x + 2, ancho - 1);
    Columna c;
    c.pa = prodP(x - 1);
    c.qa = prodQ(x - 1);
    c.pb = prodP(x);
    c.qb = prodQ(x);
    c.pc = prodP(x + 1);
    c.qc = prodQ(x + 1);
    c.p = &pq.p[pq.indice(x, 0)];
    c.q = &pq.q[pq.indice(x, 0)];
    c.pSiguiente = &pq.p[pq.indice(siguiente, 0)];
    c.qSiguiente = &pq.q[pq.indice(siguiente, 0)];
    c.ppSiguiente = x + 2 < ancho ? prodP(x + 2) : trozo(8);
    c.pqSiguiente = x + 2 < ancho ? prodQ(x + 2) : trozo(9);
    c.dp = dp[ahora];
    c.dq = dq[ahora];
    c.dpAnterior = dp[antes];
    c.dqAnterior = dq[antes];
    residuo = columna(c, alto, residuo);
    if (seguir && !seguir(x)) return std::nullopt;
  }
  const size_t ultima = static_cast<size_t>((ancho - 2) % 2);
  return sumarColumna(dp[ultima], dq[ultima], interiores, residuo);
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
  Plano etiquetas(cantidad);
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
