// velarno-cli as a program: exit statuses and messages, the trace or JSON object it prints, the
// pictures it writes, and every method giving what the same core run gives.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTransform>

#include <gtest/gtest.h>

#include "app/catalogo.h"
#include "methods/entorno_simple.h"
#include "platform/superficie_qimage.h"
#include "support/imagen_prueba.h"
#include "support/proceso_cli.h"

namespace velarno {
namespace {

// A 3 x 2 grey picture: 10 100 200 / 50 128 255. Its mean is 743 / 6 = 123.8.
class VelarnoCli : public ::testing::Test {
 protected:
  void SetUp() override {
    QImage imagen(3, 2, QImage::Format_Grayscale8);
    const uchar niveles[] = {10, 100, 200, 50, 128, 255};
    for (int i = 0; i < 6; ++i) imagen.scanLine(i / 3)[i % 3] = niveles[i];
    ASSERT_TRUE(imagen.save(foto, "BMP"));
  }
  QString en(const char* nombre) const { return dir.filePath(QString::fromUtf8(nombre)); }

  QTemporaryDir dir;
  const QString foto = dir.filePath("foto.bmp");
};

// 2: a usage error, found before the picture is read, then the usage; 3: a picture that cannot
// be read or a file that cannot be written; 4: a method refusing its input, with its box's text.
TEST_F(VelarnoCli, ExitStatusesAndTheirMessages) {
  const QString f = "falta.bmp";
  const QString sin = en("no/hay/b.png");
  const std::vector<std::tuple<int, QStringList, std::string>> casos = {
      {2, {"mean"}, "Faltan el método o la imagen de entrada."},
      {2, {"media", f}, "Método desconocido: «media»."},
      {2, {"mean", f, "--nada"}, "Opción desconocida: «--nada»."},
      {2, {"mean", f, "sobra"}, "Argumento de más: «sobra»."},
      {2, {"mean", f, "--pct", "50"}, "El método «mean» no lee la opción --pct."},
      {2,
       {"edge", f, "--mascara", "1,2"},
       "La opción --mascara necesita 9 textos separados por comas: «1,2»."},
      {2,
       {"relajacion", f, "--paso"},
       "El método «relajacion» no tiene modo paso a paso (--paso)."},
      {2, {"mean", f, "--respuestas", "S"}, "La opción --respuestas solo vale con --paso."},
      {2,
       {"umbral", f, "--umbral", "256"},
       "El umbral debe ser un número entero de 0 a 255: «256»."},
      {2, {"umbral", f, "--umbral"}, "Falta el valor de la opción --umbral."},
      {2,
       {"mean", f, "--gris", "g"},
       "El fichero de --gris «g» debe terminar en .png, .bmp o .pgm."},
      {3,
       {"mean", en("no_existe.bmp")},
       "No se puede leer el fichero «no_existe.bmp»: no existe o no se tiene permiso para leerlo."},
      {3,
       {"mean", foto, "--json", "--salida", sin},
       "No se puede escribir el fichero «" + sin.toStdString() + "»."},
      {4, {"porcentaje", foto, "--pct", "150", "--salida", en("b.png")}, "Porcentaje no válido."},
  };
  for (const auto& [codigo, argumentos, error] : casos) {
    SCOPED_TRACE(argumentos.join(' ').toStdString());
    const Salida s = correr(argumentos);
    EXPECT_EQ(s.codigo, codigo);
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.err.substr(0, s.err.find('\n') + 1), error + "\n");
    EXPECT_EQ(s.err.find("\nUso: velarno-cli METODO ENTRADA") != std::string::npos, codigo == 2);
    EXPECT_EQ(s.err.find('\0'), std::string::npos);  // text only, no stray byte
  }
  EXPECT_FALSE(QFile::exists(en("b.png")));  // a refused run writes nothing
  EXPECT_EQ(correr({"--help"}).out.rfind("Uso: velarno-cli METODO ENTRADA [opciones]\n", 0), 0u);
}

TEST_F(VelarnoCli, PrintsTheTraceOrOneJsonObjectAndWritesThePictures) {
  const std::string inicio = "{\"ancho\":3,\"alto\":2,\"metodo\":";
  EXPECT_EQ(correr({"mean", foto}).out,
            "Iniciando algoritmo Mean\n========================\nsuma Total: 743\n"
            "Nº de pixels: 6\nUmbral encontrado: 124\n\nAlgoritmo Mean finalizado.\n");
  // The manual threshold reports the scroll bar's value: 128 unless given.
  EXPECT_EQ(correr({"umbral", foto, "--json"}).out,
            inicio + "\"umbral\",\"umbral\":128,\"traza\":[],\"mensajes\":[],\"negros\":3}\n");
  // Step mode: the boxes with their answers (a No decides the rest at once), texts escaped.
  const std::string pregunta =
      "{\"titulo\":\"Segmentar paso a paso\",\"texto\":\"Nivel de gris del punto (0,";
  const std::string resto = "\\r\\r¿Seguir ejecución paso a paso?\",\"estilo\":4,\"respuesta\":";
  EXPECT_EQ(
      correr({"umbral", foto, "--json", "--umbral", "060", "--paso", "--respuestas", "Sn"}).out,
      inicio + "\"umbral\",\"umbral\":60,\"traza\":[],\"mensajes\":[" + pregunta +
          "0): 10\\rSerá convertido a: Negro" + resto + "6}," + pregunta +
          "1): 50\\rSerá convertido a: Negro" + resto + "7}],\"negros\":2}\n");
  // The pictures written.
  const auto niveles = [](const QString& fichero) {
    const QImage i(fichero);
    return std::vector<int>{qGray(i.pixel(0, 0)), qGray(i.pixel(1, 0)), qGray(i.pixel(2, 0)),
                            qGray(i.pixel(0, 1)), qGray(i.pixel(1, 1)), qGray(i.pixel(2, 1))};
  };
  // Equalized first: level i becomes round(c(i) x 255 / 6), c the cumulative count.
  const QString b = en("b.png"), g = en("g.pgm");
  ASSERT_EQ(
      correr({"umbral", foto, "--ecualizar", "--umbral", "99", "--salida", b, "--gris", g}).codigo,
      0);
  EXPECT_EQ(niveles(g), (std::vector<int>{42, 128, 212, 85, 170, 255}));
  EXPECT_EQ(niveles(b), (std::vector<int>{0, 255, 255, 0, 255, 255}));
}

// The reference is black at (0,0) and (2,1). At --umbral 0 nothing is black: P and F are
// undefined (null, "—"), R = 0, ME = 2/6, PSNR = 10·log10(3) dB, Jaccard = 0 (the measures
// themselves are checked in the application layer). A reference of another size is refused
// before the run.
TEST_F(VelarnoCli, ScoresTheDrawnPictureAgainstAReference) {
  const QString ref = en("ref.png"), otra = en("otra.png");
  QImage referencia(3, 2, QImage::Format_Grayscale8);
  referencia.fill(255);
  referencia.scanLine(0)[0] = referencia.scanLine(1)[2] = 0;
  ASSERT_TRUE(referencia.save(ref) && referencia.transformed(QTransform().rotate(90)).save(otra));
  const QStringList argumentos{"umbral", foto, "--umbral", "0", "--referencia", ref};
  const std::string objeto = correr(argumentos + QStringList{"--json"}).out;
  EXPECT_EQ(objeto.substr(objeto.find("\"negros\"")),
            "\"negros\":0,\"evaluacion\":{\"f\":null,\"precision\":null,\"exhaustividad\":0,"
            "\"me\":0.3333333333333333,\"psnr\":4.771212547196624,\"jaccard\":0}}\n");
  EXPECT_EQ(correr(argumentos).out,  // the manual threshold has no trace
            "Evaluación: F —  P —  R 0.0000  ME 0.3333  PSNR 4.77 dB  Jaccard 0.0000\n");
  const Salida s = correr({"mean", foto, "--json", "--referencia", otra});
  EXPECT_EQ(s.codigo, 3);
  EXPECT_EQ(s.out, "");
  EXPECT_EQ(s.err,
            "La referencia mide 2x3 píxeles y la imagen 3x2: deben tener el mismo tamaño.\n");
}

// Every catalogue row, its options given other texts than the initial ones, prints what the
// same core run gives.
class MetodoCli : public ::testing::TestWithParam<size_t> {};

TEST_P(MetodoCli, MatchesTheCoreRun) {
  const MetodoCatalogo& m = catalogo()[GetParam()];
  // A 40 x 30 gradient with a dark band and some texture.
  std::vector<std::vector<int>> filas(30, std::vector<int>(40));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      filas[y][x] = (x * 5 + y * 2 + (x * y) % 23) % 256 / (x > 25 ? 3 : 1);
  DatosImagen datos = imagenDesdeFilas(filas);
  QTemporaryDir dir;
  const QString foto = dir.filePath("foto.png");
  ASSERT_TRUE(QImage(datos.pixeles.planoGris(), 40, 30, 40, QImage::Format_Grayscale8).save(foto));
  EntornoSimple entorno(datos);
  SuperficieQImage superficie(QImage::Format_Grayscale8, Qt::white);
  superficie.redimensionar(40, 30);
  entorno.setBinarizada(&superficie);
  for (const ControlMetodo& c : m.controles) entorno.setTexto(c.nombre, c.inicial);
  QStringList argumentos{m.id, foto, "--json"};
  for (const OpcionMetodo& o : m.opciones) {
    QStringList valores;
    for (const char* control : o.controles) {
      const ControlMetodo& c =
          *std::find_if(m.controles.begin(), m.controles.end(),
                        [&](const ControlMetodo& x) { return std::string(x.nombre) == control; });
      const QString texto = c.tipo == TipoControl::Lista   ? QString(c.elementos.at(1))
                            : c.tipo == TipoControl::Celda ? QString::number(valores.size() * 3 - 8)
                                                           : QStringLiteral("10");
      entorno.setTexto(control, texto.toStdString());
      valores << texto;
    }
    argumentos << o.opcion << valores.join(',');
  }
  bool paso = false;
  m.ejecutar(entorno, paso);

  const Salida s = correr(argumentos);
  ASSERT_EQ(s.codigo, 0) << s.err;
  const QJsonObject objeto = QJsonDocument::fromJson(QByteArray::fromStdString(s.out)).object();
  EXPECT_EQ(objeto["umbral"].toInt(-1), entorno.umbralPublicado().value_or(-1));
  std::string traza;
  for (const QJsonValue& linea : objeto["traza"].toArray())
    traza += linea.toString().toStdString() + "\n";
  EXPECT_EQ(traza, entorno.traza().texto());
  // A global method's picture is drawn from its threshold, a local one's by the method.
  const auto umbral = entorno.umbralPublicado();
  EXPECT_EQ(objeto["negros"].toInteger(),
            umbral ? std::count_if(datos.pixeles.planoGris(),
                                   datos.pixeles.planoGris() + datos.pixeles.cantidad(),
                                   [&](uint8_t g) { return g < *umbral; })
                   : superficie.negros());
}

INSTANTIATE_TEST_SUITE_P(Todos, MetodoCli, ::testing::Range<size_t>(1, catalogo().size()),
                         [](const auto& p) { return std::string(catalogo()[p.param].id); });

}  // namespace
}  // namespace velarno
