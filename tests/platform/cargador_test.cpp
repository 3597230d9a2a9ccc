#include "platform/cargador.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velarno {
namespace {

// Messages compared as UTF-8 so that a failure prints them.
std::string u8(const QString& texto) { return texto.toStdString(); }

QString ruta(const QTemporaryDir& dir, const QString& nombre) { return dir.filePath(nombre); }

void escribir(const QString& fichero, const QByteArray& bytes) {
  QFile f(fichero);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

void le16(QByteArray& b, int v) {
  b.append(static_cast<char>(v & 0xFF));
  b.append(static_cast<char>((v >> 8) & 0xFF));
}
void le32(QByteArray& b, int64_t v) {
  for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void be32(QByteArray& b, uint32_t v) {
  for (int i = 3; i >= 0; --i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A 24-bit BMP whose header claims ancho x alto (negative alto: top-down rows) followed by
// `datos` as pixel data.
QByteArray bmp24(int32_t ancho, int32_t alto, const QByteArray& datos) {
  QByteArray b("BM");
  le32(b, 54 + datos.size());
  le32(b, 0);
  le32(b, 54);
  le32(b, 40);
  le32(b, ancho);
  le32(b, alto);
  le16(b, 1);
  le16(b, 24);
  le32(b, 0);
  le32(b, datos.size());
  le32(b, 2835);
  le32(b, 2835);
  le32(b, 0);
  le32(b, 0);
  return b + datos;
}

uint32_t crc32(const QByteArray& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc ^= static_cast<uint8_t>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

QByteArray trozoPng(const QByteArray& tipo, const QByteArray& datos) {
  QByteArray b;
  be32(b, static_cast<uint32_t>(datos.size()));
  const QByteArray cuerpo = tipo + datos;
  b += cuerpo;
  be32(b, crc32(cuerpo));
  return b;
}

// A PNG whose IHDR claims ancho x alto (8-bit RGB) followed by a token IDAT and IEND.
QByteArray pngCabecera(uint32_t ancho, uint32_t alto) {
  QByteArray ihdr;
  be32(ihdr, ancho);
  be32(ihdr, alto);
  ihdr.append("\x08\x02\x00\x00\x00", 5);
  return QByteArray("\x89PNG\r\n\x1A\n", 8) + trozoPng("IHDR", ihdr) +
         trozoPng("IDAT", QByteArray("\x78\x9C\x03\x00\x00\x00\x00\x01", 8)) + trozoPng("IEND", {});
}

// A GIF89a with a four-colour global palette and one frame per entry of `cuadros` (palette
// indices row by row). `transparente` >= 0 marks that index transparent in every frame.
// The LZW stream sends a clear code before every two literals, so codes stay 3 bits wide.
QByteArray gif(int ancho, int alto, const std::vector<QRgb>& paleta,
               const std::vector<std::vector<uint8_t>>& cuadros, int transparente = -1) {
  QByteArray b("GIF89a");
  le16(b, ancho);
  le16(b, alto);
  b.append(static_cast<char>(0x91));
  b.append('\0');
  b.append('\0');
  for (int i = 0; i < 4; ++i) {
    b.append(static_cast<char>(qRed(paleta[i])));
    b.append(static_cast<char>(qGreen(paleta[i])));
    b.append(static_cast<char>(qBlue(paleta[i])));
  }
  if (cuadros.size() > 1) {
    b.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
  }
  for (const auto& indices : cuadros) {
    b.append("\x21\xF9\x04", 3);
    b.append(static_cast<char>(transparente >= 0 ? 0x05 : 0x04));
    le16(b, 10);
    b.append(static_cast<char>(transparente >= 0 ? transparente : 0));
    b.append('\0');
    b.append('\x2C');
    le16(b, 0);
    le16(b, 0);
    le16(b, ancho);
    le16(b, alto);
    b.append('\0');
    b.append('\x02');
    std::vector<int> codigos;
    for (size_t i = 0; i < indices.size(); ++i) {
      if (i % 2 == 0) codigos.push_back(4);
      codigos.push_back(indices[i]);
    }
    codigos.push_back(5);
    QByteArray lzw;
    uint32_t acumulado = 0;
    int bits = 0;
    for (const int c : codigos) {
      acumulado |= static_cast<uint32_t>(c) << bits;
      bits += 3;
      while (bits >= 8) {
        lzw.append(static_cast<char>(acumulado & 0xFF));
        acumulado >>= 8;
        bits -= 8;
      }
    }
    if (bits > 0) lzw.append(static_cast<char>(acumulado & 0xFF));
    for (int i = 0; i < lzw.size(); i += 255) {
      const QByteArray bloque = lzw.mid(i, 255);
      b.append(static_cast<char>(bloque.size()));
      b += bloque;
    }
    b.append('\0');
  }
  b.append('\x3B');
  return b;
}

// Every pixel of a decoded picture as 0xRRGGBB, row by row.
std::vector<uint32_t> colores(const QImage& imagen) {
  std::vector<uint32_t> c;
  for (int y = 0; y < imagen.height(); ++y)
    for (int x = 0; x < imagen.width(); ++x) c.push_back(imagen.pixel(x, y) & 0xFFFFFFu);
  return c;
}

QString noEsImagen(const QString& nombre) {
  return "No se puede abrir «" + nombre + "»: no es una imagen BMP, GIF, JPEG o PNG válida.";
}

// 3 x 2: red, green, blue / white, black, mid grey.
QImage muestra() {
  QImage imagen(3, 2, QImage::Format_RGB32);
  const QRgb c[] = {qRgb(255, 0, 0),     qRgb(0, 255, 0), qRgb(0, 0, 255),
                    qRgb(255, 255, 255), qRgb(0, 0, 0),   qRgb(128, 128, 128)};
  for (int i = 0; i < 6; ++i) imagen.setPixel(i % 3, i / 3, c[i]);
  return imagen;
}
const std::vector<uint32_t> kMuestra = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};

class Cargador : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QTemporaryDir dir;
};

TEST_F(Cargador, LosslessFormatsOpenWithExactColours) {
  struct Caso {
    const char* nombre;
    std::function<void(const QString&)> escribe;
  };
  const std::vector<Caso> casos = {
      {"muestra.bmp", [](const QString& f) { ASSERT_TRUE(muestra().save(f, "BMP")); }},
      {"muestra.png", [](const QString& f) { ASSERT_TRUE(muestra().save(f, "PNG")); }},
      {"muestra.gif",
       [](const QString& f) {
         // Rows: red, green, blue / white, blue, red.
         escribir(
             f, gif(3, 2, {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)},
                    {{0, 1, 2, 3, 2, 0}}));
       }},
      // A top-down BMP (negative height) of 2 x 2: rows padded to 8 bytes, BGR order.
      {"arriba_abajo.bmp",
       [](const QString& f) {
         escribir(f, bmp24(2, -2,
                           QByteArray("\x00\x00\xFF\x00\xFF\x00\x00\x00"
                                      "\xFF\x00\x00\xFF\xFF\xFF\x00\x00",
                                      16)));
       }},
  };
  const std::vector<std::vector<uint32_t>> esperados = {
      kMuestra,
      kMuestra,
      {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x0000FF, 0xFF0000},
      {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
  };
  for (size_t i = 0; i < casos.size(); ++i) {
    SCOPED_TRACE(casos[i].nombre);
    const QString f = ruta(dir, casos[i].nombre);
    casos[i].escribe(f);
    const ResultadoCarga r = decodificarImagen(f);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.imagen.format(), QImage::Format_RGB32);
    EXPECT_EQ(colores(r.imagen), esperados[i]);
  }
}

TEST_F(Cargador, JpegOpensWithNearColours) {
  QImage imagen(16, 16, QImage::Format_RGB32);
  imagen.fill(qRgb(200, 100, 50));
  const QString f = ruta(dir, "foto.jpg");
  ASSERT_TRUE(imagen.save(f, "JPEG", 100));
  const ResultadoCarga r = decodificarImagen(f);
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  ASSERT_EQ(r.imagen.size(), QSize(16, 16));
  EXPECT_EQ(r.imagen.format(), QImage::Format_RGB32);
  for (const uint32_t c : colores(r.imagen)) {
    EXPECT_NEAR(int(c >> 16), 200, 3);
    EXPECT_NEAR(int((c >> 8) & 0xFF), 100, 3);
    EXPECT_NEAR(int(c & 0xFF), 50, 3);
  }
}

TEST_F(Cargador, TransparencyIsFlattenedOverWhite) {
  QImage imagen(4, 1, QImage::Format_ARGB32);
  imagen.setPixel(0, 0, qRgba(255, 0, 0, 0));    // invisible: white
  imagen.setPixel(1, 0, qRgba(0, 0, 0, 128));    // half black
  imagen.setPixel(2, 0, qRgba(255, 0, 0, 51));   // faint red
  imagen.setPixel(3, 0, qRgba(0, 0, 255, 255));  // opaque stays as it is
  const QString f = ruta(dir, "transparente.png");
  ASSERT_TRUE(imagen.save(f, "PNG"));
  const ResultadoCarga r = decodificarImagen(f);
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  EXPECT_EQ(r.imagen.format(), QImage::Format_RGB32);
  // (0 x 128 + 255 x 127) / 255 = 127 exactly; (0 x 51 + 255 x 204) / 255 = 204.
  EXPECT_EQ(colores(r.imagen), (std::vector<uint32_t>{0xFFFFFF, 0x7F7F7F, 0xFFCCCC, 0x0000FF}));
}

TEST_F(Cargador, GifTransparentIndexBecomesWhite) {
  const QString f = ruta(dir, "transparente.gif");
  escribir(f,
           gif(2, 1, {qRgb(0, 0, 0), qRgb(10, 20, 30), qRgb(0, 0, 0), qRgb(0, 0, 0)}, {{1, 2}}, 2));
  const ResultadoCarga r = decodificarImagen(f);
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  EXPECT_EQ(colores(r.imagen), (std::vector<uint32_t>{0x0A141E, 0xFFFFFF}));
}

TEST_F(Cargador, AnimatedGifGivesItsFirstFrame) {
  const QString f = ruta(dir, "animada.gif");
  escribir(f, gif(2, 2, {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0), qRgb(0, 0, 0)},
                  {{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 2, 2}}));
  const ResultadoCarga r = decodificarImagen(f);
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  EXPECT_EQ(colores(r.imagen), std::vector<uint32_t>(4, 0xFF0000));
}

TEST_F(Cargador, RefusesWhatIsNotAPictureOfTheFourKinds) {
  struct Caso {
    const char* nombre;
    QByteArray bytes;
  };
  QByteArray tiff("II*\0", 4);
  tiff += QByteArray(200, '\0');
  const std::vector<Caso> casos = {
      {"casa.bmp", "Esto es un fichero de texto, no una imagen.\n"},
      {"vacio.gif", ""},
      {"tiff_renombrado.bmp", tiff},
      {"solo_firma.jpg", QByteArray("\xFF\xD8\xFF", 3)},
      {"cabecera_rota.png", QByteArray("\x89PNG\r\n\x1A\nbasura", 14)},
      {"bm_corto.bmp", "BM"},
      {"webp_renombrado.bmp", QByteArray("RIFF\x24\0\0\0WEBPVP8 \x18\0\0\0", 20)},
      {"bmp_en_minusculas.bmp", "bm" + bmp24(1, 1, QByteArray(4, '\0')).mid(2)},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    const QString f = ruta(dir, c.nombre);
    escribir(f, c.bytes);
    const ResultadoCarga r = decodificarImagen(f);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(u8(r.error), u8(noEsImagen(c.nombre)));
    EXPECT_TRUE(r.imagen.isNull());
  }
}

TEST_F(Cargador, RefusesAFileThatCannotBeRead) {
  const std::string falta =
      "No se puede leer el fichero «no_existe.bmp»: no existe o no se tiene "
      "permiso para leerlo.";
  EXPECT_EQ(u8(decodificarImagen(ruta(dir, "no_existe.bmp")).error), falta);
  ASSERT_TRUE(QDir(dir.path()).mkdir("carpeta.bmp"));
  EXPECT_EQ(u8(decodificarImagen(ruta(dir, "carpeta.bmp")).error),
            "No se puede leer el fichero «carpeta.bmp»: no existe o no se tiene permiso para "
            "leerlo.");
}

TEST_F(Cargador, RefusesOversizedHeadersBeforeDecoding) {
  // Each file holds a few bytes of pixels: only the header's claim can refuse it this way.
  struct Caso {
    const char* nombre;
    QByteArray bytes;
    const char* tamano;
  };
  const QByteArray poco(12, '\x7F');
  const std::vector<Caso> casos = {
      {"grande.bmp", bmp24(10001, 10000, poco), "10001x10000"},
      {"alta_arriba_abajo.bmp", bmp24(10001, -10000, poco), "10001x10000"},
      {"ancha.bmp", bmp24(65501, 1, poco), "65501x1"},
      {"ancha.png", pngCabecera(65501, 1), "65501x1"},
      {"grande.png", pngCabecera(10000, 10001), "10000x10001"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    const QString f = ruta(dir, c.nombre);
    escribir(f, c.bytes);
    EXPECT_EQ(u8(decodificarImagen(f).error),
              u8(QString("La imagen «%1» mide %2 píxeles: supera el máximo de 100000000 píxeles "
                         "(65500 por lado).")
                     .arg(c.nombre, c.tamano)));
  }
}

TEST_F(Cargador, TheCapIsTenThousandSquared) {
  // One-colour 1-bit PNGs: a few kilobytes however many pixels they hold.
  const auto escribePng = [](const QString& f, int ancho, int alto) {
    QImage imagen(ancho, alto, QImage::Format_Mono);
    imagen.setColorTable({qRgb(40, 80, 120), qRgb(255, 255, 255)});
    imagen.fill(0);
    ASSERT_TRUE(imagen.save(f, "PNG"));
  };
  const QString cabe = ruta(dir, "cabe.png");
  escribePng(cabe, 10000, 10000);
  const ResultadoCarga r = decodificarImagen(cabe);
  ASSERT_TRUE(r.ok()) << u8(r.error);
  EXPECT_EQ(r.imagen.size(), QSize(10000, 10000));
  EXPECT_EQ(r.imagen.pixel(9999, 9999) & 0xFFFFFFu, 0x285078u);

  const QString sobra = ruta(dir, "sobra.png");
  escribePng(sobra, 10000, 10001);
  EXPECT_EQ(u8(decodificarImagen(sobra).error),
            "La imagen «sobra.png» mide 10000x10001 píxeles: supera el máximo de 100000000 "
            "píxeles (65500 por lado).");
}

// A JPEG of `barridos` empty scans or a GIF whose LZW code size is 0, through the loader.
TEST_F(Cargador, RefusesJpegAndGifStructuresBeforeDecoding) {
  QByteArray jpeg("\xFF\xD8", 2);
  jpeg += QByteArray("\xFF\xC2\x00\x0B\x08\x00\x08\x00\x08\x01\x01\x11\x00", 13);
  for (int i = 0; i < 101; ++i) jpeg += QByteArray("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00", 10);
  jpeg += QByteArray("\xFF\xD9", 2);
  QByteArray comentarios("\xFF\xD8", 2);
  for (int i = 0; i < 1001; ++i) comentarios += QByteArray("\xFF\xFE\x00\x02", 4);
  QByteArray gifCero =
      gif(1, 1, {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(0, 0, 0)}, {{1}});
  gifCero[gifCero.indexOf('\x2C') + 10] = '\0';  // the LZW minimum code size
  struct Caso {
    const char* nombre;
    QByteArray bytes;
    const char* texto;
  };
  const std::vector<Caso> casos = {
      {"barridos.jpg", jpeg,
       "No se puede abrir «barridos.jpg»: la imagen JPEG tiene demasiados barridos."},
      {"comentarios.jpg", comentarios,
       "No se puede abrir «comentarios.jpg»: la imagen JPEG tiene demasiados segmentos."},
      {"codigo.gif", gifCero,
       "No se puede abrir «codigo.gif»: la imagen GIF tiene un tamaño de código LZW no válido."},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    const QString f = ruta(dir, c.nombre);
    escribir(f, c.bytes);
    EXPECT_EQ(u8(decodificarImagen(f).error), c.texto);
  }
}

TEST_F(Cargador, ShortUncompressedBmpsAreRefusedWholeOnesOpen) {
  // 3 x 2 at 24 bits: rows of 9 bytes padded to 12. The decoder reads whole rows only, so even
  // the last row's padding must be there.
  const QByteArray filas(24, '\x40');
  struct Caso {
    const char* nombre;
    QByteArray bytes;
    bool abre;
  };
  const std::vector<Caso> casos = {
      {"entera.bmp", bmp24(3, 2, filas), true},
      {"sin_relleno_final.bmp", bmp24(3, 2, filas.left(21)), false},
      {"falta_un_byte.bmp", bmp24(3, 2, filas.left(20)), false},
      {"arriba_abajo_corta.bmp", bmp24(3, -2, filas.left(12)), false},
      {"enorme_corta.bmp", bmp24(10000, 10000, filas), false},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    const QString f = ruta(dir, c.nombre);
    escribir(f, c.bytes);
    const ResultadoCarga r = decodificarImagen(f);
    if (c.abre) {
      ASSERT_TRUE(r.ok()) << u8(r.error);
      EXPECT_EQ(colores(r.imagen), std::vector<uint32_t>(6, 0x404040));
    } else {
      EXPECT_EQ(u8(r.error), "No se puede abrir «" + std::string(c.nombre) +
                                 "»: el fichero BMP está incompleto.");
    }
  }
}

TEST_F(Cargador, ProgressiveJpegTooCostlyToDecodeIsRefused) {
  // A 10000 x 10000 progressive frame with three full-resolution components: the decoder would
  // keep 600 MB of coefficients besides the picture.
  QByteArray b("\xFF\xD8", 2);
  b += QByteArray("\xFF\xDB\x00\x43\x00", 5) + QByteArray(64, '\x01');
  b += QByteArray("\xFF\xC2\x00\x11\x08\x27\x10\x27\x10\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00",
                  19);
  b += QByteArray("\xFF\xC4\x00\x14\x00\x01", 6) + QByteArray(15, '\0') + QByteArray(1, '\0');
  b += QByteArray("\xFF\xDA\x00\x0C\x03\x01\x00\x02\x00\x03\x00\x00\x00\x00", 14);
  b += QByteArray(10, '\0') + QByteArray("\xFF\xD9", 2);
  const QString f = ruta(dir, "progresiva.jpg");
  escribir(f, b);
  EXPECT_EQ(u8(decodificarImagen(f).error),
            "No hay memoria suficiente para abrir «progresiva.jpg» (10000x10000 píxeles).");
}

TEST_F(Cargador, FilesAbove512MBAreRefusedUnread) {
  const QString f = ruta(dir, "enorme.bmp");
  escribir(f, bmp24(1, 1, QByteArray(4, '\0')));
  QFile fichero(f);
  ASSERT_TRUE(fichero.resize(qint64(512) * 1024 * 1024 + 1));  // sparse: costs no disk
  EXPECT_EQ(u8(decodificarImagen(f).error),
            "No se puede abrir «enorme.bmp»: el fichero mide más de 512 MB.");
}

// A JPEG whose EXIF block gives `orientacion`, inserted after SOI of a picture 16 x 8 whose left
// 8 x 8 block is black and right block white.
QByteArray jpegConOrientacion(int orientacion) {
  QImage imagen(16, 8, QImage::Format_RGB32);
  imagen.fill(Qt::white);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) imagen.setPixel(x, y, qRgb(0, 0, 0));
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  imagen.save(&buffer, "JPEG", 100);
  QByteArray exif("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 24);
  le16(exif, orientacion);
  exif += QByteArray(6, '\0');  // value padding, no next directory
  QByteArray app1("\xFF\xE1", 2);
  app1.append(static_cast<char>((exif.size() + 2) >> 8));
  app1.append(static_cast<char>((exif.size() + 2) & 0xFF));
  return jpeg.left(2) + app1 + exif + jpeg.mid(2);
}

TEST_F(Cargador, JpegExifOrientationIsApplied) {
  struct Caso {
    int orientacion;
    QSize tamano;
    QPoint negro, blanco;  // a pixel that must be black, one that must be white
  };
  const Caso casos[] = {
      {1, {16, 8}, {2, 4}, {13, 4}},  // as stored
      {3, {16, 8}, {13, 4}, {2, 4}},  // half turn
      {6, {8, 16}, {4, 2}, {4, 13}},  // quarter turn clockwise: the left block goes on top
      {8, {8, 16}, {4, 13}, {4, 2}},  // quarter turn counter-clockwise
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.orientacion);
    const QString f = ruta(dir, QString("exif%1.jpg").arg(c.orientacion));
    escribir(f, jpegConOrientacion(c.orientacion));
    const ResultadoCarga r = decodificarImagen(f);
    ASSERT_TRUE(r.ok()) << u8(r.error);
    EXPECT_EQ(r.imagen.size(), c.tamano);
    EXPECT_LT(qGray(r.imagen.pixel(c.negro)), 16);
    EXPECT_GT(qGray(r.imagen.pixel(c.blanco)), 239);
  }
}

TEST(ComprobarTamano, AcceptsUpToTheCapAndRefusesBeyond) {
  struct Caso {
    qint64 ancho, alto;
    bool acepta;
  };
  const Caso casos[] = {
      {1, 1, true},          {10000, 10000, true},   {65500, 1526, true},  {1526, 65500, true},
      {10001, 10000, false}, {10000, 10001, false},  {65500, 1527, false}, {65501, 1, false},
      {1, 65501, false},     {3000000000, 1, false}, {0, 10, false},       {10, 0, false},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(std::to_string(c.ancho) + "x" + std::to_string(c.alto));
    EXPECT_EQ(comprobarTamano("x.bmp", c.ancho, c.alto).isEmpty(), c.acepta);
  }
  EXPECT_EQ(u8(comprobarTamano("x.bmp", 20000, 20000)),
            "La imagen «x.bmp» mide 20000x20000 píxeles: supera el máximo de 100000000 "
            "píxeles (65500 por lado).");
  EXPECT_EQ(u8(comprobarTamano("x.bmp", 0, 7)), u8(noEsImagen("x.bmp")));
}

}  // namespace
}  // namespace velarno
