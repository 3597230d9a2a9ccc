#include "platform/firmas.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace velarno {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytes(const std::string& texto) { return Bytes(texto.begin(), texto.end()); }

// Each check runs on a heap copy of exactly n bytes, so a read past the end is one past an
// allocation (AddressSanitizer reports it).
std::string jpegDe(const Bytes& datos, size_t n) {
  const Bytes copia(datos.begin(), datos.begin() + static_cast<std::ptrdiff_t>(n));
  return revisarJpeg(copia.data(), copia.size());
}
std::string gifDe(const Bytes& datos, size_t n) {
  const Bytes copia(datos.begin(), datos.begin() + static_cast<std::ptrdiff_t>(n));
  return revisarGif(copia.data(), copia.size());
}

// Each signature at its exact length, and near misses.
TEST(OlfatearFormato, TellsTheFourSignaturesAndNothingElse) {
  const std::vector<std::pair<std::string, Formato>> casos = {
      {"", Formato::Ninguno},
      {"B", Formato::Ninguno},
      {"BM", Formato::Bmp},
      {"GIF87a", Formato::Gif},
      {"GIF89a", Formato::Gif},
      {"GIF88a", Formato::Ninguno},
      {"\xFF\xD8\xFF", Formato::Jpeg},
      {"\xFF\xD8\xFE", Formato::Ninguno},
      {"\x89PNG", Formato::Png},
      {"\x88PNG", Formato::Ninguno},
      {std::string("II*\0", 4), Formato::Ninguno},
  };
  for (const auto& [texto, formato] : casos) {
    const Bytes b = bytes(texto);
    EXPECT_EQ(olfatearFormato(b.data(), b.size()), formato) << "«" << texto << "»";
  }
}

// A JPEG of `comentarios` COM segments, a frame header and `barridos` scans, each scan with
// entropy-coded bytes holding a stuffed FF 00, fill bytes and a restart marker, then EOI.
Bytes jpeg(int comentarios, int barridos) {
  Bytes b = {0xFF, 0xD8};
  const auto segmento = [&b](uint8_t marcador, const Bytes& cuerpo) {
    b.insert(b.end(), {0xFF, marcador, 0, static_cast<uint8_t>(cuerpo.size() + 2)});
    b.insert(b.end(), cuerpo.begin(), cuerpo.end());
  };
  for (int i = 0; i < comentarios; ++i) segmento(0xFE, {'h', 'o', 'l', 'a'});
  segmento(0xC2, {8, 0, 8, 0, 8, 1, 1, 0x11, 0});
  for (int i = 0; i < barridos; ++i) {
    segmento(0xDA, {1, 1, 0, 0, 0, 0});
    b.insert(b.end(), {0x12, 0xFF, 0x00, 0x34, 0xFF, 0xFF, 0xD3, 0x56, 0xFF, 0x00});
  }
  b.insert(b.end(), {0xFF, 0xD9});
  return b;
}

TEST(RevisarJpeg, CountsScansAndSegmentsUpToTheLimits) {
  // The frame header is one segment: 100 scans + 899 comments + 1 = 1000 segments.
  Bytes trasFin = jpeg(0, 1);
  for (int i = 0; i < 2000; ++i) trasFin.insert(trasFin.end(), {0xFF, 0xFE, 0x00, 0x02});
  const struct {
    const char* nombre;
    Bytes datos;
    std::string defecto;
  } casos[] = {
      {"100 scans, 1000 segments", jpeg(899, 100), ""},
      {"101 scans", jpeg(0, 101), "demasiados barridos"},
      {"1001 segments", jpeg(900, 100), "demasiados segmentos"},
      {"segments after EOI", trasFin, ""},
  };
  for (const auto& c : casos) EXPECT_EQ(jpegDe(c.datos, c.datos.size()), c.defecto) << c.nombre;
}

