// Every method through velarno-cli gives the same threshold, trace and drawn picture as the
// same method run in the core on the same picture.
#include <map>
#include <string>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "image/colores.h"
#include "image/transformaciones.h"
#include "methods/edge_pixels.h"
#include "methods/entorno_simple.h"
#include "methods/entropy.h"
#include "methods/fuzzy.h"
#include "methods/grey_level.h"
#include "methods/iter_sel.h"
#include "methods/minimum_error.h"
#include "methods/moving_averages.h"
#include "methods/porcentaje.h"
#include "methods/regional.h"
#include "methods/relajacion.h"
#include "methods/two_peaks.h"

namespace velarno {
namespace {

struct Caso {
  const char* metodo;
  QStringList opciones;
  std::map<std::string, std::string> textos;  // the frame's texts the core run gets
  Fin (*funcion)(Entorno&, bool&);
  bool global;  // publishes a threshold
};

void PrintTo(const Caso& c, std::ostream* os) { *os << c.metodo; }

Fin relajacion(Entorno& e, bool&) { return AlgoritmoRelajacion(e); }

class MetodoCli : public ::testing::TestWithParam<Caso> {};

TEST_P(MetodoCli, MatchesTheCoreRun) {
  const Caso& caso = GetParam();
  // A 40 x 30 picture: a gradient with a dark band and some texture.
  QImage imagen(40, 30, QImage::Format_RGB32);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const int g = (x * 5 + y * 2 + (x * y) % 23) % 256;
      imagen.setPixel(x, y, qRgb(x > 25 ? g / 3 : g, g, (g + 40) % 256));
    }
  QTemporaryDir dir;
  const QString ruta = dir.filePath("foto.png");
  ASSERT_TRUE(imagen.save(ruta));

  DatosImagen datos;
  datos.ancho = 40;
  datos.alto = 30;
  datos.pixeles = Pixeles(40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const QRgb c = imagen.pixel(x, y);
      datos.pixeles.setGris(x, y,
                            static_cast<uint8_t>(nivelGris(rgb(qRed(c), qGreen(c), qBlue(c)))));
    }
  calcularHistograma(datos);
  EntornoSimple entorno(datos);
  for (const auto& [control, texto] : caso.textos) entorno.setTexto(control, texto);
  bool paso = false;
  caso.funcion(entorno, paso);
  int64_t negros = 0;
  for (size_t i = 0; i < datos.pixeles.cantidad(); ++i) negros += datos.pixeles.planoNegro()[i];

  QProcess cli;
  cli.start(QStringLiteral(VELARNO_CLI),
            QStringList{QString::fromLatin1(caso.metodo), ruta, "--json"} + caso.opciones);
  ASSERT_TRUE(cli.waitForFinished(60000));
  ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
  if (caso.global) {
    ASSERT_TRUE(entorno.umbralPublicado().has_value());
    EXPECT_EQ(json["umbral"].toInt(-1), *entorno.umbralPublicado());
  } else {
    EXPECT_TRUE(json["umbral"].isNull());
  }
  QStringList traza;
  for (const QJsonValue& linea : json["traza"].toArray()) traza << linea.toString();
  QStringList esperada;
  for (const std::string& linea : entorno.traza().lineas())
    esperada << QString::fromStdString(linea);
  EXPECT_EQ(traza, esperada);
  // Relaxation draws its result but gives the record back its own flags; the other methods
  // leave their flags drawn.
  if (std::string(caso.metodo) != "relajacion") {
    EXPECT_EQ(json["negros"].toInteger(), negros);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Todos, MetodoCli,
    ::testing::Values(
        Caso{"porcentaje", {"--pct", "30"}, {{"Tpct", "30"}}, AlgoritmoPorcentaje, true},
        Caso{"twopeaks", {}, {}, AlgoritmoTwoPeak, true},
        Caso{"iterativa", {}, {{"CIterSelModo", "Rapido"}}, ejecutarIterSel, true},
        Caso{
            "iterativa", {"--modo", "Normal"}, {{"CIterSelModo", "Normal"}}, ejecutarIterSel, true},
        Caso{"greylevel", {}, {}, AlgoritmoGreyLevel, true},
        Caso{"entropy", {}, {}, AlgoritmoEntropy, true},
        Caso{"minerror", {}, {}, AlgoritmoMinimumError, true},
        Caso{"fuzzy", {}, {{"metodoYG", "ENTROPY"}}, AlgoritmoFuzzy, true},
        Caso{"fuzzy", {"--medida", "FUZZY"}, {{"metodoYG", "FUZZY"}}, AlgoritmoFuzzy, true},
        Caso{"edge",
             {"--mascara", "1,2,3,4,5,6,7,8,-44", "--pct", "50"},
             {{"Mask(0)", "1"},
              {"Mask(1)", "2"},
              {"Mask(2)", "3"},
              {"Mask(3)", "4"},
              {"Mask(4)", "5"},
              {"Mask(5)", "6"},
              {"Mask(6)", "7"},
              {"Mask(7)", "8"},
              {"Mask(8)", "-44"},
              {"PCTeDp", "50"}},
             AlgoritmoUsingEdgePixels,
             true},
        Caso{"moving", {"--pct", "10"}, {{"CPct", "10"}}, AlgoritmoThrdd, false},
        Caso{"regional", {}, {}, AlgoritmoRegionalThreshold, false},
        Caso{
            "relajacion", {"--clase", "Parker"}, {{"MetRelajacion", "Parker"}}, relajacion, false}),
    [](const auto& p) { return std::string(p.param.metodo) + "_" + std::to_string(p.index); });

}  // namespace
}  // namespace velarno
