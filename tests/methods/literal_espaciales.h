#pragma once

// Slow, literal versions of the three spatial methods, written loop for loop as the methods
// are defined, for checking the fast ones. They add only the same guards the fast methods have
// (path stops at the last row, refinement bounded at 1,000 passes, no 0/0 for a single level)
// and assume valid inputs (the refusals are tested on their own).

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "methods/entorno.h"
#include "methods/numeros.h"
#include "methods/relajacion.h"

namespace velarno::literal {

inline Fin Thrdd(Entorno& entorno, bool& paso) {
  DatosImagen& imagen = entorno.imagen();
  Pixeles& px = imagen.pixeles;
  const char sep = entorno.separadorDecimal();
  const double pct = *aDouble(entorno.texto("CPct"), sep);
  if (paso) {
    for (int32_t x = 0; x < imagen.ancho; ++x)
      for (int32_t y = 0; y < imagen.alto; ++y) px.setNegro(x, y, false);
    entorno.dibujarBinarizada();
  }
  const float total = static_cast<float>(imagen.ancho) * static_cast<float>(imagen.alto);
  const int w = imagen.ancho;
  const int n = static_cast<int>(redondear(w / 8.0));
  double mi = 127.0 * n;
  Traza& traza = entorno.traza();
  traza.limpiar();
  traza.agregar("Iniciando Algoritmo Moves Averages. (pct = " + textoDouble(pct, sep) + ")");
  traza.agregar("===============================================");
  traza.agregar("");
  traza.agregar("nº total de pixels: " + textoSingle(total, sep));
  traza.agregar("");
  int col = 0, row = 0, dir = 1;
  const int64_t fin = redondear(static_cast<double>(total - static_cast<float>(w)));
  for (int64_t i = 0; i <= fin; ++i) {
    if (col >= w - 1) {
      col = w - 1;
      row = row + 1;
      dir = -1;
    } else if (col < 0) {
      row = row + 1;
      col = 0;
      dir = 1;
    }
    if (row >= imagen.alto) break;
    const int gi = px.gris(col, row);
    mi = mi - mi / n + gi;
    const double comparacion = (mi / n) * (100 - pct) / 100;
    px.setNegro(col, row, gi < comparacion);
    const std::string s = gi < comparacion ? "Negro" : "Blanco";
    if (paso) {
      const std::string l1 =
          "Pixel[" + textoEntero(row) + "," + textoEntero(col) + "] (gi): " + textoEntero(gi);
      traza.agregar(l1);
      traza.agregar("Mi: " + textoDouble(mi, sep));
      traza.agregar("n: " + textoEntero(n));
      traza.agregar("valor de comparación: " + textoDouble(comparacion, sep));
      traza.agregar("Será convertido a " + s);
      traza.agregar("");
      const std::string pregunta = l1 + "\rMi: " + textoDouble(mi, sep) + "\rn: " + textoEntero(n) +
                                   "\rvalor de comparación: " + textoDouble(comparacion, sep) +
                                   "\r\rSerá convertido a " + s + "\r\r¿Continuar Paso a paso?";
      if (entorno.dialogos().preguntar("Paso a paso", pregunta) == kNo) {
        paso = false;
        traza.agregar("");
        traza.agregar("Paso a paso cancelado");
        traza.agregar("");
      }
      entorno.dibujarBinarizada();
    }
    col = col + dir;
  }
  traza.agregar("");
  traza.agregar("Algoritmo Moving averages finalizado.");
  entorno.dibujarBinarizada();
  return Fin::Dibujado;
}

inline int local2(const DatosImagen& imagen, int rmin, int rmax, int cmin, int cmax,
                  bool& estable) {
  int64_t m = 0, n = 0;
  for (int i = rmin; i <= rmax - 1; ++i)
    for (int j = cmin; j <= cmax - 1; ++j) {
      m = m + imagen.pixeles.gris(j, i);
      n = n + 1;
    }
  m = redondear(static_cast<double>(m) / static_cast<double>(n));
  const auto& h = imagen.histograma;
  bool stop = false;
  int64_t told = 0;
  int pasadas = 0;
  estable = true;
  do {
    if (pasadas == 1000) {
      estable = false;
      return static_cast<int>(m);
    }
    ++pasadas;
    told = m;
    int64_t a = 0, b = 0;
    for (int64_t i = 0; i <= told; ++i) {
      a += i * h[static_cast<size_t>(i)];
      b += h[static_cast<size_t>(i)];
    }
    b = b + b;
    if (b == 0) {
      if (told >= 255) {
        estable = false;
        return 255;
      }
      m = m + 1;
      stop = true;
    }
    if (!stop) {
      int64_t c = 0, d = 0;
      for (int64_t i = told + 1; i <= 255; ++i) {
        c += i * h[static_cast<size_t>(i)];
        d += h[static_cast<size_t>(i)];
      }
      if (2 * d == 0) {
        m = m - 1;
      } else {
        m = redondear(static_cast<double>(a) / static_cast<double>(b) +
                      static_cast<double>(c) / static_cast<double>(2 * d));
      }
      stop = false;
    }
  } while (m != told);
  return static_cast<int>(m);
}

inline Fin RegionalThreshold(Entorno& entorno, bool& paso) {
  DatosImagen& imagen = entorno.imagen();
  Traza& traza = entorno.traza();
  Dialogos& dialogos = entorno.dialogos();
  const bool guardado = paso;
  const int ancho = imagen.ancho;
  const int alto = imagen.alto;
  std::vector<int> umbral(static_cast<size_t>(ancho * alto), 0);
  traza.limpiar();
  traza.agregar("Iniciando Algoritmo Regional Thresholds.");
  traza.agregar("========================================");
  traza.agregar("");
  dialogos.informar("Atencion", "Este algoritmos puede tardar varios minutos en ejecutarse", 64);
  bool sinAsentar = false;
  for (int r = 10; r <= alto - 10; ++r)
    for (int c = 10; c <= ancho - 10; ++c) {
      bool estable = true;
      const int t = local2(imagen, r - 10, r + 10, c - 10, c + 10, estable);
      if (!estable) sinAsentar = true;
      umbral[static_cast<size_t>(r * ancho + c)] = t;
      if (paso) {
        const std::string linea = "Valor para el pixel (" + textoEntero(r) + "," + textoEntero(c) +
                                  "): " + textoEntero(t);
        traza.agregar(linea);
        traza.agregar("");
        if (dialogos.preguntar("Paso a paso", linea) == kNo) {
          traza.agregar("");
          traza.agregar("Paso a paso cancelado.");
          traza.agregar("");
          paso = false;
        }
      }
    }
  paso = guardado;
  for (int r = 0; r <= alto - 1; ++r)
    for (int c = 0; c <= ancho - 1; ++c) {
      const int g = imagen.pixeles.gris(c, r);
      const int t = umbral[static_cast<size_t>(r * ancho + c)];
      imagen.pixeles.setNegro(c, r, g < t);
      const std::string s = g < t ? "Negro" : "Blanco";
      if (paso) {
        const std::string pixel =
            "Pixel (" + textoEntero(r) + "," + textoEntero(c) + "): " + textoEntero(g);
        traza.agregar(pixel);
        traza.agregar("Valor local: " + textoEntero(t));
        traza.agregar("Pixel convertido a: " + s);
        traza.agregar("");
        if (dialogos.preguntar("Paso a paso", pixel + "\rValor local: " + textoEntero(t) +
                                                  "\r\rPixel convertido a: " + s) == kNo) {
          paso = false;
          traza.agregar("");
          traza.agregar("paso a paso cancelado");
          traza.agregar("");
        }
      }
    }
  entorno.dibujarBinarizada();
  if (sinAsentar)
    traza.agregar(
        "Aviso: en algunas ventanas el umbral no se estabilizó en 1000 pasadas; se usa su "
        "último valor.");
  traza.agregar("Algoritmo Regional Thresholds Finalizado.");
  return Fin::Dibujado;
}

// Relaxation exactly as defined: arrays of (ancho + 1) x (alto + 1), labels in the record's
// grey levels, a copy of the whole record restored at the end. The neighbourhood statistics
// are the method's plain meanminmax, which the fast start-up is checked against on its own.
class Relajacion {
 public:
  explicit Relajacion(Entorno& entorno) : e_(entorno), img_(entorno.imagen()) {}

