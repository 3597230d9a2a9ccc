#pragma once

#include <map>
#include <optional>
#include <string>

#include <QString>
#include <QStringList>

#include "app/catalogo.h"

namespace velarno {

// What one call of velarno-cli asks for.
struct Opciones {
  const MetodoCatalogo* metodo = nullptr;
  QString entrada;
  int umbral = 128;                           // the scroll bar's value before the run
  std::map<std::string, std::string> textos;  // control name -> text, for the method's inputs
  bool ecualizar = false;
  bool paso = false;
  std::string respuestas;
  bool json = false;
  QString salida;      // binarized picture, empty for none
  QString gris;        // grey picture, empty for none
  QString referencia;  // reference picture to score the result against, empty for none
};

// Reads the arguments after the program name: METODO ENTRADA [opciones], METODO being a
// catalogue id and the typed options those of its row. Every option exists
// for every method, but an option the method does not read is an error (--umbral and
// --ecualizar excepted); a repeated option keeps its last value. Fills `opciones` with the
// method's texts (initial texts where not given) and returns an empty text, or returns the
// Spanish message of the usage error.
std::string analizarArgumentos(const QStringList& argumentos, Opciones& opciones);

// The usage text: the single run and the batch (velarno-cli lote) with their options; the
// methods from the catalogue.
std::string textoUso();

}  // namespace velarno
