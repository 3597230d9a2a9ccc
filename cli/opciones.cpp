#include "cli/opciones.h"

#include <utility>

#include "platform/escritor.h"

namespace velarno {
namespace {

struct DefinicionOpcion {
  const char* nombre;
  bool llevaValor;
  bool deMetodo;  // a typed input that only some methods read (their table rows say which)
};

constexpr DefinicionOpcion kOpciones[] = {
    {"--umbral", true, false},     {"--pct", true, true},     {"--modo", true, true},
    {"--medida", true, true},      {"--mascara", true, true}, {"--clase", true, true},
    {"--ecualizar", false, false}, {"--paso", false, false},  {"--respuestas", true, false},
    {"--salida", true, false},     {"--gris", true, false},   {"--json", false, false},
    {"--referencia", true, false},
};

const DefinicionOpcion* buscarOpcion(const QString& nombre) {
  for (const DefinicionOpcion& opcion : kOpciones)
    if (nombre == QLatin1String(opcion.nombre)) return &opcion;
  return nullptr;
}

std::string entreComillas(const QString& texto) { return "«" + texto.toStdString() + "»"; }

// A whole number 0..255 written with digits only.
std::optional<int> leerUmbral(const QString& texto) {
  if (texto.isEmpty()) return std::nullopt;
  int valor = 0;
  for (const QChar c : texto) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    valor = valor * 10 + (c.unicode() - '0');
    if (valor > 255) return std::nullopt;
  }
  return valor;
}

std::vector<std::string> partirPorComas(const std::string& texto) {
  std::vector<std::string> partes(1);
  for (const char c : texto) {
    if (c == ',')
      partes.emplace_back();
    else
      partes.back() += c;
  }
  return partes;
}

}  // namespace

std::string analizarArgumentos(const QStringList& argumentos, Opciones& opciones) {
  if (argumentos.size() < 2) return "Faltan el método o la imagen de entrada.";
  opciones.metodo = metodoPorId(argumentos[0].toStdString());
  if (opciones.metodo == nullptr)
    return "Método desconocido: " + entreComillas(argumentos[0]) + ".";
  const MetodoCatalogo& metodo = *opciones.metodo;
  opciones.entrada = argumentos[1];

  // Values as given, by option name; flags map to an empty text.
  std::map<std::string, QString> dadas;
  for (qsizetype i = 2; i < argumentos.size(); ++i) {
    const QString& argumento = argumentos[i];
    const DefinicionOpcion* opcion = buscarOpcion(argumento);
    if (opcion == nullptr) {
      if (argumento.startsWith(QLatin1String("--")))
        return "Opción desconocida: " + entreComillas(argumento) + ".";
      return "Argumento de más: " + entreComillas(argumento) + ".";
    }
    QString valor;
    if (opcion->llevaValor) {
      if (i + 1 >= argumentos.size())
        return std::string("Falta el valor de la opción ") + opcion->nombre + ".";
      valor = argumentos[++i];
    }
    dadas[opcion->nombre] = valor;
  }

  const std::string nombreMetodo = entreComillas(QString::fromUtf8(metodo.id));
  for (const ControlMetodo& control : metodo.controles)
    opciones.textos[control.nombre] = control.inicial;
  for (const auto& [nombre, valor] : dadas) {
    if (buscarOpcion(QString::fromStdString(nombre))->deMetodo) {
      const OpcionMetodo* lectura = nullptr;
      for (const OpcionMetodo& candidata : metodo.opciones)
        if (nombre == candidata.opcion) lectura = &candidata;
      if (lectura == nullptr)
        return "El método " + nombreMetodo + " no lee la opción " + nombre + ".";
      std::vector<std::string> textos{valor.toStdString()};
      if (lectura->controles.size() > 1) textos = partirPorComas(valor.toStdString());
      if (textos.size() != lectura->controles.size()) {
        return "La opción " + nombre + " necesita " + std::to_string(lectura->controles.size()) +
               " textos separados por comas: " + entreComillas(valor) + ".";
      }
      for (size_t k = 0; k < textos.size(); ++k) opciones.textos[lectura->controles[k]] = textos[k];
    }
  }

  if (const auto umbral = dadas.find("--umbral"); umbral != dadas.end()) {
    const std::optional<int> valor = leerUmbral(umbral->second);
    if (!valor) {
      return "El umbral debe ser un número entero de 0 a 255: " + entreComillas(umbral->second) +
             ".";
    }
    opciones.umbral = *valor;
  }
  opciones.ecualizar = dadas.count("--ecualizar") > 0;
  opciones.paso = dadas.count("--paso") > 0;
  opciones.json = dadas.count("--json") > 0;
  if (const auto referencia = dadas.find("--referencia"); referencia != dadas.end())
    opciones.referencia = referencia->second;
  if (opciones.paso && !metodo.tienePaso())
    return "El método " + nombreMetodo + " no tiene modo paso a paso (--paso).";
  if (const auto respuestas = dadas.find("--respuestas"); respuestas != dadas.end()) {
    if (!opciones.paso) return "La opción --respuestas solo vale con --paso.";
    opciones.respuestas = respuestas->second.toStdString();
  }
  const std::pair<const char*, QString*> ficheros[] = {{"--salida", &opciones.salida},
                                                       {"--gris", &opciones.gris}};
  for (const auto& [nombre, destino] : ficheros) {
    const auto fichero = dadas.find(nombre);
    if (fichero == dadas.end()) continue;
    if (!formatoPorExtension(fichero->second)) {
      return std::string("El fichero de ") + nombre + " " + entreComillas(fichero->second) +
             " debe terminar en .png, .bmp o .pgm.";
    }
    *destino = fichero->second;
  }
  return {};
}

std::string textoUso() {
  std::string metodos;
  for (const MetodoCatalogo& metodo : catalogo()) {
    if (!metodos.empty()) metodos += ", ";
    metodos += metodo.id;
  }
  return "Uso: velarno-cli METODO ENTRADA [opciones]\n"
         "     velarno-cli lote [opciones del lote] ENTRADA...\n"
         "Métodos: " +
         metodos +
         "\n"
         "Opciones: --umbral N (0..255), --pct TEXTO, --modo TEXTO, --medida TEXTO,\n"
         "  --mascara a,b,c,d,e,f,g,h,i, --clase TEXTO, --ecualizar, --paso, --respuestas SN...,\n"
         "  --salida FICHERO (png, bmp, pgm), --gris FICHERO (png, bmp, pgm), --json\n"
         "  --referencia FICHERO (puntúa el resultado contra esa imagen; negro por debajo de 128)\n"
         "Opciones del lote: --metodos todos|a,b,... (todos: cada método menos umbral),\n"
         "  --referencias CARPETA, --csv FICHERO | --json-lineas, --hilos N, --parte K/N;\n"
         "  ENTRADA: ficheros o carpetas (con sus subcarpetas)\n";
}

}  // namespace velarno