  Fin ejecutar() {
    const DatosImagen guardado = img_;
    Traza& traza = e_.traza();
    traza.limpiar();
    traza.agregar("Atención: Este algoritmos puede tardar varios minutos en ejecutarse");
    traza.agregar("");
    e_.dialogos().informar("Atencion", "Este algoritmos puede tardar varios minutos en ejecutarse",
                           64);
    traza.agregar("Iniciando Algoritmo de Relajacion");
    traza.agregar("=================================");
    traza.agregar("");
    Matriz p = crear();
    Matriz q = crear();
    traza.agregar("Asignamiento de pixeles por medio de clases " + e_.texto("MetRelajacion"));
    traza.agregar("");
    assign_class(p, q);
    thresh(p, q);
    int pasadas = 0, estancadas = 0;
    double residuo = 0, mejor = 10000;
    do {
      residuo = update(p, q);
      pasadas = pasadas + 1;
      traza.agregar("Iteration: " + textoEntero(pasadas) + "\r" +
                    "residuo: " + textoDouble(residuo, e_.separadorDecimal()));
      traza.agregar("");
      if (residuo < mejor) {
        mejor = residuo;
        estancadas = 1;
      } else if (std::fabs(residuo - mejor) < 0.0001) {
        if (estancadas > 2) break;
        estancadas = estancadas + 1;
      }
      thresh(p, q);
      if (pasadas >= 100) break;
    } while (residuo > 1.0);
    thresh(p, q);
    for (int x = 0; x <= img_.ancho - 1; ++x)
      for (int y = 0; y <= img_.alto - 1; ++y)
        img_.pixeles.setNegro(x, y, img_.pixeles.gris(x, y) != 0);
    traza.agregar("Algoritmo de Relajacion Finalizado");
    e_.dibujarBinarizada();
    img_ = guardado;
    return Fin::Dibujado;
  }

