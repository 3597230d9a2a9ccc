// libFuzzer target over the Qt-free core: the signature sniffing and structure checks on the raw
// bytes, then the same bytes read as a small image record with typed texts and scripted step
// answers, run through one threshold method straight and in step mode. Any broken invariant
// aborts, so libFuzzer keeps the input as a crash.
//
// Layout of an input (every byte optional; missing bytes read as 0):
//   0  width - 1 (mod 64)            1  height - 1 (mod 64)
//   2  method (mod 13, see kMetodos)  3  bit 0 decimal comma, bit 1 equalize first,
//                                        bits 2..4 number of scripted answers (0..7)
//   4  answer bits (1 = Yes), lowest first   5  the scroll bar's value before the run
//   then one token per typed text the method reads: a byte below 0xE0 picks a text of
//   kDiccionario, 0xE0 + n takes the next n raw bytes as the text;
//   the rest are grey levels, row after row, repeated when they run out.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/espacio_trabajo.h"
#include "image/representaciones.h"
#include "image/transformaciones.h"
#include "methods/entorno_simple.h"
#include "methods/numeros.h"
#include "methods/protocolo.h"
#include "platform/firmas.h"
#include "support/superficie_grabadora.h"

namespace velarno {
namespace {

// Aborts with a message; libFuzzer reports the abort and saves the input.
void exigir(bool condicion, const char* que) {
  if (condicion) return;
  std::fprintf(stderr, "invariante rota: %s\n", que);
  std::abort();
}

// Reads the input front to back; past its end every byte is 0.
class Lector {
 public:
  Lector(const uint8_t* datos, size_t n) : datos_(datos), n_(n) {}
  uint8_t byte() { return pos_ < n_ ? datos_[pos_++] : 0; }
  std::string bytes(size_t cuantos) {
    std::string s;
    while (cuantos-- > 0 && pos_ < n_) s += static_cast<char>(datos_[pos_++]);
    return s;
  }
  const uint8_t* resto() const { return datos_ + pos_; }
  size_t quedan() const { return n_ - pos_; }

