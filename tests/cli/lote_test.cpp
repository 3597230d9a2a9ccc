// velarno-cli lote as a program: which files give rows and in what order, the same rows on one
// or two workers and in shares, an interruption, scores against a reference folder.
#include <algorithm>
#include <signal.h>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/catalogo.h"
#include "support/proceso_cli.h"

namespace velarno {
namespace {

Salida lote(const QStringList& argumentos) { return correr(QStringList{"lote"} + argumentos); }

std::vector<std::string> lineas(const std::string& texto) {
  std::vector<std::string> v;
  for (size_t i = 0, fin; i < texto.size(); i = fin + 1) {
    fin = texto.find('\n', i);
    v.push_back(texto.substr(i, fin - i));
  }
  return v;
}

// The CSV without its ms cells (the 7th column, the only one that differs between runs).
std::string sinMs(const std::string& csv) {
  std::string resto;
  for (std::string linea : lineas(csv)) {
    size_t coma = 0;
    for (int k = 0; k < 6; ++k) coma = linea.find(',', coma) + 1;
    resto += linea.erase(coma, linea.find(',', coma) - coma) + "\n";
  }
  return resto;
}

QImage gris(int ancho, int alto, const std::vector<uchar>& niveles = {}) {
  QImage imagen(ancho, alto, QImage::Format_Grayscale8);
  for (int i = 0; i < ancho * alto; ++i)
    imagen.scanLine(i / ancho)[i % ancho] =
        niveles.empty() ? uchar((i * 37 + (i / ancho) * 11) % 256) : niveles[size_t(i)];
  return imagen;
}

// a.png is 10 100 200 / 50 128 255; b, c and d are textures 13, 14 and 15 pixels wide; a
// file that is no picture beside them is skipped, one named like a picture gives an error row.
class Lote : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir(dir.path()).mkpath("sub") && QDir(dir.path()).mkpath("refs"));
    ASSERT_TRUE(gris(3, 2, {10, 100, 200, 50, 128, 255}).save(en("a.png")));
    const char* texturas[] = {"b.bmp", "sub/c.PNG", "sub/d.jpg"};
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(gris(13 + k, 9).save(en(texturas[k])));
    for (const char* nombre : {"sub/notas.txt", "sub/malo.gif"}) {
      QFile f(en(nombre));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("no es una imagen") > 0);
    }
  }
  QString en(const char* nombre) const { return dir.filePath(QString::fromUtf8(nombre)); }
  std::string ruta(const char* nombre) const { return en(nombre).toStdString(); }
  std::string errorFila(const char* nombre, const char* fichero) const {
    return ruta(nombre) + ",,,,,,,,,,,,,\"No se puede abrir «" + fichero +
           "»: no es una imagen BMP, GIF, JPEG o PNG válida.\"";
  }

  QTemporaryDir dir;
};