TEST(RevisarJpeg, EveryTruncationIsReadWithinItsBytes) {
  // Every prefix of a refused file: the walk stays inside the prefix, and a prefix passes until
  // it holds the 101st scan header whole.
  const Bytes datos = jpeg(0, 101);
  size_t primeroRechazado = 0;
  for (size_t n = 2; n <= datos.size(); ++n) {
    if (!jpegDe(datos, n).empty() && primeroRechazado == 0) primeroRechazado = n;
  }
  EXPECT_EQ(primeroRechazado, jpeg(0, 100).size() - 2 + 10);  // the 101st SOS segment's end

  // A length that runs past the end, lengths below 2, and a marker cut after its FF.
  const std::vector<Bytes> raros = {
      {0xFF, 0xD8, 0xFF, 0xFE, 0xFF, 0xFF},
      {0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x01, 0xFF, 0xDA, 0x00, 0x02},
      {0xFF, 0xD8, 0xFF, 0xFE, 0x00},
      {0xFF, 0xD8, 0xFF, 0xFF, 0xFF},
  };
  for (const Bytes& b : raros) EXPECT_EQ(jpegDe(b, b.size()), "");
}

struct Cuadro {
  int tamanoCodigo;
  bool tablaLocal = false;
};

// A GIF89a with a global palette of 2 colours, a comment, an application and a graphic control
// extension (whose data holds 0x2C bytes that are not image descriptors), then one image
// descriptor per `cuadros`, each followed by two data sub-blocks, and the trailer.
Bytes gif(const std::vector<Cuadro>& cuadros, size_t* posicionUltimoCodigo = nullptr) {
  Bytes b = bytes("GIF89a");
  b.insert(b.end(), {2, 0, 2, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255});
  b.insert(b.end(), {0x21, 0xFE, 3, 0x2C, 0x2C, 0x2C, 0, 0x21, 0xFF, 11});
  const Bytes netscape = bytes("NETSCAPE2.0");
  b.insert(b.end(), netscape.begin(), netscape.end());
  b.insert(b.end(), {3, 1, 0, 0, 0});
  for (const Cuadro& c : cuadros) {
    b.insert(b.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 2, 0, 2, 0});
    b.push_back(c.tablaLocal ? 0x81 : 0x00);
    if (c.tablaLocal) b.insert(b.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    if (posicionUltimoCodigo) *posicionUltimoCodigo = b.size();
    b.push_back(static_cast<uint8_t>(c.tamanoCodigo));
    b.insert(b.end(), {2, 0x4C, 0x01, 1, 0x2C, 0});
  }
  b.push_back(0x3B);
  return b;
}

TEST(RevisarGif, LzwMinimumCodeSizeMustBeTwoToEight) {
  const struct {
    const char* nombre;
    std::vector<Cuadro> cuadros;
    bool rechazado;
  } casos[] = {
      {"size 1", {{1}}, true},
      {"size 2", {{2}}, false},
      {"size 8", {{8}}, false},
      {"size 9", {{9}}, true},
      {"three good frames", {{2}, {8, true}, {3}}, false},
      {"second frame bad after local table", {{2}, {1, true}}, true},
  };
  for (const auto& c : casos) {
    const Bytes b = gif(c.cuadros);
    EXPECT_EQ(gifDe(b, b.size()), c.rechazado ? "un tamaño de código LZW no válido" : "")
        << c.nombre;
  }
}

TEST(RevisarGif, TruncatedFilesAreLeftToTheDecoder) {
  size_t posicion = 0;
  const Bytes datos = gif({{2}, {2, true}, {0}}, &posicion);
  for (size_t n = 0; n <= datos.size(); ++n) {
    // Refused once the bad code size byte is inside the data, never before.
    EXPECT_EQ(gifDe(datos, n).empty(), n <= posicion) << n;
  }
}

TEST(RevisarGif, AnUnknownBlockEndsTheWalk) {
  Bytes b = gif({{2}});
  b.back() = 0x00;  // neither extension, descriptor nor trailer: the decoder stops here
  const Bytes resto = gif({{0}});
  b.insert(b.end(), resto.begin() + 13 + 6, resto.end());
  EXPECT_EQ(gifDe(b, b.size()), "");
}

}  // namespace
}  // namespace velarno