 private:
  const uint8_t* datos_;
  size_t n_;
  size_t pos_ = 0;
};

// Typed texts worth trying: the controls' initial values, the edges of every check, and the
// kinds of text the numeric test must refuse.
// clang-format off
const std::vector<std::string> kDiccionario = {
    "", "0", "50", "100", "100.5", "100.4", "101", "-1", "-0.5", "-0.6", "0.5", "1.5", "2.5",
    "15", "85", "-4", "1", "5000", "32767", "32768", "-32768", "-32769", "32767.5",
    "1e308", "1e309", "-1e309", "1E400", "1e-400", "4.9406564584124654e-324",
    "1.7976931348623157e308", "99.99999999999999", "1e2", "+1", ".", "1.", ".5", "-0", "1e",
    "e1", " 50 ", "\t50", "50,5", "50.5", "5,0", "1,5e1", "nan", "inf", "-inf", "0x10",
    "1 000", "Rapido", "rapido", "Rapido ", "ENTROPY", "entropy", "YAGER", "Rosenfeld",
    "rosenfeld", "x", "ñ", "\x01", "1e15", "1e16", "9e18", "1e19", "-1e19", "1e100",
    "-1e100", "1e-5", "0.0001", "1000", "-1000", "3", "-3", "2048", "2047", "0.1", "1e-300",
    "7e-310", "1.0000000000000002"};
// clang-format on

std::string token(Lector& lector) {
  const uint8_t t = lector.byte();
  if (t >= 0xE0) return lector.bytes(static_cast<size_t>(t - 0xE0));
  return kDiccionario[t % kDiccionario.size()];
}

// The number text functions on a typed text: the numeric test and the conversions agree, and
// a number written as trace text reads back as numeric.
void revisarTexto(const std::string& texto, char separador) {
  const bool numerico = esNumerico(texto, separador);
  const std::optional<double> valor = aDouble(texto, separador);
  exigir(numerico == valor.has_value(), "esNumerico y aDouble discrepan");
  const std::optional<int16_t> entero = aEntero16(texto, separador);
  exigir(!entero || numerico, "aEntero16 acepta un texto no numerico");
  if (valor && *valor == *valor && *valor - *valor == 0) {  // finite
    exigir(esNumerico(textoDouble(*valor, separador), separador), "textoDouble no numerico");
    exigir(esNumerico(textoSingle(static_cast<float>(*valor), separador), separador) ||
               static_cast<float>(*valor) - static_cast<float>(*valor) != 0,
           "textoSingle no numerico");
  }
}

struct Resultado {
  Fin fin;
  std::optional<int> umbral;
  std::vector<uint8_t> negro;
  std::vector<std::string> traza;
  std::vector<Mensaje> mensajes;
};

// Whether a row publishes a threshold (or ends without a result) rather than drawing.
bool publica(const MetodoCatalogo& metodo) { return metodo.ejecutar && !metodo.dibujaLocal; }

Resultado ejecutar(const MetodoCatalogo& metodo, const DatosImagen& registro,
                   const std::vector<std::pair<std::string, std::string>>& textos, char separador,
                   int umbralInicial, const std::string& respuestas, bool paso) {
  const std::vector<uint8_t> gris(registro.pixeles.planoGris(),
                                  registro.pixeles.planoGris() + registro.pixeles.cantidad());
  const std::vector<uint8_t> negroAntes(
      registro.pixeles.planoNegro(), registro.pixeles.planoNegro() + registro.pixeles.cantidad());
  SuperficieGrabadora grises(registro.ancho, registro.alto);
  SuperficieGrabadora binarizada(registro.ancho, registro.alto);
  EspacioTrabajo espacio(grises, binarizada);
  espacio.datos() = registro;
  espacio.fijarUmbral(umbralInicial);
  DatosImagen& imagen = espacio.datos();
  EntornoSimple entorno(imagen, respuestas, umbralInicial);
  entorno.setSeparadorDecimal(separador);
  entorno.setBinarizada(&binarizada);
  for (const auto& [control, texto] : textos) entorno.setTexto(control, texto);

  const Fin fin = espacio.ejecutar(metodo, entorno, paso);

  exigir(fin != Fin::Cancelado, "cancelado sin que nadie cancelara");
  exigir(entorno.umbral() >= 0 && entorno.umbral() <= 255, "barra fuera de 0..255");
  if (entorno.umbralPublicado())
    exigir(*entorno.umbralPublicado() >= 0 && *entorno.umbralPublicado() <= 255,
           "umbral publicado fuera de 0..255");
  exigir(std::equal(gris.begin(), gris.end(), imagen.pixeles.planoGris()),
         "el metodo cambio los niveles de gris");
  for (size_t i = 0; i < imagen.pixeles.cantidad(); ++i)
    exigir(imagen.pixeles.planoNegro()[i] <= 1, "negro distinto de 0 y 1");
  const auto& mensajes = entorno.dialogos().mensajes();
  switch (fin) {
    case Fin::Rechazado:
      exigir(entorno.traza().lineas().empty(), "rechazado con traza");
      exigir(!entorno.umbralPublicado(), "rechazado y publicado");
      exigir(!mensajes.empty() && mensajes.back().estilo == kEstiloExclamacion,
             "rechazado sin aviso de estilo 48");
      exigir(std::equal(negroAntes.begin(), negroAntes.end(), imagen.pixeles.planoNegro()),
             "rechazado y cambio negro");
      break;
    case Fin::Publicado:
      exigir(publica(metodo), "publicado por un metodo que dibuja");
      exigir(entorno.umbralPublicado().has_value(), "publicado sin umbral");
      break;
    case Fin::SinResultado:
      exigir(!entorno.umbralPublicado(), "sin resultado y publicado");
      exigir(!entorno.traza().lineas().empty(), "sin resultado sin traza");
      break;
    case Fin::Dibujado:
      exigir(!publica(metodo), "dibujado por un metodo global");
      exigir(entorno.dibujos() >= 1 || !metodo.ejecutar, "dibujado sin dibujar");
      exigir(!entorno.umbralPublicado(), "dibujado y publicado");
      break;
    case Fin::Cancelado:
      break;
  }
  if (!paso) {
    for (const Mensaje& m : mensajes)
      exigir(m.estilo != kEstiloSiNo, "pregunta en una ejecucion directa");
  }
  if (metodo.id == std::string("relajacion"))
    exigir(std::equal(negroAntes.begin(), negroAntes.end(), imagen.pixeles.planoNegro()),
           "relajacion cambio el registro");
  return {fin, entorno.umbralPublicado(),
          std::vector<uint8_t>(imagen.pixeles.planoNegro(),
                               imagen.pixeles.planoNegro() + imagen.pixeles.cantidad()),
          entorno.traza().lineas(), mensajes};
}

void revisarRegistro(const uint8_t* datos, size_t n) {
  Lector lector(datos, n);
  const int32_t ancho = lector.byte() % 64 + 1;
  const int32_t alto = lector.byte() % 64 + 1;
  const MetodoCatalogo& metodo = catalogo()[lector.byte() % catalogo().size()];
  const uint8_t opciones = lector.byte();
  const char separador = (opciones & 1) ? ',' : '.';
  const bool ecualizarAntes = (opciones & 2) != 0;
  const int cuantas = (opciones >> 2) & 7;
  const uint8_t bits = lector.byte();
  std::string respuestas;
  for (int i = 0; i < cuantas; ++i) respuestas += ((bits >> i) & 1) ? 'S' : 'N';
  const int umbralInicial = lector.byte();
  std::vector<std::pair<std::string, std::string>> textos;
  for (const ControlMetodo& control : metodo.controles) {
    textos.emplace_back(control.nombre, token(lector));
    revisarTexto(textos.back().second, separador);
  }

  DatosImagen imagen;
  imagen.ancho = ancho;
  imagen.alto = alto;
  imagen.pixeles = Pixeles(ancho, alto);
  uint8_t* gris = imagen.pixeles.planoGris();
  const uint8_t* niveles = lector.resto();
  const size_t hay = lector.quedan();
  for (size_t i = 0; i < imagen.pixeles.cantidad(); ++i) gris[i] = hay == 0 ? 0 : niveles[i % hay];
  calcularHistograma(imagen);
  if (ecualizarAntes) {
    ecualizar(imagen);
    calcularHistograma(imagen);
  }
  int64_t suma = 0;
  int64_t maximo = 0;
  for (int64_t h : imagen.histograma) {
    suma += h;
    maximo = std::max(maximo, h);
  }
  exigir(suma == int64_t{ancho} * alto && maximo == imagen.maxHistograma, "histograma mal");

  const Resultado directo =
      ejecutar(metodo, imagen, textos, separador, umbralInicial, respuestas, false);
  if (metodo.id == std::string("porcentaje"))
    exigir(validarTpct(textos[0].second, separador).has_value() == (directo.fin == Fin::Rechazado),
           "validarTpct y AlgoritmoPorcentaje discrepan");

  // The histogram chart and the pictures, drawn as the window would after the run.
  SuperficieGrabadora grafica(302, 140);
  dibujarHistograma(grafica, imagen, static_cast<float>(directo.umbral.value_or(umbralInicial)));
  SuperficieGrabadora cuadro(ancho / 2 + 1, alto + 3);
  dibujarGrises(cuadro, imagen);

  if (!metodo.tienePaso()) return;
  const Resultado paso =
      ejecutar(metodo, imagen, textos, separador, umbralInicial, respuestas, true);
  // The prompts change only what is shown, never the result.
  exigir(paso.fin == directo.fin, "paso a paso termina de otro modo");
  exigir(paso.umbral == directo.umbral, "paso a paso publica otro umbral");
  exigir(paso.negro == directo.negro, "paso a paso binariza de otro modo");
  if (directo.fin == Fin::Rechazado)
    exigir(paso.mensajes.size() == directo.mensajes.size(), "rechazo distinto paso a paso");
}

}  // namespace
}  // namespace velarno

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
  const velarno::Formato formato = velarno::olfatearFormato(datos, n);
  const std::string jpeg = velarno::revisarJpeg(datos, n);
  const std::string gif = velarno::revisarGif(datos, n);
  (void)jpeg;
  (void)gif;
  if (n >= 2 && datos[0] == 'B' && datos[1] == 'M')
    velarno::exigir(formato == velarno::Formato::Bmp, "BM no es BMP");
  if (n < 2) velarno::exigir(formato == velarno::Formato::Ninguno, "firma de menos de 2 bytes");
  velarno::revisarRegistro(datos, n);
  return 0;
}
