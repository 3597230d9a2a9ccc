// Latency of what a user does in the real main window, driven on Qt's offscreen platform with
// scripted dialogs, each action timed from the command to the repainted views:
// - opening a JPEG, PNG and BMP picture until the picture, grey image and histogram are painted,
//   beside decoding the same file alone;
// - one threshold change until the binarized view, the overlay on the grey view, the chart and
//   the shares are repainted;
// - a straight Mean, Regional and Relaxation run from the click to the repainted result, beside
//   the same run in the headless context on a copy of the record;
// - "Comparar métodos" until its last tile is filled, beside the slowest tile run alone.
// Every sample is a whole user action of up to several seconds, so this is a plain program that
// prints the median and the minimum of N runs rather than a Google Benchmark.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "app/catalogo.h"
#include "bench/foto_sintetica.h"
#include "image/transformaciones.h"
#include "methods/dialogos.h"
#include "methods/entorno_simple.h"
#include "platform/cargador.h"
#include "shell/ayudas_ventana.h"
#include "shell/comparar.h"
#include "shell/dialogos_qt.h"
#include "shell/vista_imagen.h"
#include "support/ventana_prueba.h"

namespace velarno {
namespace {

using Reloj = std::chrono::steady_clock;

double msDesde(Reloj::time_point inicio) {
  return std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count();
}

[[noreturn]] void fallar(const std::string& que) {
  std::fprintf(stderr, "velarno_latencia: %s\n", que.c_str());
  std::exit(1);
}

void avisar(const std::string& que) {
  std::fprintf(stderr, "velarno_latencia: %s\n", que.c_str());
  std::fflush(stderr);
}

struct Muestras {
  std::vector<double> ms;

  double mediana() const {
    if (ms.empty()) return NAN;
    std::vector<double> orden = ms;
    std::sort(orden.begin(), orden.end());
    const size_t n = orden.size();
    return n % 2 == 1 ? orden[n / 2] : (orden[n / 2 - 1] + orden[n / 2]) / 2;
  }
  double minimo() const { return ms.empty() ? NAN : *std::min_element(ms.begin(), ms.end()); }
};

// A picture size by its megapixels: 12 and 24 are the sizes of the goals (4:3 and 3:2 camera
// frames); any other keeps the 4:3 shape.
struct Tamano {
  int mp;
  int ancho;
  int alto;
};

std::optional<Tamano> tamanoDe(int mp) {
  if (mp == 12) return Tamano{12, 4000, 3000};
  if (mp == 24) return Tamano{24, 6000, 4000};
  if (mp < 1 || mp > 96) return std::nullopt;
  const int ancho = static_cast<int>(std::lround(std::sqrt(mp * 1e6 * 4 / 3)));
  return Tamano{mp, ancho, static_cast<int>(std::lround(ancho * 0.75))};
}

struct Opciones {
  int repeticiones = 11;
  std::vector<int> tamanos = {12, 24};
  bool abrir = true;
  bool umbral = true;
  bool metodos = true;
  bool comparar = true;
};

std::vector<std::string> partir(const std::string& lista) {
  std::vector<std::string> partes;
  size_t inicio = 0;
  while (inicio <= lista.size()) {
    const size_t coma = lista.find(',', inicio);
    const size_t fin = coma == std::string::npos ? lista.size() : coma;
    if (fin > inicio) partes.push_back(lista.substr(inicio, fin - inicio));
    inicio = fin + 1;
  }
  return partes;
}

std::optional<int> entero(const std::string& texto) {
  char* fin = nullptr;
  const long valor = std::strtol(texto.c_str(), &fin, 10);
  if (texto.empty() || *fin != '\0' || valor < 1 || valor > 100000) return std::nullopt;
  return static_cast<int>(valor);
}

void uso() {
  std::fprintf(stderr,
               "usage: velarno_latencia [--repeticiones N] [--tamanos 12,24]\n"
               "                        [--acciones abrir,umbral,metodos,comparar]\n"
               "       velarno_latencia --escribir-jpeg FICHERO MP\n");
}

// One measured row of the table: what was timed, at which size.
struct Fila {
  std::string accion;
  int mp;
  Muestras muestras;
};

class Banco {
 public:
  explicit Banco(const Opciones& opciones) : opciones_(opciones) {}