  using Matriz = std::vector<std::vector<double>>;

  Matriz crear() const {
    return Matriz(static_cast<size_t>(img_.ancho + 1),
                  std::vector<double>(static_cast<size_t>(img_.alto + 1), 0.0));
  }

  static double fR(int l1, int l2) { return l1 == l2 ? 0.9 : -0.9; }

  double mean() const {
    int64_t suma = 0;
    for (int x = 0; x <= img_.ancho - 1; ++x)
      for (int y = 0; y <= img_.alto - 1; ++y) suma = suma + img_.pixeles.gris(x, y);
    const float pixeles = static_cast<float>(img_.alto) * static_cast<float>(img_.ancho);
    return static_cast<double>(suma) /
           static_cast<double>(static_cast<int32_t>(std::nearbyint(pixeles)));
  }

  void minmax(double& gmin, double& gmax) const {
    gmin = img_.pixeles.gris(0, 0);
    gmax = gmin;
    for (int x = 0; x <= img_.ancho - 1; ++x)
      for (int y = 0; y <= img_.alto - 1; ++y) {
        const double g = img_.pixeles.gris(x, y);
        if (g < gmin)
          gmin = g;
        else if (g > gmax)
          gmax = g;
      }
  }

  void assign_class(Matriz& p, Matriz& q) const {
    if (e_.texto("MetRelajacion") == "Rosenfeld") {
      const double m = mean();
      double gmin = 0, gmax = 0;
      minmax(gmin, gmax);
      const double d1 = (m - gmin) * 2;
      const double d2 = (gmax - m) * 2;
      for (int x = 0; x <= img_.ancho - 1; ++x)
        for (int y = 0; y <= img_.alto - 1; ++y) {
          const double g = img_.pixeles.gris(x, y);
          if (g <= m) {
            p[x][y] = d1 != 0 ? (m - g) / d1 + 0.5 : 0.5;  // one level: no 0/0
            q[x][y] = 1 - p[x][y];
          } else {
            q[x][y] = (g - m) / d2 + 0.5;
            p[x][y] = 1 - q[x][y];
          }
        }
    } else {
      for (int x = 0; x <= img_.ancho - 1; ++x)
        for (int y = 0; y <= img_.alto - 1; ++y) {
          p[x][y] = 0.5;
          q[x][y] = 0.5;
        }
      for (int x = 0; x <= img_.ancho - 1; ++x)
        for (int y = 0; y <= img_.alto - 1; ++y) {
          double m = 0, xmin = 0, xmax = 0;
          meanminmax(img_, x, y, m, xmin, xmax);  // the plain window statistics
          const double d1 = (m - xmin) * 2;
          const double d2 = (xmax - m) * 2;
          const double g = img_.pixeles.gris(x, y);
          if (g <= m) {
            if (d1 != 0) p[x][y] = (m - g) / d1 + 0.5;
            q[x][y] = 1 - p[x][y];
          } else {
            if (d2 != 0) q[x][y] = (g - m) / d2 + 0.5;
            p[x][y] = 1 - q[x][y];
          }
        }
    }
  }

  static double fQ(const Matriz& p, const Matriz& q, int r, int c, int clase) {
    double s = 0;
    for (int i = r - 1; i <= r + 1; ++i)
      for (int j = c - 1; j <= c + 1; ++j)
        if (!(i == r && j == c)) s = (fR(clase, 0) * p[i][j] + s) + fR(clase, 1) * q[i][j];
    return s / 8;
  }

  double update(Matriz& p, Matriz& q) const {
    Matriz pn = crear();
    Matriz qn = crear();
    for (int x = 1; x <= img_.ancho - 2; ++x)
      for (int y = 1; y <= img_.alto - 2; ++y) {
        const double a0 = 1 + fQ(p, q, x, y, 0);
        const double a1 = 1 + fQ(p, q, x, y, 1);
        const double den = a1 * q[x][y] + a0 * p[x][y];
        pn[x][y] = a0 * p[x][y] / den;
        qn[x][y] = a1 * q[x][y] / den;
      }
    double residuo = 0;
    for (int x = 1; x <= img_.ancho - 2; ++x)
      for (int y = 1; y <= img_.alto - 2; ++y) {
        residuo = (std::fabs(p[x][y] - pn[x][y]) + residuo) + std::fabs(q[x][y] - qn[x][y]);
        p[x][y] = pn[x][y];
        q[x][y] = qn[x][y];
      }
    return residuo;
  }

  void thresh(const Matriz& p, const Matriz& q) {
    for (int x = 0; x <= img_.ancho - 1; ++x)
      for (int y = 0; y <= img_.alto - 1; ++y)
        img_.pixeles.setGris(x, y, p[x][y] > q[x][y] ? 255 : 0);
    e_.dibujarBinarizada();
  }

 private:
  Entorno& e_;
  DatosImagen& img_;
};

}  // namespace velarno::literal
