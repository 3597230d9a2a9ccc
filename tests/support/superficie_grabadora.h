#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "image/superficie.h"

namespace velarno {

// A recording picture surface for tests: a raster of `ancho` x `alto` colours plus the list of
// drawing commands in the order they came (scale, line width, lines in user coordinates with
// their colour and width, fonts, texts, clears, bulk writes), so a drawing's geometry can be
// compared exactly. With `conFilas` it also offers its rows as Qt's 32-bit colours, like a
// loaded picture, so the bulk reading path can be exercised.
class SuperficieGrabadora : public Superficie {
 public:
  // One recorded command; `orden` names it ("escala", "grosor", "linea", "fuente", "texto",
  // "limpiar", "grises", "blancoNegro").
  struct Orden {
    explicit Orden(std::string nombre) : orden(std::move(nombre)) {}
    std::string orden;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // escala: izquierda, arriba, derecha, abajo
    Color color = 0;
    int grosor = 0;
    std::string texto;  // texto: the text; fuente: the font name
    double puntos = 0;
    bool negrita = false;
  };

  explicit SuperficieGrabadora(int32_t ancho = 0, int32_t alto = 0, Color fondo = kBlanco,
                               bool conFilas = false)
      : ancho_(ancho),
        alto_(alto),
        fondo_(fondo),
        conFilas_(conFilas),
        raster_(static_cast<size_t>(ancho) * static_cast<size_t>(alto), aRGB32(fondo)) {}

  int32_t anchoPixeles() const override { return ancho_; }
  int32_t altoPixeles() const override { return alto_; }
  Color leerColor(int32_t x, int32_t y) const override {
    ++lecturas_;
    if (!dentro(x, y)) return -1;
    const uint32_t p = raster_[indice(x, y)];
    return static_cast<Color>(((p >> 16) & 255U) | (p & 0xFF00U) | ((p & 255U) << 16));
  }
  void ponerPixel(int32_t x, int32_t y, Color color) override {
    ++escrituras_;
    if (dentro(x, y)) raster_[indice(x, y)] = aRGB32(color);
  }
  void limpiar() override {
    raster_.assign(raster_.size(), aRGB32(fondo_));
    ordenes_.push_back(Orden("limpiar"));
  }
  void escala(double izquierda, double arriba, double derecha, double abajo) override {
    Orden o("escala");
    o.x1 = izquierda;
    o.y1 = arriba;
    o.x2 = derecha;
    o.y2 = abajo;
    ordenes_.push_back(o);
  }
  int grosorLinea() const override { return grosor_; }
  void setGrosorLinea(int grosor) override {
    grosor_ = grosor;
    Orden o("grosor");
    o.grosor = grosor;
    ordenes_.push_back(o);
  }
  void linea(double x1, double y1, double x2, double y2, Color color) override {
    Orden o("linea");
    o.x1 = x1;
    o.y1 = y1;
    o.x2 = x2;
    o.y2 = y2;
    o.color = color;
    o.grosor = grosor_;
    ordenes_.push_back(o);
  }
  void fuente(const std::string& nombre, double puntos, bool negrita) override {
    Orden o("fuente");
    o.texto = nombre;
    o.puntos = puntos;
    o.negrita = negrita;
    ordenes_.push_back(o);
  }
  void texto(double x, double y, const std::string& texto) override {
    Orden o("texto");
    o.x1 = x;
    o.y1 = y;
    o.texto = texto;
    ordenes_.push_back(o);
  }
  void escribirGrises(const uint8_t* gris, size_t paso, int32_t ancho, int32_t alto) override {
    Orden o("grises");
    o.x2 = ancho;
    o.y2 = alto;
    ordenes_.push_back(o);
    for (int32_t y = 0; y < alto; ++y)
      for (int32_t x = 0; x < ancho; ++x) {
        const uint8_t g = gris[static_cast<size_t>(y) * paso + static_cast<size_t>(x)];
        if (dentro(x, y)) raster_[indice(x, y)] = aRGB32(rgb(g, g, g));
      }
  }
  void escribirBlancoNegro(const uint8_t* negro, size_t paso, int32_t ancho,
                           int32_t alto) override {
    Orden o("blancoNegro");
    o.x2 = ancho;
    o.y2 = alto;
    ordenes_.push_back(o);
    for (int32_t y = 0; y < alto; ++y)
      for (int32_t x = 0; x < ancho; ++x) {
        const bool n = negro[static_cast<size_t>(y) * paso + static_cast<size_t>(x)] != 0;
        if (dentro(x, y)) raster_[indice(x, y)] = aRGB32(n ? kNegro : kBlanco);
      }
  }
  const uint32_t* filaRGB32(int32_t y) const override {
    if (!conFilas_ || y < 0 || y >= alto_) return nullptr;
    return raster_.data() + indice(0, y);
  }