  void medir(const Tamano& tamano);
  void imprimir() const;

 private:
  std::vector<VistaImagen*> vistas() {
    return {vista("imagen"), vista("imagenGris"), vista("imagenHistograma"),
            vista("imagenBinarizada")};
  }
  VistaImagen* vista(const char* nombre) {
    auto* v = prueba_.control<VistaImagen>(nombre);
    if (!v) fallar(std::string("no view ") + nombre);
    return v;
  }
  Form1& ventana() { return prueba_.ventana; }
  void mostrar();
  void pintarPendiente();
  void comprobarSinCajas(const char* accion);
  Muestras& fila(const std::string& accion, int mp);
  const Fila* buscar(const std::string& accion, int mp) const;

  void medirAbrir(const Tamano& tamano, const QString& ruta, const char* formato);
  void medirUmbral(const Tamano& tamano);
  void medirMetodo(const Tamano& tamano, const char* id, const char* nombre);
  void medirComparar(const Tamano& tamano);
  void abrirSinMedir(const QString& ruta);

  const Opciones& opciones_;
  VentanaPrueba prueba_;
  size_t cajasVistas_ = 0;
  std::deque<Fila> filas_;  // references to its rows stay valid as rows are added
  std::string mosaicoMasLento_;
};

Muestras& Banco::fila(const std::string& accion, int mp) {
  for (Fila& f : filas_)
    if (f.accion == accion && f.mp == mp) return f.muestras;
  filas_.push_back({accion, mp, {}});
  return filas_.back().muestras;
}

const Fila* Banco::buscar(const std::string& accion, int mp) const {
  for (const Fila& f : filas_)
    if (f.accion == accion && f.mp == mp) return &f;
  return nullptr;
}

// Shows the window as a user sees it and waits until the platform has exposed it, so that
// painting really happens.
void Banco::mostrar() {
  ventana().show();
  QDeadlineTimer limite(10000);
  while (!ventana().windowHandle() || !ventana().windowHandle()->isExposed()) {
    if (limite.hasExpired()) fallar("the window was never exposed");
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  pintarPendiente();
}

// Delivers what the window has pending (layouts, deferred repaints) and paints every dirty
// widget now: a one-pixel immediate repaint of the window makes Qt paint all dirty regions at
// once. A view that still shows an older version of its surface is repainted by itself.
void Banco::pintarPendiente() {
  QCoreApplication::sendPostedEvents();
  ventana().repaint(0, 0, 1, 1);
  for (VistaImagen* v : vistas())
    if (!v->limpia() && v->versionPintadaParaPruebas() != v->superficie().version()) v->repaint();
  QCoreApplication::processEvents();
  for (VistaImagen* v : vistas())
    if (!v->limpia() && v->versionPintadaParaPruebas() != v->superficie().version())
      fallar("view " + v->objectName().toStdString() + " was not repainted");
}

// No warning box (style kEstiloExclamacion) may have appeared since the last check: it would
// mean the action failed or was refused. Notices that belong to a run (a long method's OK box)
// are answered by the script and allowed.
void Banco::comprobarSinCajas(const char* accion) {
  const std::vector<Mensaje>& cajas = prueba_.dialogos.mensajes();
  for (size_t i = cajasVistas_; i < cajas.size(); ++i)
    if (cajas[i].estilo == kEstiloExclamacion)
      fallar(std::string(accion) + ": unexpected warning box: " + cajas[i].texto);
  cajasVistas_ = cajas.size();
}

void Banco::abrirSinMedir(const QString& ruta) {
  if (!ventana().abrirFichero(ruta)) fallar("cannot open " + ruta.toStdString());
  pintarPendiente();
  comprobarSinCajas("open");
}

void Banco::medirAbrir(const Tamano& tamano, const QString& ruta, const char* formato) {
  const std::string nombre(formato);
  avisar("open " + nombre + " at " + std::to_string(tamano.mp) + " MP");
  Muestras& ventanaMs = fila("open " + nombre + " (window)", tamano.mp);
  for (int r = 0; r < opciones_.repeticiones; ++r) {
    const Reloj::time_point inicio = Reloj::now();
    if (!ventana().abrirFichero(ruta)) fallar("cannot open " + ruta.toStdString());
    pintarPendiente();
    ventanaMs.ms.push_back(msDesde(inicio));
    comprobarSinCajas("open");
    if (ventana().datos().ancho != tamano.ancho || ventana().datos().alto != tamano.alto)
      fallar("the opened record has the wrong size");
  }
  // On a worker thread as the window decodes, so that both figures meet the same thread start
  // and allocator; the decoded picture is released after the clock stops, as the window keeps
  // it.
  Muestras& decodificar = fila("decode " + nombre + " alone", tamano.mp);
  for (int r = 0; r < opciones_.repeticiones; ++r) {
    ResultadoCarga carga;
    const Reloj::time_point inicio = Reloj::now();
    std::thread decodificador([&] { carga = decodificarImagen(ruta); });
    decodificador.join();
    decodificar.ms.push_back(msDesde(inicio));
    if (!carga.ok()) fallar(carga.error.toStdString());
  }
}

void Banco::medirUmbral(const Tamano& tamano) {
  avisar("threshold change at " + std::to_string(tamano.mp) + " MP");
  // The binarized view on and the overlay on the grey view, as a user comparing both.
  if (!prueba_.ventana.findChild<QAction*>(QStringLiteral("mnuBinarizar"))->isChecked())
    ventana().procesoPulsarBinarizar();
  auto* superponer = prueba_.control<QCheckBox>("chkSuperponer");
  if (!superponer) fallar("no overlay check box");
  superponer->setChecked(true);
  pintarPendiente();
  QScrollBar* barra = prueba_.umbral();
  Muestras& ms = fila("threshold change (window)", tamano.mp);
  for (int r = 0; r < opciones_.repeticiones; ++r) {
    // Two neighbouring values, so that every run changes the threshold.
    const int valor = r % 2 == 0 ? 100 : 101;
    if (barra->value() == valor) barra->setValue(valor + 2);
    pintarPendiente();
    const uint64_t antes = vista("imagenBinarizada")->superficie().version();
    const Reloj::time_point inicio = Reloj::now();
    barra->setValue(valor);
    pintarPendiente();
    ms.ms.push_back(msDesde(inicio));
    if (vista("imagenBinarizada")->superficie().version() == antes)
      fallar("the threshold change did not redraw the binarized picture");
    if (prueba_.control<QLabel>("lblPorcentajes")->text().isEmpty())
      fallar("the shares are not shown");
  }
  comprobarSinCajas("threshold change");
}

// The catalogue row's frame shown as a user who picked it from the menu, then `repeticiones`
// straight runs from its Run button; beside them, the same run in the headless context on a
// copy of the record.
void Banco::medirMetodo(const Tamano& tamano, const char* id, const char* nombre) {
  const MetodoCatalogo* metodo = metodoPorId(id);
  if (!metodo || !metodo->botonEjecutar) fallar(std::string("no catalogue row ") + id);
  avisar(std::string(nombre) + " at " + std::to_string(tamano.mp) + " MP");
  prueba_.control<QTabWidget>("Carpetas")->setCurrentIndex(1);
  if (metodo->panel == 0) {
    prueba_.control<QTabWidget>("SSTabSimple")->setCurrentIndex(metodo->pestana);
  } else {
    QAction* entrada = prueba_.control<QAction>(QStringLiteral("mnuGen(%1)").arg(metodo->panel));
    if (!entrada) fallar("no Generacion entry");
    entrada->trigger();
  }
  pintarPendiente();
  // The core runs on a copy of the record as it is before the window's runs; each window run
  // is followed by a core run, so that both see the same state of the machine.
  DatosImagen copia = ventana().datos();
  const std::vector<uint8_t> negroInicial(copia.pixeles.planoNegro(),
                                          copia.pixeles.planoNegro() + copia.pixeles.cantidad());
  QScrollBar* barra = prueba_.umbral();
  Muestras& ventanaMs = fila(std::string(nombre) + " run (window)", tamano.mp);
  Muestras& nucleo = fila(std::string(nombre) + " run (core)", tamano.mp);
  const QString boton = QString::fromUtf8(metodo->botonEjecutar);
  for (int r = 0; r < opciones_.repeticiones; ++r) {
    // A threshold the methods never publish, so that a published one always changes it.
    barra->setValue(0);
    pintarPendiente();
    const uint64_t antes = vista("imagenBinarizada")->superficie().version();
    Reloj::time_point inicio = Reloj::now();
    ventana().ejecutarMetodo(boton, false);
    pintarPendiente();
    ventanaMs.ms.push_back(msDesde(inicio));
    if (vista("imagenBinarizada")->superficie().version() == antes)
      fallar(std::string(nombre) + " drew nothing");

    std::copy(negroInicial.begin(), negroInicial.end(), copia.pixeles.planoNegro());
    EntornoSimple entorno(copia);
    entorno.setSeparadorDecimal(separadorDecimalDelSistema());
    for (const ControlMetodo& c : metodo->controles) entorno.setTexto(c.nombre, c.inicial);
    bool paso = false;
    inicio = Reloj::now();
    const Fin fin = metodo->ejecutar(entorno, paso);
    nucleo.ms.push_back(msDesde(inicio));
    if (fin != Fin::Publicado && fin != Fin::Dibujado)
      fallar(std::string(nombre) + " ended without a result in the core");
  }
  comprobarSinCajas(nombre);
  prueba_.control<QTabWidget>("Carpetas")->setCurrentIndex(0);
  pintarPendiente();
}

// One run of a comparison tile in the headless context as the comparison's worker runs it:
// the frame's initial texts and the tile's own, from the record's black/white flags as copied.
double correrMosaico(const MosaicoComparacion& mosaico, DatosImagen& datos,
                     const std::vector<uint8_t>& negroInicial, int umbralManual) {
  std::copy(negroInicial.begin(), negroInicial.end(), datos.pixeles.planoNegro());
  EntornoSimple entorno(datos);
  entorno.setSeparadorDecimal(separadorDecimalDelSistema());
  for (const ControlMetodo& c : mosaico.metodo->controles) entorno.setTexto(c.nombre, c.inicial);
  for (const auto& [control, texto] : mosaico.mosaico->textos) entorno.setTexto(control, texto);
  bool paso = false;
  const Reloj::time_point inicio = Reloj::now();
  if (mosaico.metodo->ejecutar == nullptr)
    binarizar(datos, umbralManual);
  else
    mosaico.metodo->ejecutar(entorno, paso);
  return msDesde(inicio);
}

void Banco::medirComparar(const Tamano& tamano) {
  avisar("Comparar métodos at " + std::to_string(tamano.mp) + " MP");
  QAction* accion = prueba_.accion("mnuComparar");
  if (!accion || !accion->isEnabled()) fallar("\"Comparar métodos\" is not enabled");
  pintarPendiente();

  // Every tile once alone, to find the slowest; then each comparison in the window is followed
  // by a run of the slowest tile alone, so that both see the same state of the machine.
  DatosImagen copia = ventana().datos();
  const std::vector<uint8_t> negroInicial(copia.pixeles.planoNegro(),
                                          copia.pixeles.planoNegro() + copia.pixeles.cantidad());
  const int umbralManual = prueba_.umbral()->value();
  const std::vector<MosaicoComparacion>& mosaicos = mosaicosComparacion();
  double suma = 0;
  double peor = -1;
  size_t masLento = 0;
  for (size_t i = 0; i < mosaicos.size(); ++i) {
    const double ms = correrMosaico(mosaicos[i], copia, negroInicial, umbralManual);
    suma += ms;
    if (ms > peor) {
      peor = ms;
      masLento = i;
    }
  }
  fila("every tile once, one after another (core)", tamano.mp).ms.push_back(suma);
  mosaicoMasLento_ = mosaicos[masLento].mosaico->nombre;

  Muestras& ventanaMs = fila("Comparar métodos (window)", tamano.mp);
  Muestras& lento = fila("slowest tile alone (core)", tamano.mp);
  for (int r = 0; r < opciones_.repeticiones; ++r) {
    const Reloj::time_point inicio = Reloj::now();
    accion->trigger();
    auto* comparar = ventana().findChild<VentanaComparar*>(QStringLiteral("frmComparar"));
    if (!comparar) fallar("the comparison window did not open");
    if (!comparar->terminada()) {
      QEventLoop bucle;
      QObject::connect(comparar, &VentanaComparar::terminado, &bucle, &QEventLoop::quit);
      QTimer::singleShot(600000, &bucle, &QEventLoop::quit);
      bucle.exec();
    }
    if (!comparar->terminada()) fallar("the comparison did not end within 10 minutes");
    // The last tile's thumbnail painted.
    QCoreApplication::sendPostedEvents();
    comparar->repaint(0, 0, 1, 1);
    ventanaMs.ms.push_back(msDesde(inicio));
    comparar->close();
    QDeadlineTimer limite(30000);
    while (HiloComparar::vivosParaPruebas() > 0 ||
           ventana().findChild<VentanaComparar*>(QStringLiteral("frmComparar"))) {
      if (limite.hasExpired()) fallar("the comparison window did not close");
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    pintarPendiente();
    lento.ms.push_back(correrMosaico(mosaicos[masLento], copia, negroInicial, umbralManual));
  }
  comprobarSinCajas("Comparar métodos");
}

void Banco::medir(const Tamano& tamano) {
  if (!ventana().isVisible()) mostrar();
  avisar("writing the " + std::to_string(tamano.mp) + " MP pictures (" +
         std::to_string(tamano.ancho) + "x" + std::to_string(tamano.alto) + ")");
  QTemporaryDir carpeta;
  if (!carpeta.isValid()) fallar("cannot make a temporary folder");
  const QString jpeg = carpeta.filePath(QStringLiteral("foto.jpg"));
  const QString png = carpeta.filePath(QStringLiteral("foto.png"));
  const QString bmp = carpeta.filePath(QStringLiteral("foto.bmp"));
  {
    const QImage foto = fotoSintetica(tamano.ancho, tamano.alto);
    if (!foto.save(jpeg, "JPEG", 90) || !foto.save(png, "PNG") || !foto.save(bmp, "BMP"))
      fallar("cannot write the pictures");
  }
  if (opciones_.abrir) {
    medirAbrir(tamano, jpeg, "JPEG");
    medirAbrir(tamano, png, "PNG");
    medirAbrir(tamano, bmp, "BMP");
  }
  // The rest works on the lossless picture.
  abrirSinMedir(png);
  if (opciones_.umbral) medirUmbral(tamano);
  if (opciones_.metodos) {
    medirMetodo(tamano, "mean", "Mean");
    medirMetodo(tamano, "regional", "Regional");
    medirMetodo(tamano, "relajacion", "Relaxation");
  }
  if (opciones_.comparar) medirComparar(tamano);
}

void Banco::imprimir() const {
  std::printf("\n%-46s %5s %11s %11s %5s\n", "action", "MP", "median ms", "min ms", "runs");
  for (const Fila& f : filas_)
    std::printf("%-46s %5d %11.1f %11.1f %5zu\n", f.accion.c_str(), f.mp, f.muestras.mediana(),
                f.muestras.minimo(), f.muestras.ms.size());
  if (!mosaicoMasLento_.empty()) std::printf("slowest tile: %s\n", mosaicoMasLento_.c_str());

  // The goals' figures, from the medians.
  struct Objetivo {
    std::string nombre;
    std::string a;
    std::string b;  // empty: the figure is `a` itself
    bool diferencia;
    std::string meta;
  };
  const std::vector<Objetivo> objetivos = {
      {"open JPEG - decode alone (ms)", "open JPEG (window)", "decode JPEG alone", true, "<= 50"},
      {"open PNG - decode alone (ms)", "open PNG (window)", "decode PNG alone", true, ""},
      {"open BMP - decode alone (ms)", "open BMP (window)", "decode BMP alone", true, ""},
      {"threshold change (ms)", "threshold change (window)", "", false, "<= 8"},
      {"Mean window / core", "Mean run (window)", "Mean run (core)", false, ""},
      {"Regional window / core", "Regional run (window)", "Regional run (core)", false, ""},
      {"Relaxation window / core", "Relaxation run (window)", "Relaxation run (core)", false,
       "<= 1.1"},
      {"Comparar métodos / slowest tile", "Comparar métodos (window)", "slowest tile alone (core)",
       false, "<= 1.1"},
  };
  const std::vector<int>& tamanos = opciones_.tamanos;
  std::printf("\n%-34s", "goal (from the medians)");
  for (int mp : tamanos) std::printf(" %9d MP", mp);
  std::printf("  %s\n", "goal");
  for (const Objetivo& o : objetivos) {
    std::vector<double> valores;
    for (int mp : tamanos) {
      const Fila* a = buscar(o.a, mp);
      const Fila* b = o.b.empty() ? nullptr : buscar(o.b, mp);
      double v = NAN;
      if (a && o.b.empty())
        v = a->muestras.mediana();
      else if (a && b)
        v = o.diferencia ? a->muestras.mediana() - b->muestras.mediana()
                         : a->muestras.mediana() / b->muestras.mediana();
      valores.push_back(v);
    }
    if (std::all_of(valores.begin(), valores.end(), [](double v) { return std::isnan(v); }))
      continue;
    std::printf("%-34s", o.nombre.c_str());
    for (double v : valores) std::printf(" %12.2f", v);
    std::printf("  %s\n", o.meta.c_str());
  }
  if (tamanos.size() == 2) {
    std::printf("\nscaling, median at %d MP / median at %d MP (goal <= 2.1):\n", tamanos[1],
                tamanos[0]);
    for (const Fila& f : filas_) {
      if (f.mp != tamanos[0]) continue;
      const Fila* mayor = buscar(f.accion, tamanos[1]);
      if (!mayor) continue;
      std::printf("%-46s %6.2f\n", f.accion.c_str(),
                  mayor->muestras.mediana() / f.muestras.mediana());
    }
  }
}

int principal(int argc, char** argv) {
  Opciones opciones;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hayValor = i + 1 < argc;
    if (a == "--escribir-jpeg" && i + 2 < argc) {
      const std::optional<int> mp = entero(argv[i + 2]);
      const std::optional<Tamano> t = mp ? tamanoDe(*mp) : std::nullopt;
      if (!t) {
        uso();
        return 2;
      }
      if (!fotoSintetica(t->ancho, t->alto).save(QString::fromLocal8Bit(argv[i + 1]), "JPEG", 90))
        fallar(std::string("cannot write ") + argv[i + 1]);
      return 0;
    } else if (a == "--repeticiones" && hayValor) {
      const std::optional<int> n = entero(argv[++i]);
      if (!n) {
        uso();
        return 2;
      }
      opciones.repeticiones = *n;
    } else if (a == "--tamanos" && hayValor) {
      opciones.tamanos.clear();
      for (const std::string& parte : partir(argv[++i])) {
        const std::optional<int> mp = entero(parte);
        if (!mp || !tamanoDe(*mp)) {
          uso();
          return 2;
        }
        opciones.tamanos.push_back(*mp);
      }
      if (opciones.tamanos.empty()) {
        uso();
        return 2;
      }
    } else if (a == "--acciones" && hayValor) {
      opciones.abrir = opciones.umbral = opciones.metodos = opciones.comparar = false;
      for (const std::string& parte : partir(argv[++i])) {
        if (parte == "abrir")
          opciones.abrir = true;
        else if (parte == "umbral")
          opciones.umbral = true;
        else if (parte == "metodos")
          opciones.metodos = true;
        else if (parte == "comparar")
          opciones.comparar = true;
        else {
          uso();
          return 2;
        }
      }
    } else {
      uso();
      return 2;
    }
  }
  Banco banco(opciones);
  for (int mp : opciones.tamanos) banco.medir(*tamanoDe(mp));
  banco.imprimir();
  return 0;
}

}  // namespace
}  // namespace velarno

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  QApplication aplicacion(argc, argv);
  velarno::configurarAplicacion();
  return velarno::principal(argc, argv);
}
