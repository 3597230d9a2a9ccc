// velarno-cli: runs one threshold method on a picture from the command line, as the window
// would after opening it, and prints the method's trace (or a JSON object), optionally scored
// against a reference; `velarno-cli lote` runs many methods on many pictures (cli/lote.h).
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <QCoreApplication>
#include <QStringList>

#include "app/espacio_trabajo.h"
#include "cli/imagenes.h"
#include "cli/lote.h"
#include "cli/opciones.h"
#include "cli/salida.h"
#include "methods/entorno_simple.h"
#include "platform/escritor.h"
#include "platform/superficie_qimage.h"

namespace {

constexpr int kTerminado = 0;
constexpr int kMalUso = 2;
constexpr int kSinFichero = 3;
constexpr int kRechazado = 4;

// Qt's own warnings (a decoder's complaints about a file) are English and not for the user:
// stderr carries only this program's Spanish messages.
void callarQt(QtMsgType tipo, const QMessageLogContext&, const QString& mensaje) {
  if (tipo == QtFatalMsg) std::cerr << mensaje.toStdString() << '\n';
}

// A box text for the terminal: its carriage returns (alone or before a line feed) as line
// breaks.
std::string paraTerminal(const std::string& texto) {
  std::string salida;
  for (size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] == '\r') {
      salida += '\n';
      if (i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
    } else {
      salida += texto[i];
    }
  }
  return salida;
}

int ejecutar(const QStringList& argumentos) {
  using namespace velarno;
  if (argumentos.size() == 1 &&
      (argumentos[0] == QLatin1String("--help") || argumentos[0] == QLatin1String("-h"))) {
    std::cout << textoUso();
    return kTerminado;
  }
  if (!argumentos.isEmpty() && argumentos[0] == QLatin1String("lote"))
    return ejecutarLote(argumentos.mid(1));
  Opciones opciones;
  if (const std::string error = analizarArgumentos(argumentos, opciones); !error.empty()) {
    std::cerr << error << '\n' << textoUso();
    return kMalUso;
  }

  // Open the picture as the window does, then run the method on the workspace's record with
  // the scroll bar at --umbral, as after opening the picture in the window.
  SuperficieQImage gris(QImage::Format_Grayscale8, Qt::white);
  SuperficieQImage binarizada(QImage::Format_Grayscale8, Qt::white);
  EspacioTrabajo espacio(gris, binarizada);
  if (const std::string error = leerImagen(opciones.entrada, espacio); !error.empty()) {
    std::cerr << error << '\n';
    return kSinFichero;
  }
  espacio.calcularHistograma();
  if (opciones.ecualizar) espacio.ecualizar();
  espacio.fijarUmbral(opciones.umbral);
  const DatosImagen& imagen = espacio.datos();
  // The binarized picture is only read to be written, counted for JSON or scored; otherwise
  // it stays 0 x 0, so drawing it costs nothing.
  if (opciones.json || !opciones.salida.isEmpty() || !opciones.referencia.isEmpty())
    binarizada.redimensionar(imagen.ancho, imagen.alto);
  // The reference is read and its size checked before the run, so a bad one prints nothing.
  if (!opciones.referencia.isEmpty()) {
    bool ilegible = false;
    if (const std::string error = leerReferencia(opciones.referencia, espacio, ilegible);
        !error.empty()) {
      std::cerr << error << '\n';
      return kSinFichero;
    }
  }

  EntornoSimple entorno(espacio.datos(), opciones.respuestas, opciones.umbral);
  entorno.setBinarizada(&binarizada);
  for (const auto& [control, texto] : opciones.textos) entorno.setTexto(control, texto);
  const Fin fin = espacio.ejecutar(*opciones.metodo, entorno, opciones.paso);
  const bool rechazado = fin == Fin::Rechazado;

  // A refused run writes no picture; the files are written before anything is printed, so a
  // failed write prints nothing on stdout.
  if (!rechazado) {
    const QImage grises(imagen.pixeles.planoGris(), imagen.ancho, imagen.alto, imagen.ancho,
                        QImage::Format_Grayscale8);
    const std::pair<const QString*, const QImage*> salidas[] = {
        {&opciones.gris, &grises}, {&opciones.salida, &binarizada.qimage()}};
    for (const auto& [ruta, figura] : salidas) {
      if (ruta->isEmpty()) continue;
      if (!escribirImagen(*figura, *ruta, *formatoPorExtension(*ruta))) {
        std::cerr << "No se puede escribir el fichero «" << ruta->toStdString() << "».\n";
        return kSinFichero;
      }
    }
  }

  const std::vector<std::string>& traza = entorno.traza().lineas();
  std::optional<Evaluacion> evaluacion;
  if (espacio.referencia() && !rechazado)
    evaluacion = evaluarDibujada(binarizada, *espacio.referencia());
  if (opciones.json) {
    ResultadoJson r;
    r.ancho = imagen.ancho;
    r.alto = imagen.alto;
    r.metodo = opciones.metodo->id;
    // The manual threshold reports the scroll bar's value; a method, what it published.
    if (opciones.metodo->ejecutar == nullptr)
      r.umbral = espacio.umbral();
    else if (fin == Fin::Publicado)
      r.umbral = entorno.umbralPublicado();
    r.traza = traza;
    r.mensajes = entorno.dialogos().mensajes();
    r.negros = binarizada.negros();
    r.evaluacion = evaluacion;
    std::cout << objetoJson(r) << '\n';
  } else {
    for (const std::string& linea : traza) std::cout << linea << '\n';
    if (evaluacion) std::cout << lineaEvaluacion(*evaluacion) << '\n';
  }
  std::cout.flush();

  if (rechazado) {
    const auto& mensajes = entorno.dialogos().mensajes();
    if (!mensajes.empty()) std::cerr << paraTerminal(mensajes.back().texto) << '\n';
    return kRechazado;
  }
  return kTerminado;
}

}  // namespace

int main(int argc, char* argv[]) {
  qInstallMessageHandler(callarQt);
  QCoreApplication aplicacion(argc, argv);
  QStringList argumentos = QCoreApplication::arguments();
  argumentos.removeFirst();
  return ejecutar(argumentos);
}
