#include "platform/cargador.h"

#include <cstdint>
#include <string>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velarno {
namespace {

// Messages compared as UTF-8 so that a failure prints them.
std::string u8(const QString& texto) { return texto.toStdString(); }

void escribir(const QString& fichero, const QByteArray& bytes) {
  QFile f(fichero);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

void le32(QByteArray& b, int64_t v) {
  for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A 24-bit BMP whose header claims ancho x alto (negative alto: top-down rows) followed by
// `datos` as pixel data.
QByteArray bmp24(int32_t ancho, int32_t alto, const QByteArray& datos) {
  QByteArray b("BM");
  // File size, reserved, data offset; info header size, width, height, 1 plane and 24 bits,
  // no compression, data size, resolution, palette counts.
  const int64_t campos[] = {54 + datos.size(), 0,    54,   40, ancho, alto, 1 | (24 << 16), 0,
                            datos.size(),      2835, 2835, 0,  0};
  for (const int64_t v : campos) le32(b, v);
  return b + datos;
}

// 2 x 2 top-down: red, green / blue, white; rows of 6 bytes padded to 8, BGR order.
const QByteArray kFilasArribaAbajo(
    "\x00\x00\xFF\x00\xFF\x00\x00\x00\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 16);

// A GIF89a of 3 x 2 with the palette red, green, blue, white and the rows red, green, blue /
// white, blue, red; byte 43 is the LZW minimum code size.
const QByteArray kGif(
    "GIF89a\x03\x00\x02\x00\x91\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\xFF\xFF\xFF\x21\xF9"
    "\x04\x04\x0A\x00\x00\x00\x2C\x00\x00\x00\x00\x03\x00\x02\x00\x00\x02\x04\x44\xA8\x51\x28"
    "\x00\x3B",
    51);

// Every pixel of a decoded picture as 0xRRGGBB, row by row.
std::vector<uint32_t> colores(const QImage& imagen) {
  std::vector<uint32_t> c;
  for (int y = 0; y < imagen.height(); ++y)
    for (int x = 0; x < imagen.width(); ++x) c.push_back(imagen.pixel(x, y) & 0xFFFFFFu);
  return c;
}

class Cargador : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  // Writes `bytes` as `nombre` in a fresh folder and decodes it.
  ResultadoCarga cargar(const QString& nombre, const QByteArray& bytes) {
    escribir(dir.filePath(nombre), bytes);
    return decodificarImagen(dir.filePath(nombre));
  }
  QTemporaryDir dir;
};

TEST_F(Cargador, LosslessFormatsOpenWithExactColours) {
  QImage png(3, 1, QImage::Format_RGB32);
  png.setPixel(0, 0, qRgb(255, 0, 255));
  png.setPixel(1, 0, qRgb(0, 128, 255));
  png.setPixel(2, 0, qRgb(1, 2, 3));
  QByteArray bytesPng;
  QBuffer buffer(&bytesPng);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && png.save(&buffer, "PNG"));
  const struct {
    const char* nombre;
    QByteArray bytes;
    std::vector<uint32_t> colores;
  } casos[] = {
      {"muestra.png", bytesPng, {0xFF00FF, 0x0080FF, 0x010203}},
      {"muestra.gif", kGif, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x0000FF, 0xFF0000}},
      {"arriba_abajo.bmp",
       bmp24(2, -2, kFilasArribaAbajo),
       {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const ResultadoCarga r = cargar(c.nombre, c.bytes);
    ASSERT_TRUE(r.ok()) << u8(r.error);
    EXPECT_EQ(r.imagen.format(), QImage::Format_RGB32);
    EXPECT_EQ(colores(r.imagen), c.colores);
  }
}

TEST_F(Cargador, TransparencyIsFlattenedOverWhite) {
  QImage imagen(4, 1, QImage::Format_ARGB32);
  imagen.setPixel(0, 0, qRgba(255, 0, 0, 0));    // invisible: white
  imagen.setPixel(1, 0, qRgba(0, 0, 0, 128));    // half black
  imagen.setPixel(2, 0, qRgba(255, 0, 0, 51));   // faint red
  imagen.setPixel(3, 0, qRgba(0, 0, 255, 255));  // opaque stays as it is
  ASSERT_TRUE(imagen.save(dir.filePath("transparente.png"), "PNG"));
  const ResultadoCarga r = decodificarImagen(dir.filePath("transparente.png"));
  ASSERT_TRUE(r.ok()) << u8(r.error);
  EXPECT_EQ(r.imagen.format(), QImage::Format_RGB32);
  // (0 x 128 + 255 x 127) / 255 = 127 exactly; (0 x 51 + 255 x 204) / 255 = 204.
  EXPECT_EQ(colores(r.imagen), (std::vector<uint32_t>{0xFFFFFF, 0x7F7F7F, 0xFFCCCC, 0x0000FF}));
}

// A JPEG of 16 x 8, left half black and right half white, whose EXIF block says "turn a
// quarter clockwise": the left half ends on top.
TEST_F(Cargador, JpegExifOrientationIsApplied) {
  QImage imagen(16, 8, QImage::Format_RGB32);
  imagen.fill(Qt::white);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) imagen.setPixel(x, y, qRgb(0, 0, 0));
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && imagen.save(&buffer, "JPEG", 100));
  QByteArray exif("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 32);
  QByteArray app1("\xFF\xE1\x00", 3);
  app1.append(static_cast<char>(exif.size() + 2));
  const ResultadoCarga r = cargar("exif6.jpg", jpeg.left(2) + app1 + exif + jpeg.mid(2));
  ASSERT_TRUE(r.ok()) << u8(r.error);
  EXPECT_EQ(r.imagen.size(), QSize(8, 16));
  EXPECT_LT(qGray(r.imagen.pixel(4, 2)), 16);
  EXPECT_GT(qGray(r.imagen.pixel(4, 13)), 239);
}

// The largest picture allowed opens, though its 32-bit form is near Qt's allocation limit.
TEST_F(Cargador, APictureAtTheCapOpens) {
  QImage imagen(10000, 10000, QImage::Format_Mono);  // a few kilobytes as a PNG
  imagen.setColorTable({qRgb(40, 80, 120), qRgb(255, 255, 255)});
  imagen.fill(0);
  ASSERT_TRUE(imagen.save(dir.filePath("cabe.png"), "PNG"));
  const ResultadoCarga r = decodificarImagen(dir.filePath("cabe.png"));
  ASSERT_TRUE(r.ok()) << u8(r.error);
  EXPECT_EQ(r.imagen.size(), QSize(10000, 10000));
  EXPECT_EQ(r.imagen.pixel(9999, 9999) & 0xFFFFFFu, 0x285078u);
}

// Each hostile file is refused from its header or structure, before its pixels are decoded.
TEST_F(Cargador, RefusesWithAMessageThatSaysWhy) {
  QByteArray barridos("\xFF\xD8\xFF\xC2\x00\x0B\x08\x00\x08\x00\x08\x01\x01\x11\x00", 15);
  for (int i = 0; i < 101; ++i)
    barridos += QByteArray("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00", 10);
  QByteArray gifCero = kGif;
  gifCero[43] = '\0';
  // A progressive JPEG with frame header `trama` (SOF2 after its marker and length) and one
  // empty scan.
  const auto progresiva = [](const QByteArray& trama) {
    QByteArray b("\xFF\xD8\xFF\xDB\x00\x43\x00", 7);
    b += QByteArray(64, '\x01') + QByteArray("\xFF\xC2\x00\x11", 4) + trama;
    b += QByteArray("\xFF\xC4\x00\x14\x00\x01", 6) + QByteArray(16, '\0');
    b += QByteArray("\xFF\xDA\x00\x0C\x03\x01\x00\x02\x00\x03\x00\x00\x00\x00", 14);
    return b + QByteArray(10, '\0') + QByteArray("\xFF\xD9", 2);
  };
  const struct {
    const char* nombre;
    QByteArray bytes;
    std::string error;
  } casos[] = {
      {"casa.bmp", "Esto es un fichero de texto.\n",
       "No se puede abrir «casa.bmp»: no es una imagen BMP, GIF, JPEG o PNG válida."},
      {"cabecera_rota.png", QByteArray("\x89PNG\r\n\x1A\nbasura", 14),
       "No se puede abrir «cabecera_rota.png»: no es una imagen BMP, GIF, JPEG o PNG válida."},
      {"grande.bmp", bmp24(10001, 10000, QByteArray(12, '\x7F')),
       "La imagen «grande.bmp» mide 10001x10000 píxeles: supera el máximo de 100000000 píxeles "
       "(65500 por lado)."},
      // The decoder reads whole rows only, so even the last row's padding must be there.
      {"sin_relleno_final.bmp", bmp24(2, -2, kFilasArribaAbajo.left(15)),
       "No se puede abrir «sin_relleno_final.bmp»: el fichero BMP está incompleto."},
      {"barridos.jpg", barridos,
       "No se puede abrir «barridos.jpg»: la imagen JPEG tiene demasiados barridos."},
      {"codigo.gif", gifCero,
       "No se puede abrir «codigo.gif»: la imagen GIF tiene un tamaño de código LZW no válido."},
      // 10000 x 10000 with three full-resolution components: the decoder would keep 600 MB of
      // coefficients besides the picture.
      {"progresiva.jpg",
       progresiva(QByteArray("\x08\x27\x10\x27\x10\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00", 15)),
       "No hay memoria suficiente para abrir «progresiva.jpg» (10000x10000 píxeles)."},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const ResultadoCarga r = cargar(c.nombre, c.bytes);
    EXPECT_EQ(u8(r.error), c.error);
    EXPECT_TRUE(r.imagen.isNull());
  }
  // 3000 x 3000 in 4:2:0 keeps 27 MB of coefficients: within the budget, so the decoder tries.
  const ResultadoCarga submuestreada = cargar(
      "420.jpg",
      progresiva(QByteArray("\x08\x0B\xB8\x0B\xB8\x03\x01\x22\x00\x02\x11\x00\x03\x11\x00", 15)));
  EXPECT_EQ(u8(submuestreada.error).find("memoria"), std::string::npos) << u8(submuestreada.error);
  EXPECT_EQ(u8(decodificarImagen(dir.filePath("no_existe.bmp")).error),
            "No se puede leer el fichero «no_existe.bmp»: no existe o no se tiene permiso para "
            "leerlo.");
  escribir(dir.filePath("enorme.bmp"), bmp24(2, -2, kFilasArribaAbajo));
  QFile enorme(dir.filePath("enorme.bmp"));
  ASSERT_TRUE(enorme.resize(qint64(512) * 1024 * 1024 + 1));  // sparse: costs no disk
  EXPECT_EQ(u8(decodificarImagen(dir.filePath("enorme.bmp")).error),
            "No se puede abrir «enorme.bmp»: el fichero mide más de 512 MB.");
}

TEST(ComprobarTamano, AcceptsUpToTheCapAndRefusesBeyond) {
  const struct {
    qint64 ancho, alto;
    bool acepta;
  } casos[] = {
      {1, 1, true},        {10000, 10000, true},  {65500, 1526, true},
      {1526, 65500, true}, {10001, 10000, false}, {65501, 1, false},
      {1, 65501, false},   {0, 10, false},        {10, 0, false},
  };
  for (const auto& c : casos)
    EXPECT_EQ(comprobarTamano("x.bmp", c.ancho, c.alto).isEmpty(), c.acepta)
        << c.ancho << "x" << c.alto;
  EXPECT_EQ(u8(comprobarTamano("x.bmp", 0, 7)),
            "No se puede abrir «x.bmp»: no es una imagen BMP, GIF, JPEG o PNG válida.");
}

}  // namespace
}  // namespace velarno