TEST_F(Lote, RowsComeWholeInPathAndCatalogueOrderOnAnyWorkersAndInShares) {
  // A file named is taken whatever its extension, and once however often it is found.
  const QStringList entradas{dir.path(), en("sub/notas.txt"), en("a.png")};
  const Salida uno = lote(QStringList{"--hilos", "1"} + entradas);
  EXPECT_EQ(uno.codigo, 3);
  EXPECT_EQ(uno.err, "");
  EXPECT_EQ(sinMs(lote(entradas + QStringList{"--hilos", "2"}).out), sinMs(uno.out));
  std::string partes;  // 1, 2, 1 and 2 of the 6 files
  for (const char* parte : {"1/4", "2/4", "3/4", "4/4"})
    partes += sinMs(lote(entradas + QStringList{"--parte", parte, "--hilos", "2"}).out);
  EXPECT_EQ(partes, sinMs(uno.out));

  // Pictures in path order, each with every method in catalogue order, then the error rows.
  std::string esperadas =
      "fichero,metodo,ancho,alto,umbral,negro,ms,f,precision,exhaustividad,me,psnr,jaccard,error\n";
  for (const char* imagen :
       {"a.png,%s,3,2", "b.bmp,%s,13,9", "sub/c.PNG,%s,14,9", "sub/d.jpg,%s,15,9"})
    for (const MetodoCatalogo& m : catalogo())
      if (m.ejecutar != nullptr)
        esperadas += ruta("") + "/" + QString::asprintf(imagen, m.id).toStdString() + "\n";
  esperadas +=
      errorFila("sub/malo.gif", "malo.gif") + "\n" + errorFila("sub/notas.txt", "notas.txt") + "\n";
  std::string filas;
  for (const std::string& fila : lineas(uno.out))
    filas +=
        (fila.find(",,,,,,,,,,,,,") != std::string::npos || fila.rfind("fichero", 0) == 0
             ? fila
             : fila.substr(
                   0, fila.find(',', fila.find(',', fila.find(',', fila.find(',') + 1) + 1) + 1))) +
        "\n";
  EXPECT_EQ(filas, esperadas);
  // A refusal: no threshold, nothing drawn, the box's text.
  EXPECT_NE(sinMs(uno.out).find(",moving,3,2,,0.0000,,,,,,,,El algoritmo Moving Averages "
                                "necesita una imagen de al menos 5 pixels de ancho.\n"),
            std::string::npos);
}

// The reference of a picture is the one of the same base name. a.png at the scroll bar's 128
// is black at 10, 100 and 50, exactly the reference's black: every measure 1, ME 0, PSNR
// infinite. b.bmp's reference has another size: its row keeps the rest and says why.
TEST_F(Lote, ScoresAgainstTheReferenceOfTheSameName) {
  const QImage referencia = gris(3, 2, {0, 0, 255, 0, 255, 255});
  ASSERT_TRUE(referencia.save(en("refs/a.bmp")) && referencia.save(en("refs/b.png")));
  const Salida s =
      lote({"--metodos", "umbral", "--referencias", en("refs"), en("a.png"), en("b.bmp")});
  EXPECT_EQ(s.codigo, 0);
  const std::vector<std::string> filas = lineas(sinMs(s.out));
  ASSERT_EQ(filas.size(), 3u);
  EXPECT_EQ(filas[1], ruta("a.png") + ",umbral,3,2,128,0.5000,,1,1,1,0,inf,1,");
  EXPECT_EQ(filas[2].rfind(ruta("b.bmp") + ",umbral,13,9,128,", 0), 0u);
  EXPECT_EQ(filas[2].substr(filas[2].find(",,")),
            ",,,,,,,,La referencia mide 3x2 píxeles y la imagen 13x9: deben tener el mismo "
            "tamaño.");
}

TEST(LoteInterrumpido, LeavesOnlyWholeRowsAndExits130) {
  QTemporaryDir dir;
  const QString primera = dir.filePath("000.png");
  // 30 pictures of 800 x 600: a few seconds of work, of which the first picture is a tenth.
  ASSERT_TRUE(gris(800, 600).save(primera));
  for (int k = 1; k < 30; ++k)
    ASSERT_TRUE(QFile::copy(primera, dir.filePath(QString::asprintf("%03d.png", k))));
  QProcess proceso;
  proceso.start(QStringLiteral(VELARNO_CLI), {"lote", "--hilos", "1", dir.path()});
  std::string out;
  while (std::count(out.begin(), out.end(), '\n') < 2 && proceso.waitForReadyRead(60000))
    out += proceso.readAllStandardOutput().toStdString();
  ::kill(static_cast<pid_t>(proceso.processId()), SIGINT);
  ASSERT_TRUE(proceso.waitForFinished(60000));
  out += proceso.readAllStandardOutput().toStdString();
  EXPECT_EQ(proceso.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(proceso.exitCode(), 130);
  ASSERT_EQ(out.back(), '\n');
  const std::vector<std::string> filas = lineas(out);
  EXPECT_LT(filas.size(), 1 + 30 * 12u);
  for (const std::string& fila : filas) EXPECT_EQ(std::count(fila.begin(), fila.end(), ','), 13);
}

}  // namespace
}  // namespace velarno