  // The recorded commands.
  const std::vector<Orden>& ordenes() const { return ordenes_; }
  void olvidarOrdenes() { ordenes_.clear(); }
  // The commands as text, one per line joined with '\n', numbers with up to nine significant
  // digits (exact for Singles), colours as 0xBBGGRR in hex: "escala 0 120 301 0", "grosor 1",
  // "linea (20,10)-(20,110) 000000 1", "fuente arial 8 negrita", "texto (10,120) Nivel",
  // "limpiar", "grises 3x2", "blancoNegro 3x2".
  std::string guion() const {
    std::string s;
    for (const Orden& o : ordenes_) {
      if (!s.empty()) s += '\n';
      s += describir(o);
    }
    return s;
  }
  // Only the commands named `orden`, as guion() writes them.
  std::string guion(const std::string& orden) const {
    std::string s;
    for (const Orden& o : ordenes_) {
      if (o.orden != orden) continue;
      if (!s.empty()) s += '\n';
      s += describir(o);
    }
    return s;
  }
  static std::string describir(const Orden& o) {
    if (o.orden == "escala")
      return "escala " + num(o.x1) + " " + num(o.y1) + " " + num(o.x2) + " " + num(o.y2);
    if (o.orden == "grosor") return "grosor " + std::to_string(o.grosor);
    if (o.orden == "linea") {
      char color[8];
      std::snprintf(color, sizeof color, "%06X", static_cast<unsigned>(o.color) & 0xFFFFFFU);
      return "linea (" + num(o.x1) + "," + num(o.y1) + ")-(" + num(o.x2) + "," + num(o.y2) + ") " +
             color + " " + std::to_string(o.grosor);
    }
    if (o.orden == "fuente")
      return "fuente " + o.texto + " " + num(o.puntos) + (o.negrita ? " negrita" : " normal");
    if (o.orden == "texto") return "texto (" + num(o.x1) + "," + num(o.y1) + ") " + o.texto;
    if (o.orden == "grises" || o.orden == "blancoNegro")
      return o.orden + " " + num(o.x2) + "x" + num(o.y2);
    return o.orden;
  }

  // The raster as grey levels, row after row (the red byte of each pixel).
  std::vector<uint8_t> rojos() const {
    std::vector<uint8_t> v(raster_.size());
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint8_t>((raster_[i] >> 16) & 255U);
    return v;
  }
  // Calls of the one-pixel operations, to check that a hot path used the bulk ones.
  int64_t lecturas() const { return lecturas_; }
  int64_t escrituras() const { return escrituras_; }

 private:
  static uint32_t aRGB32(Color c) {
    return 0xFF000000U | (static_cast<uint32_t>(c & 255) << 16) |
           (static_cast<uint32_t>((c >> 8) & 255) << 8) | static_cast<uint32_t>((c >> 16) & 255);
  }
  static std::string num(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.9g", v);
    return b;
  }
  bool dentro(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < ancho_ && y < alto_; }
  size_t indice(int32_t x, int32_t y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(ancho_) + static_cast<size_t>(x);
  }

  int32_t ancho_;
  int32_t alto_;
  Color fondo_;
  bool conFilas_;
  std::vector<uint32_t> raster_;
  std::vector<Orden> ordenes_;
  int grosor_ = 1;
  mutable int64_t lecturas_ = 0;
  int64_t escrituras_ = 0;
};

}  // namespace velarno
