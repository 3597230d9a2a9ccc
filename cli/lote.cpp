#include "cli/lote.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <set>
#include <signal.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include <QByteArray>
#include <QFile>

#include "app/catalogo.h"
#include "app/espacio_trabajo.h"
#include "cli/imagenes.h"
#include "cli/opciones.h"
#include "cli/salida.h"
#include "methods/entorno_simple.h"
#include "methods/numeros.h"
#include "platform/superficie_qimage.h"

namespace velarno {
namespace {

namespace fs = std::filesystem;

constexpr int kTerminado = 0;
constexpr int kMalUso = 2;
constexpr int kSinFichero = 3;
constexpr int kInterrumpido = 130;  // what a shell reports for a program ended by Ctrl+C
constexpr uint64_t kMaxHilos = 1024;
constexpr uint64_t kMaxPartes = 1000000;  // keeps (K - 1) · M within 64 bits
// How often a waiting worker or the writer looks at the interruption flag: a signal handler
// cannot wake a condition variable.
constexpr std::chrono::milliseconds kSondeo{50};

// Set by SIGINT and SIGTERM (a lock-free atomic may be stored from a signal handler), and when
// the output cannot be written.
std::atomic<bool> interrumpido{false};
std::atomic<bool> salidaRota{false};
static_assert(std::atomic<bool>::is_always_lock_free);

bool parar() { return interrumpido.load() || salidaRota.load(); }

void alInterrumpir(int) { interrumpido.store(true); }

// Interrupted system calls restart; a second Ctrl+C gets the default action and ends the
// program at once.
void instalarInterrupcion() {
  struct sigaction accion = {};
  accion.sa_handler = alInterrumpir;
  sigemptyset(&accion.sa_mask);
  accion.sa_flags = SA_RESTART | SA_RESETHAND;
  sigaction(SIGINT, &accion, nullptr);
  sigaction(SIGTERM, &accion, nullptr);
}

struct OpcionesLote {
  std::vector<const MetodoCatalogo*> metodos;  // in catalogue order
  std::string referencias;                     // folder, empty for none
  QString csv;                                 // file, empty for stdout
  bool jsonLineas = false;
  uint64_t hilos = 1;
  uint64_t parte = 1;  // the K-th of `partes` shares
  uint64_t partes = 1;
  std::vector<std::string> entradas;  // paths as given (bytes)
};

std::string entreComillas(const QString& texto) { return "«" + texto.toStdString() + "»"; }

std::string bytesRuta(const QString& ruta) { return QFile::encodeName(ruta).toStdString(); }
QString rutaQt(const std::string& ruta) {
  return QFile::decodeName(QByteArray::fromStdString(ruta));
}

// A whole number 1..maximo written with digits only.
std::optional<uint64_t> leerPositivo(const QString& texto, uint64_t maximo) {
  if (texto.isEmpty()) return std::nullopt;
  uint64_t valor = 0;
  for (const QChar c : texto) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    valor = valor * 10 + (c.unicode() - '0');
    if (valor > maximo) return std::nullopt;
  }
  if (valor == 0) return std::nullopt;
  return valor;
}

// Fills `o` from the arguments after "lote"; returns the Spanish message of a usage error or
// an empty text. A repeated option keeps its last value.
std::string analizarLote(const QStringList& argumentos, OpcionesLote& o) {
  static const char* const kConValor[] = {"--metodos", "--referencias", "--csv", "--hilos",
                                          "--parte"};
  std::map<std::string, QString> dadas;
  for (qsizetype i = 0; i < argumentos.size(); ++i) {
    const QString& argumento = argumentos[i];
    if (!argumento.startsWith(QLatin1String("--"))) {
      o.entradas.push_back(bytesRuta(argumento));
      continue;
    }
    if (argumento == QLatin1String("--json-lineas")) {
      o.jsonLineas = true;
      continue;
    }
    const auto conValor = std::find_if(std::begin(kConValor), std::end(kConValor),
                                       [&](const char* nombre) { return argumento == nombre; });
    if (conValor == std::end(kConValor))
      return "Opción desconocida: " + entreComillas(argumento) + ".";
    if (i + 1 >= argumentos.size())
      return std::string("Falta el valor de la opción ") + *conValor + ".";
    dadas[*conValor] = argumentos[++i];
  }

  std::set<size_t> elegidos;
  const QString metodos = dadas.count("--metodos") ? dadas["--metodos"] : QStringLiteral("todos");
  if (metodos == QLatin1String("todos")) {
    for (const MetodoCatalogo& metodo : catalogo())
      if (metodo.ejecutar != nullptr) elegidos.insert(indiceCatalogo(metodo));
  } else {
    for (const QString& id : metodos.split(QLatin1Char(','))) {
      const MetodoCatalogo* metodo = metodoPorId(id.toStdString());
      if (metodo == nullptr) return "Método desconocido: " + entreComillas(id) + ".";
      elegidos.insert(indiceCatalogo(*metodo));
    }
  }
  for (const size_t indice : elegidos) o.metodos.push_back(&catalogo()[indice]);

  if (dadas.count("--csv") && o.jsonLineas)
    return "Las opciones --csv y --json-lineas no van juntas.";
  o.csv = dadas["--csv"];
  o.referencias = dadas.count("--referencias") ? bytesRuta(dadas["--referencias"]) : "";
  o.hilos = std::max(1u, std::thread::hardware_concurrency());
  if (dadas.count("--hilos")) {
    const std::optional<uint64_t> hilos = leerPositivo(dadas["--hilos"], kMaxHilos);
    if (!hilos) {
      return "El número de hilos debe ser un número entero de 1 a " + textoEntero(kMaxHilos) +
             ": " + entreComillas(dadas["--hilos"]) + ".";
    }
    o.hilos = *hilos;
  }
  if (dadas.count("--parte")) {
    const QString& texto = dadas["--parte"];
    const qsizetype barra = texto.indexOf(QLatin1Char('/'));
    const auto k = leerPositivo(texto.left(barra), kMaxPartes);
    const auto n = leerPositivo(texto.mid(barra + 1), kMaxPartes);
    if (barra < 0 || !k || !n || *k > *n) {
      return "La parte debe escribirse K/N, con N de 1 a " + textoEntero(kMaxPartes) +
             " y K de 1 a N: " + entreComillas(texto) + ".";
    }
    o.parte = *k;
    o.partes = *n;
  }
  if (o.entradas.empty()) return "Faltan las imágenes o carpetas de entrada.";
  return {};
}

bool esImagen(const fs::path& ruta) {
  std::string extension = ruta.extension().string();
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension == ".bmp" || extension == ".gif" || extension == ".jpg" ||
         extension == ".jpeg" || extension == ".png";
}

// The files named and the pictures in the folders named (and their subfolders; links to
// folders are not followed), each path normalized ("./a.png" is "a.png"), sorted by bytes
// without repeats. A name that is no folder is taken as it is, existing or not.
std::vector<std::string> listarFicheros(const std::vector<std::string>& entradas) {
  std::vector<std::string> ficheros;
  for (const std::string& entrada : entradas) {
    const fs::path ruta = fs::path(entrada).lexically_normal();
    std::error_code error;
    if (!fs::is_directory(ruta, error)) {
      ficheros.push_back(ruta.string());
      continue;
    }
    fs::recursive_directory_iterator it(ruta, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator fin; !error && it != fin; it.increment(error)) {
      std::error_code tipo;
      if (it->is_regular_file(tipo) && esImagen(it->path()))
        ficheros.push_back(it->path().lexically_normal().string());
    }
  }
  std::sort(ficheros.begin(), ficheros.end());
  ficheros.erase(std::unique(ficheros.begin(), ficheros.end()), ficheros.end());
  return ficheros;
}

// The pictures of the reference folder (not its subfolders) by base name, the file name
// without its extension; of two with one base name, the first by bytes. nullopt when the
// folder cannot be listed.
std::optional<std::map<std::string, std::string>> listarReferencias(const std::string& carpeta) {
  std::map<std::string, std::string> referencias;
  std::error_code error;
  fs::directory_iterator it(carpeta, error);
  if (error) return std::nullopt;
  for (const fs::directory_iterator fin; !error && it != fin; it.increment(error)) {
    std::error_code tipo;
    if (!it->is_regular_file(tipo) || !esImagen(it->path())) continue;
    const std::string ruta = it->path().string();
    const auto [elemento, nueva] = referencias.emplace(it->path().stem().string(), ruta);
    if (!nueva && ruta < elemento->second) elemento->second = ruta;
  }
  return referencias;
}

// One row of the batch: a picture and a method, or a picture that cannot be read (no method).
struct Fila {
  std::string fichero;
  std::string metodo;
  std::optional<int32_t> ancho;
  std::optional<int32_t> alto;
  std::optional<int> umbral;  // published (the manual threshold: the scroll bar's value)
  std::optional<double> negro;
  std::optional<double> ms;
  std::optional<Evaluacion> evaluacion;
  std::string error;
};

constexpr const char* kColumnas[] = {"fichero", "metodo", "ancho",   "alto",      "umbral",
                                     "negro",   "ms",     "f",       "precision", "exhaustividad",
                                     "me",      "psnr",   "jaccard", "error"};

// A row's cells in column order: the text, or nullopt for an empty cell; `texto` for the
// string columns. An infinite PSNR is the cell "inf" (null in JSON, which has no infinity).
struct Celda {
  std::optional<std::string> valor;
  bool texto = false;
};
std::vector<Celda> celdas(const Fila& f) {
  const auto entero = [](const auto& v) -> std::optional<std::string> {
    if (!v) return std::nullopt;
    return textoEntero(*v);
  };
  const auto fijo = [](const std::optional<double>& v, int cifras) -> std::optional<std::string> {
    if (!v) return std::nullopt;
    return textoDecimales(*v, cifras);
  };
  const auto noVacio = [](const std::string& t) -> std::optional<std::string> {
    if (t.empty()) return std::nullopt;
    return t;
  };
  std::vector<Celda> c = {{f.fichero, true}, {noVacio(f.metodo), true}, {entero(f.ancho)},
                          {entero(f.alto)},  {entero(f.umbral)},        {fijo(f.negro, 4)},
                          {fijo(f.ms, 1)}};
  std::array<std::optional<double>, 6> medidas{};
  if (f.evaluacion) medidas = valoresEvaluacion(*f.evaluacion);
  for (const std::optional<double>& v : medidas) {
    if (!v)
      c.push_back({});
    else
      c.push_back({std::isinf(*v) ? "inf" : numeroJson(*v)});
  }
  c.push_back({noVacio(f.error), true});
  return c;
}

// RFC 4180: a cell with a comma, a quote or a line break is quoted, its quotes doubled.
std::string celdaCsv(const std::string& texto) {
  if (texto.find_first_of(",\"\r\n") == std::string::npos) return texto;
  std::string csv = "\"";
  for (const char c : texto) csv += c == '"' ? std::string("\"\"") : std::string(1, c);
  return csv + "\"";
}

std::string lineaCsv(const std::vector<Celda>& c) {
  std::string linea;
  for (size_t k = 0; k < c.size(); ++k)
    linea += (k > 0 ? "," : "") + celdaCsv(c[k].valor.value_or(""));
  return linea + "\n";
}

std::string lineaJson(const std::vector<Celda>& c) {
  std::string linea;
  for (size_t k = 0; k < c.size(); ++k) {
    linea += (k > 0 ? ",\"" : "{\"") + std::string(kColumnas[k]) + "\":";
    if (!c[k].valor || (!c[k].texto && *c[k].valor == "inf"))
      linea += "null";
    else
      linea += c[k].texto ? textoJson(*c[k].valor) : *c[k].valor;
  }
  return linea + "}\n";
}

std::string cabeceraCsv() {
  std::string linea;
  for (const char* columna : kColumnas) linea += (linea.empty() ? "" : ",") + std::string(columna);
  return linea + "\n";
}

// A refusal box's text on one line: its carriage returns and line feeds as blanks.
std::string enUnaLinea(std::string texto) {
  std::replace(texto.begin(), texto.end(), '\r', ' ');
  std::replace(texto.begin(), texto.end(), '\n', ' ');
  return texto;
}

// A run that ends at its next progress report once the batch stops.
class EntornoLote : public EntornoSimple {
 public:
  using EntornoSimple::EntornoSimple;
  bool progreso(double fraccion) override { return !parar() && EntornoSimple::progreso(fraccion); }
};

// The rows of one picture, or nullopt when the batch stopped meanwhile. Each method runs on a
// fresh copy of the record as opened, with its initial texts and the scroll bar at 128, and
// draws on a fresh white picture. `fallo` is set when the picture or its reference cannot be
// read.
std::optional<std::vector<Fila>> filasImagen(const std::string& fichero,
                                             const std::vector<const MetodoCatalogo*>& metodos,
                                             const std::string* rutaReferencia, bool& fallo) {
  std::vector<Fila> filas;
  SuperficieQImage gris(QImage::Format_Grayscale8, Qt::white);
  SuperficieQImage binarizada(QImage::Format_Grayscale8, Qt::white);
  EspacioTrabajo espacio(gris, binarizada);
  if (std::string error = leerImagen(rutaQt(fichero), espacio); !error.empty()) {
    fallo = true;
    Fila fila;
    fila.fichero = fichero;
    fila.error = std::move(error);
    filas.push_back(std::move(fila));
    return filas;
  }
  espacio.calcularHistograma();
  const DatosImagen abierta = espacio.datos();

  // A reference that cannot be read or differs in size gives its message in every row of the
  // picture and no scores.
  std::string errorReferencia;
  if (rutaReferencia != nullptr) {
    bool ilegible = false;
    errorReferencia = leerReferencia(rutaQt(*rutaReferencia), espacio, ilegible);
    fallo = ilegible;
  }
  const Referencia* referencia = espacio.referencia().get();

  for (const MetodoCatalogo* metodo : metodos) {
    if (parar()) return std::nullopt;
    espacio.datos() = abierta;
    binarizada.redimensionar(abierta.ancho, abierta.alto);
    EntornoLote entorno(espacio.datos());
    entorno.setBinarizada(&binarizada);
    for (const ControlMetodo& control : metodo->controles)
      entorno.setTexto(control.nombre, control.inicial);
    const auto inicio = std::chrono::steady_clock::now();
    const Fin fin = espacio.ejecutar(*metodo, entorno, false);
    const std::chrono::duration<double, std::milli> duracion =
        std::chrono::steady_clock::now() - inicio;
    if (fin == Fin::Cancelado) return std::nullopt;  // only a stop cancels a run here

    Fila fila;
    fila.fichero = fichero;
    fila.metodo = metodo->id;
    fila.ancho = abierta.ancho;
    fila.alto = abierta.alto;
    if (metodo->ejecutar == nullptr)
      fila.umbral = espacio.umbral();
    else if (fin == Fin::Publicado)
      fila.umbral = entorno.umbralPublicado();
    fila.negro =
        static_cast<double>(binarizada.negros()) / static_cast<double>(abierta.pixeles.cantidad());
    fila.ms = duracion.count();
    const auto& mensajes = entorno.dialogos().mensajes();
    if (fin == Fin::Rechazado) {
      if (!mensajes.empty()) fila.error = enUnaLinea(mensajes.back().texto);
    } else {
      fila.error = errorReferencia;
      if (referencia) fila.evaluacion = evaluarDibujada(binarizada, *referencia);
    }
    filas.push_back(std::move(fila));
  }
  return filas;
}

// The pictures between the workers and the writer: the next one to take, the next one to
// write, and the rows of those done but not yet written.
struct Cola {
  std::mutex mutex;
  std::condition_variable cambio;
  size_t siguiente = 0;
  size_t escrita = 0;
  std::map<size_t, std::vector<std::string>> hechas;
  bool fallo = false;
};

struct Lote {
  const OpcionesLote& opciones;
  std::vector<std::string> ficheros;
  std::map<std::string, std::string> referencias;
  size_t ventana;  // how far past the oldest unwritten picture a worker may take one
};

void trabajar(const Lote& lote, Cola& cola) {
  for (;;) {
    size_t i = 0;
    {
      std::unique_lock<std::mutex> cerrojo(cola.mutex);
      // Bounded look-ahead: memory holds only the pictures in flight, however many wait.
      while (!parar() && cola.siguiente < lote.ficheros.size() &&
             cola.siguiente >= cola.escrita + lote.ventana)
        cola.cambio.wait_for(cerrojo, kSondeo);
      if (parar() || cola.siguiente >= lote.ficheros.size()) return;
      i = cola.siguiente++;
    }
    const std::string& fichero = lote.ficheros[i];
    const auto referencia = lote.referencias.find(fs::path(fichero).stem().string());
    bool fallo = false;
    std::optional<std::vector<Fila>> filas;
    try {
      filas =
          filasImagen(fichero, lote.opciones.metodos,
                      referencia == lote.referencias.end() ? nullptr : &referencia->second, fallo);
    } catch (const std::bad_alloc&) {
      // Too large for the memory left beside the other pictures in flight: one row says so.
      Fila fila;
      fila.fichero = fichero;
      fila.error =
          "No hay memoria suficiente para abrir «" + fs::path(fichero).filename().string() + "».";
      filas = std::vector<Fila>{std::move(fila)};
      fallo = true;
    }
    if (!filas) return;
    std::vector<std::string> lineas;
    for (const Fila& fila : *filas)
      lineas.push_back(lote.opciones.jsonLineas ? lineaJson(celdas(fila)) : lineaCsv(celdas(fila)));
    {
      std::lock_guard<std::mutex> cerrojo(cola.mutex);
      cola.hechas.emplace(i, std::move(lineas));
      cola.fallo = cola.fallo || fallo;
    }
    cola.cambio.notify_all();
  }
}

// Writes `texto` with one write call (more only if the system takes part of it).
bool escribir(int descriptor, const std::string& texto) {
  size_t hecho = 0;
  while (hecho < texto.size()) {
    const ssize_t n = ::write(descriptor, texto.data() + hecho, texto.size() - hecho);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    hecho += static_cast<size_t>(n);
  }
  return true;
}

// The progress line on a terminal, rewritten in place: "[37/120] foto.jpg". When the rows go
// to a terminal too, the line is cleared before they are written.
class Progreso {
 public:
  explicit Progreso(int salida)
      : activo_(::isatty(STDERR_FILENO) == 1), compartido_(activo_ && ::isatty(salida) == 1) {}
  void mostrar(size_t hechas, size_t total, const std::string& fichero) {
    if (!activo_) return;
    const std::string linea = "[" + std::to_string(hechas) + "/" + std::to_string(total) + "] " +
                              fs::path(fichero).filename().string();
    std::cerr << '\r' << linea
              << std::string(ancho_ > linea.size() ? ancho_ - linea.size() : 0, ' ') << std::flush;
    ancho_ = linea.size();
  }
  void antesDeEscribir() {
    if (compartido_) borrar();
  }
  void borrar() {
    if (activo_ && ancho_ > 0) std::cerr << '\r' << std::string(ancho_, ' ') << '\r' << std::flush;
    ancho_ = 0;
  }

