#include <string>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Salida {
  int codigo = -1;
  std::string out;
  std::string err;
};

Salida correr(const QStringList& argumentos) {
  QProcess proceso;
  proceso.start(QStringLiteral(VELARNO_CLI), argumentos);
  Salida s;
  if (!proceso.waitForFinished(60000) || proceso.exitStatus() != QProcess::NormalExit) return s;
  s.codigo = proceso.exitCode();
  s.out = proceso.readAllStandardOutput().toStdString();
  s.err = proceso.readAllStandardError().toStdString();
  return s;
}

// The grey levels of a picture read back, row by row.
std::vector<std::vector<int>> nivelesDe(const QString& fichero) {
  const QImage imagen(fichero);
  std::vector<std::vector<int>> filas;
  for (int y = 0; y < imagen.height(); ++y) {
    filas.emplace_back();
    for (int x = 0; x < imagen.width(); ++x) filas.back().push_back(qGray(imagen.pixel(x, y)));
  }
  return filas;
}

const std::string kUso = "Uso: velarno-cli METODO ENTRADA [opciones]\n";

// A 3 x 2 grey picture: 10 100 200 / 50 128 255. Its mean is 743 / 6 = 123.8.
class VelarnoCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QImage imagen(3, 2, QImage::Format_RGB32);
    const int niveles[] = {10, 100, 200, 50, 128, 255};
    for (int i = 0; i < 6; ++i)
      imagen.setPixel(i % 3, i / 3, qRgb(niveles[i], niveles[i], niveles[i]));
    ASSERT_TRUE(imagen.save(foto, "BMP"));
  }
  QString en(const char* nombre) const { return dir.filePath(QString::fromUtf8(nombre)); }

  QTemporaryDir dir;
  const QString foto = dir.filePath("foto.bmp");
};

TEST_F(VelarnoCli, UsageErrorsExitTwoBeforeReadingThePicture) {
  struct Caso {
    QStringList argumentos;
    std::string error;  // first line of stderr
  };
  // "falta.bmp" does not exist: a usage error is reported before the picture is read.
  const QString f = "falta.bmp";
  const std::vector<Caso> casos = {
      {{}, "Faltan el método o la imagen de entrada."},
      {{"mean"}, "Faltan el método o la imagen de entrada."},
      {{"media", f}, "Método desconocido: «media»."},
      {{"mean", f, "--nada"}, "Opción desconocida: «--nada»."},
      {{"mean", f, "sobra"}, "Argumento de más: «sobra»."},
      {{"mean", f, "--pct", "50"}, "El método «mean» no lee la opción --pct."},
      {{"umbral", f, "--mascara", "0,1,0,1,-4,1,0,1,0"},
       "El método «umbral» no lee la opción --mascara."},
      {{"mean", f, "--respuestas", "S"}, "La opción --respuestas solo vale con --paso."},
      {{"umbral", f, "--umbral", "256"}, "El umbral debe ser un número entero de 0 a 255: «256»."},
      {{"umbral", f, "--umbral", "abc"}, "El umbral debe ser un número entero de 0 a 255: «abc»."},
      {{"umbral", f, "--umbral", "-1"}, "El umbral debe ser un número entero de 0 a 255: «-1»."},
      {{"umbral", f, "--umbral", "12.0"},
       "El umbral debe ser un número entero de 0 a 255: «12.0»."},
      {{"umbral", f, "--umbral", ""}, "El umbral debe ser un número entero de 0 a 255: «»."},
      {{"umbral", f, "--umbral"}, "Falta el valor de la opción --umbral."},
      {{"mean", f, "--salida", "b.jpg"},
       "El fichero de --salida «b.jpg» debe terminar en .png, .bmp o .pgm."},
      {{"mean", f, "--gris", "g"}, "El fichero de --gris «g» debe terminar en .png, .bmp o .pgm."},
      {{"mean", f, "--json", "--salida"}, "Falta el valor de la opción --salida."},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.argumentos.join(' ').toStdString());
    const Salida s = correr(c.argumentos);
    EXPECT_EQ(s.codigo, 2);
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.err.substr(0, s.err.find('\n') + 1), c.error + "\n");
    EXPECT_NE(s.err.find(kUso), std::string::npos);
  }
}

TEST_F(VelarnoCli, PictureThatCannotBeReadExitsThree) {
  QFile texto(en("nota.bmp"));
  ASSERT_TRUE(texto.open(QIODevice::WriteOnly));
  texto.write("solo texto\n");
  texto.close();
  struct Caso {
    QStringList argumentos;
    std::string error;
  };
  const std::vector<Caso> casos = {
      {{"mean", en("no_existe.bmp"), "--json"},
       "No se puede leer el fichero «no_existe.bmp»: no existe o no se tiene permiso para "
       "leerlo.\n"},
      {{"umbral", en("nota.bmp")},
       "No se puede abrir «nota.bmp»: no es una imagen BMP, GIF, JPEG o PNG válida.\n"},
      {{"mean", foto, "--salida", en("no/hay/carpeta.png")},
       "No se puede escribir el fichero «" + en("no/hay/carpeta.png").toStdString() + "».\n"},
      {{"mean", foto, "--json", "--gris", en("no/hay/carpeta.pgm")},
       "No se puede escribir el fichero «" + en("no/hay/carpeta.pgm").toStdString() + "».\n"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.argumentos.join(' ').toStdString());
    const Salida s = correr(c.argumentos);
    EXPECT_EQ(s.codigo, 3);
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.err, c.error);
  }
}

