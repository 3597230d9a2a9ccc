// velarno-cli: runs one threshold method on a picture from the command line, as the window
// would after opening it, and prints the method's trace (or a JSON object).
#include <iostream>
#include <string>
#include <string_view>

#include <QCoreApplication>
#include <QStringList>

#include "cli/entorno_cli.h"
#include "cli/opciones.h"
#include "cli/salida.h"
#include "image/representaciones.h"
#include "image/transformaciones.h"
#include "platform/cargador.h"
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
  Opciones opciones;
  if (const std::string error = analizarArgumentos(argumentos, opciones); !error.empty()) {
    std::cerr << error << '\n' << textoUso();
    return kMalUso;
  }

  // Open the picture as the window does: decode, hold it in a picture surface, size the record
  // from it, read every pixel as a grey level, compute the histogram.
  DatosImagen imagen;
  {
    ResultadoCarga carga = decodificarImagen(opciones.entrada);
    if (!carga.ok()) {
      std::cerr << carga.error.toStdString() << '\n';
      return kSinFichero;
    }
    SuperficieQImage buffer(QImage::Format_RGB32, Qt::white);
    buffer.setImagen(carga.imagen);
    carga.imagen = QImage();
    dimensionarImagen(buffer, imagen);
    leerPixeles(buffer, imagen);
  }
  calcularHistograma(imagen);
  if (opciones.ecualizar) {
    ecualizar(imagen);
    calcularHistograma(imagen);
  }

  EntornoCli entorno(imagen, opciones.respuestas, opciones.umbral);
  for (const auto& [control, texto] : opciones.textos) entorno.setTexto(control, texto);
  bool paso = opciones.paso;
  const Fin fin = opciones.metodo->ejecutar(entorno, paso);
  const bool rechazado = fin == Fin::Rechazado;

  // A refused run writes no picture; the files are written before anything is printed, so a
  // failed write prints nothing on stdout.
  if (!rechazado) {
    if (!opciones.gris.isEmpty()) {
      const QImage gris(imagen.pixeles.planoGris(), imagen.ancho, imagen.alto, imagen.ancho,
                        QImage::Format_Grayscale8);
      if (!escribirGrises(gris, opciones.gris, *formatoPorExtension(opciones.gris))) {
        std::cerr << "No se puede escribir el fichero «" << opciones.gris.toStdString() << "».\n";
        return kSinFichero;
      }
    }
    if (!opciones.salida.isEmpty() &&
        !escribirGrises(entorno.binarizada().qimage(), opciones.salida,
                        *formatoPorExtension(opciones.salida))) {
      std::cerr << "No se puede escribir el fichero «" << opciones.salida.toStdString() << "».\n";
      return kSinFichero;
    }
  }

  const std::vector<std::string>& traza = entorno.traza().lineas();
  if (opciones.json) {
    ResultadoJson r;
    r.ancho = imagen.ancho;
    r.alto = imagen.alto;
    r.metodo = opciones.metodo->nombre;
    // The `umbral` method reports the scroll bar's value; a method, what it published.
    if (std::string_view(opciones.metodo->nombre) == "umbral")
      r.umbral = entorno.umbral();
    else if (fin == Fin::Publicado)
      r.umbral = entorno.umbralPublicado();
    r.traza = traza;
    r.mensajes = entorno.dialogos().mensajes();
    r.negros = entorno.negros();
    std::cout << objetoJson(r) << '\n';
  } else {
    for (const std::string& linea : traza) std::cout << linea << '\n';
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