 private:
  bool activo_;
  bool compartido_;
  size_t ancho_ = 0;
};

}  // namespace

int ejecutarLote(const QStringList& argumentos) {
  if (argumentos.size() == 1 && argumentos[0] == QLatin1String("--help")) {
    std::cout << textoUso();
    return kTerminado;
  }
  OpcionesLote opciones;
  if (const std::string error = analizarLote(argumentos, opciones); !error.empty()) {
    std::cerr << error << '\n' << textoUso();
    return kMalUso;
  }
  Lote lote{opciones, listarFicheros(opciones.entradas), {}, 0};
  if (!opciones.referencias.empty()) {
    auto referencias = listarReferencias(opciones.referencias);
    if (!referencias) {
      std::cerr << "No se puede leer la carpeta «" << opciones.referencias << "».\n";
      return kSinFichero;
    }
    lote.referencias = std::move(*referencias);
  }
  // The K-th of N contiguous shares: the N outputs in order are one whole run's rows.
  const uint64_t total = lote.ficheros.size();
  const auto desde = static_cast<ptrdiff_t>((opciones.parte - 1) * total / opciones.partes);
  const auto hasta = static_cast<ptrdiff_t>(opciones.parte * total / opciones.partes);
  lote.ficheros =
      std::vector<std::string>(lote.ficheros.begin() + desde, lote.ficheros.begin() + hasta);

  int descriptor = STDOUT_FILENO;
  if (!opciones.csv.isEmpty()) {
    descriptor = ::open(QFile::encodeName(opciones.csv).constData(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) {
      std::cerr << "No se puede escribir el fichero «" << opciones.csv.toStdString() << "».\n";
      return kSinFichero;
    }
  }
  const std::string destino =
      opciones.csv.isEmpty()
          ? std::string("No se puede escribir en la salida estándar.")
          : "No se puede escribir el fichero «" + opciones.csv.toStdString() + "».";

  instalarInterrupcion();
  Cola cola;
  bool escrito = opciones.jsonLineas || opciones.parte > 1 || escribir(descriptor, cabeceraCsv());
  const size_t hilos = std::min<uint64_t>(opciones.hilos, lote.ficheros.size());
  lote.ventana = 2 * hilos;
  std::vector<std::thread> trabajadores;
  for (size_t k = 0; k < hilos && escrito; ++k)
    trabajadores.emplace_back(trabajar, std::cref(lote), std::ref(cola));

  // The writer: each picture's rows as soon as it and every earlier one are done, one write a
  // row, so an interrupted batch leaves only whole rows.
  Progreso progreso(descriptor);
  for (size_t i = 0; escrito && i < lote.ficheros.size(); ++i) {
    std::vector<std::string> lineas;
    {
      std::unique_lock<std::mutex> cerrojo(cola.mutex);
      while (!interrumpido.load() && cola.hechas.count(i) == 0)
        cola.cambio.wait_for(cerrojo, kSondeo);
      if (interrumpido.load()) break;
      lineas = std::move(cola.hechas[i]);
      cola.hechas.erase(i);
    }
    progreso.antesDeEscribir();
    for (const std::string& linea : lineas) escrito = escrito && escribir(descriptor, linea);
    {
      std::lock_guard<std::mutex> cerrojo(cola.mutex);
      cola.escrita = i + 1;
    }
    cola.cambio.notify_all();
    progreso.mostrar(i + 1, lote.ficheros.size(), lote.ficheros[i]);
  }
  if (!escrito) salidaRota.store(true);
  for (std::thread& trabajador : trabajadores) trabajador.join();
  progreso.borrar();
  if (descriptor != STDOUT_FILENO) ::close(descriptor);

  if (interrumpido.load()) return kInterrumpido;
  if (!escrito) {
    std::cerr << destino << '\n';
    return kSinFichero;
  }
  return cola.fallo ? kSinFichero : kTerminado;
}

}  // namespace velarno