TEST_F(VelarnoCli, UmbralCountsTheLevelsBelowTheScrollValue) {
  struct Caso {
    const char* umbral;  // nullptr: the initial 128
    int valor;
    int negros;
  };
  const Caso casos[] = {{"0", 0, 0},       {"10", 10, 0},   {"11", 11, 1},   {"100", 100, 2},
                        {nullptr, 128, 3}, {"129", 129, 4}, {"255", 255, 5}, {"0255", 255, 5}};
  for (const Caso& c : casos) {
    QStringList argumentos{"umbral", foto, "--json"};
    if (c.umbral != nullptr) argumentos << "--umbral" << c.umbral;
    SCOPED_TRACE(argumentos.join(' ').toStdString());
    const Salida s = correr(argumentos);
    EXPECT_EQ(s.codigo, 0);
    EXPECT_EQ(s.err, "");
    EXPECT_EQ(
        s.out,
        "{\"ancho\":3,\"alto\":2,\"metodo\":\"umbral\",\"umbral\":" + std::to_string(c.valor) +
            ",\"traza\":[],\"mensajes\":[],\"negros\":" + std::to_string(c.negros) + "}\n");
  }
  const Salida plano = correr({"umbral", foto});
  EXPECT_EQ(plano.codigo, 0);
  EXPECT_EQ(plano.out, "");
}

TEST_F(VelarnoCli, MeanPrintsItsTraceAndPublishes) {
  const std::vector<std::string> lineas = {
      "Iniciando algoritmo Mean",  "========================", "suma Total: 743",
      "Nº de pixels: 6",           "Umbral encontrado: 124",   "",
      "Algoritmo Mean finalizado."};
  std::string plano, json;
  for (const std::string& l : lineas) {
    plano += l + "\n";
    json += (json.empty() ? "\"" : ",\"") + l + "\"";
  }
  const Salida s = correr({"mean", foto});
  EXPECT_EQ(s.codigo, 0);
  EXPECT_EQ(s.out, plano);
  // --umbral only sets the scroll bar; the published threshold 124 decides the picture.
  const Salida j = correr({"mean", foto, "--json", "--umbral", "200"});
  EXPECT_EQ(j.codigo, 0);
  EXPECT_EQ(j.out, "{\"ancho\":3,\"alto\":2,\"metodo\":\"mean\",\"umbral\":124,\"traza\":[" + json +
                       "],\"mensajes\":[],\"negros\":3}\n");
}

TEST_F(VelarnoCli, MeanStepModeRecordsItsPromptsWithEscapedLineBreaks) {
  const Salida s = correr({"mean", foto, "--json", "--paso", "--respuestas", "sN"});
  EXPECT_EQ(s.codigo, 0);
  EXPECT_EQ(s.out,
            "{\"ancho\":3,\"alto\":2,\"metodo\":\"mean\",\"umbral\":124,\"traza\":["
            "\"Iniciando algoritmo Mean\",\"========================\",\"Iteración: 1\","
            "\"Nivel de gris del punto (0,0): 10 - Suma acumulada = 10\",\"\",\"Iteración: 2\","
            "\"Nivel de gris del punto (0,1): 100 - Suma acumulada = 110\",\"\","
            "\"Paso a Paso cancelado.\",\"suma Total: 743\",\"Nº de pixels: 6\","
            "\"Umbral encontrado: 124\",\"\",\"Algoritmo Mean finalizado.\"],\"mensajes\":["
            "{\"titulo\":\"Ejecución paso a paso\",\"texto\":\"\\r\\nIteración: 1\\r\\nNivel de "
            "gris del punto (0,0)= 10- Suma = 10\\r\\n\\r\\n¿Continuar paso a paso?\","
            "\"estilo\":4,\"respuesta\":6},"
            "{\"titulo\":\"Ejecución paso a paso\",\"texto\":\"\\r\\nIteración: 2\\r\\nNivel de "
            "gris del punto (0,1)= 100- Suma = 110\\r\\n\\r\\n¿Continuar paso a paso?\","
            "\"estilo\":4,\"respuesta\":7}],\"negros\":3}\n");
}

TEST_F(VelarnoCli, BoxWithoutTitleIsRecordedWithTheApplicationTitle) {
  // Yes to all six pixels: Mean then shows its summary in a box without a title of its own.
  const Salida s = correr({"mean", foto, "--json", "--paso", "--respuestas", "SSSSSS"});
  EXPECT_EQ(s.codigo, 0);
  EXPECT_NE(s.out.find("\"estilo\":4,\"respuesta\":6},{\"titulo\":\"Velarno\",\"texto\":"
                       "\"\\r\\nsuma Total: 743\\r\\nNº de pixels: 6\\r\\n\",\"estilo\":0,"
                       "\"respuesta\":1}],\"negros\":3}\n"),
            std::string::npos)
      << s.out;
}

TEST_F(VelarnoCli, UmbralStepModeAsksDownTheFirstColumn) {
  const auto pregunta = [](const std::string& punto, const std::string& palabra, int respuesta) {
    return "{\"titulo\":\"Segmentar paso a paso\",\"texto\":\"Nivel de gris del punto (" + punto +
           "\\rSerá convertido a: " + palabra +
           "\\r\\r¿Seguir ejecución paso a paso?\",\"estilo\":4,\"respuesta\":" +
           std::to_string(respuesta) + "}";
  };
  struct Caso {
    QStringList opciones;
    std::string mensajes;
  };
  const std::vector<Caso> casos = {
      {{"--paso"}, pregunta("0,0): 10", "Negro", 7)},
      {{"--paso", "--respuestas", "SSn"},
       pregunta("0,0): 10", "Negro", 6) + "," + pregunta("0,1): 50", "Negro", 6) + "," +
           pregunta("1,0): 100", "Blanco", 7)},
  };
  for (const Caso& c : casos) {
    const QStringList argumentos =
        QStringList{"umbral", foto, "--json", "--umbral", "60"} + c.opciones;
    SCOPED_TRACE(argumentos.join(' ').toStdString());
    const Salida s = correr(argumentos);
    EXPECT_EQ(s.codigo, 0);
    // After a No the rest is decided at once: the final picture is the whole binarization.
    EXPECT_EQ(s.out,
              "{\"ancho\":3,\"alto\":2,\"metodo\":\"umbral\",\"umbral\":60,\"traza\":[],"
              "\"mensajes\":[" +
                  c.mensajes + "],\"negros\":2}\n");
  }
}

TEST_F(VelarnoCli, WrittenPicturesReadBackEqual) {
  const std::vector<std::vector<int>> grises = {{10, 100, 200}, {50, 128, 255}};
  // Equalized: level i becomes round(c(i) x 255 / 6), c the cumulative count.
  const std::vector<std::vector<int>> ecualizados = {{42, 128, 212}, {85, 170, 255}};
  const std::vector<std::vector<int>> binarizada = {{0, 255, 255}, {0, 255, 255}};
  for (const char* extension : {"png", "bmp", "pgm", "PGM"}) {
    SCOPED_TRACE(extension);
    const QString salida = en("b.") + extension;
    const QString gris = en("g.") + extension;
    const QString gris2 = en("e.") + extension;
    ASSERT_EQ(
        correr({"umbral", foto, "--umbral", "100", "--salida", salida, "--gris", gris}).codigo, 0);
    EXPECT_EQ(nivelesDe(salida), binarizada);
    EXPECT_EQ(nivelesDe(gris), grises);
    ASSERT_EQ(correr({"mean", foto, "--ecualizar", "--gris", gris2}).codigo, 0);
    EXPECT_EQ(nivelesDe(gris2), ecualizados);
  }
}

TEST_F(VelarnoCli, OpensGifAndJpeg) {
  // 2 x 1 GIF: a black and a white pixel.
  QFile gif(en("dos.gif"));
  ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
  gif.write(
      QByteArray("GIF89a\x02\x00\x01\x00\x91\x00\x00\x00\x00\x00\xFF\xFF\xFF\x00\x00\x00\x00"
                 "\x00\x00\x2C\x00\x00\x00\x00\x02\x00\x01\x00\x00\x02\x02\x44\x0A\x00\x3B",
                 41));
  gif.close();
  QImage gris(8, 8, QImage::Format_RGB32);
  gris.fill(qRgb(77, 77, 77));
  ASSERT_TRUE(gris.save(en("gris.jpg"), "JPEG", 95));
  const Salida g = correr({"umbral", en("dos.gif"), "--json"});
  EXPECT_EQ(g.out,
            "{\"ancho\":2,\"alto\":1,\"metodo\":\"umbral\",\"umbral\":128,\"traza\":[],"
            "\"mensajes\":[],\"negros\":1}\n");
  const Salida j = correr({"umbral", en("gris.jpg"), "--json"});
  EXPECT_EQ(j.out,
            "{\"ancho\":8,\"alto\":8,\"metodo\":\"umbral\",\"umbral\":128,\"traza\":[],"
            "\"mensajes\":[],\"negros\":64}\n");
}

}  // namespace
