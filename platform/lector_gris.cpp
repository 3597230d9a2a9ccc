// The streaming grey reader. It decodes with the libjpeg-turbo under Qt's JPEG reader and with
// the decompression parameters that reader keeps when reading (the library's defaults:
// accurate integer DCT, fancy upsampling, RGB output for colour, grey for grey), so every pixel
// gets the very colour Qt would give it. Only the output layout differs: 32-bit pixels in Qt's
// 0xAARRGGBB word order, which grisesDesdeRGB32 reads, or grey bytes, which Qt widens to equal
// red, green and blue. Qt's reader carries on past the decoder's warnings; whatever the decoder
// complains about sends the file to the whole decode, which handles it as it always has.

#include "platform/lector_gris.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>  // FILE, which jpeglib.h uses without including it
#include <jpeglib.h>
#include <vector>

#include "image/colores.h"
#include "image/representaciones.h"
#include "platform/cargador.h"
#include "platform/superficie_qimage.h"

namespace velarno {
namespace {

#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr J_COLOR_SPACE kColorRGB32 = JCS_EXT_XRGB;
#else
constexpr J_COLOR_SPACE kColorRGB32 = JCS_EXT_BGRX;
#endif

// Colour rows are decoded a few at a time into a buffer of about this size, which stays in
// the cache while it is turned into grey.
constexpr size_t kBytesFilasColor = size_t{128} << 10;
constexpr int kMaxFilas = 16;

// libjpeg reports through these: an error jumps back to the decode, which gives up; a warning
// (a negative message level) is noted; nothing is printed.
struct ErrorJpeg {
  jpeg_error_mgr base;  // first, so libjpeg's pointer to it is a pointer to the whole
  std::jmp_buf salto;
  bool aviso;
};

void salirConError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorJpeg*>(info->err)->salto, 1);
}

void anotarMensaje(j_common_ptr info, int nivel) {
  if (nivel < 0) reinterpret_cast<ErrorJpeg*>(info->err)->aviso = true;
}

void callar(j_common_ptr) {}

// The grey level of each grey byte: the level of the colour with that byte as red, green and
// blue, as Qt widens a grey picture to 32-bit colour.
const std::array<uint8_t, 256>& grisDeByte() {
  static const std::array<uint8_t, 256> tabla = [] {
    std::array<uint32_t, 256> colores{};
    for (uint32_t v = 0; v < 256; ++v) colores[v] = 0xFF000000U | (v * 0x010101U);
    std::array<uint8_t, 256> grises{};
    grisesDesdeRGB32(colores.data(), grises.data(), grises.size());
    return grises;
  }();
  return tabla;
}

// Where the decode writes: the record's grey plane, and for colour a buffer of `filas` rows.
struct Destino {
  uint8_t* plano;
  JDIMENSION ancho;
  JDIMENSION alto;
  uint32_t* colores;
  int filas;
};

// Decodes the JPEG in `bytes` into `destino`; `info` and `error` are set up by the caller, who
// destroys `info` afterwards. False, with the plane partly written, for a picture of another
// kind or size than expected and on any error or warning. Holds nothing that needs a
// destructor, so an error may jump straight back to it.
bool decodificarJpeg(const QByteArray& bytes, jpeg_decompress_struct& info, ErrorJpeg& error,
                     const Destino& destino) {
  if (setjmp(error.salto) != 0) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  // Kept as Qt's reader keeps them, so both walk the markers alike.
  jpeg_save_markers(&info, JPEG_COM, 0xFFFF);
  jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
  jpeg_read_header(&info, TRUE);
  const bool gris = info.num_components == 1 && info.jpeg_color_space == JCS_GRAYSCALE;
  const bool color = info.num_components == 3 &&
                     (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB);
  if (!gris && !color) return false;
  if (color) info.out_color_space = kColorRGB32;
  jpeg_start_decompress(&info);
  if (error.aviso || info.output_width != destino.ancho || info.output_height != destino.alto ||
      info.rec_outbuf_height > destino.filas)
    return false;

  const std::array<uint8_t, 256>& nivel = grisDeByte();
  while (info.output_scanline < info.output_height) {
    const JDIMENSION y = info.output_scanline;
    const auto pedidas = std::min(static_cast<JDIMENSION>(destino.filas), destino.alto - y);
    std::array<JSAMPROW, kMaxFilas> filas{};
    for (JDIMENSION i = 0; i < pedidas; ++i) {
      filas[i] = gris ? destino.plano + size_t{y + i} * destino.ancho
                      : reinterpret_cast<JSAMPROW>(destino.colores + size_t{i} * destino.ancho);
    }
    const JDIMENSION leidas = jpeg_read_scanlines(&info, filas.data(), pedidas);
    if (leidas == 0 || error.aviso) return false;
    for (JDIMENSION i = 0; i < leidas; ++i) {
      uint8_t* fila = destino.plano + size_t{y + i} * destino.ancho;
      if (gris) {
        for (JDIMENSION x = 0; x < destino.ancho; ++x) fila[x] = nivel[fila[x]];
      } else {
        grisesDesdeRGB32(destino.colores + size_t{i} * destino.ancho, fila, destino.ancho);
      }
    }
  }
  jpeg_finish_decompress(&info);
  return !error.aviso;
}

// Sizes the record to the revised JPEG and reads its grey levels; false when the whole decode
// must do it instead.
bool leerJpeg(const ImagenRevisada& revisada, DatosImagen& imagen) {
  imagen.ancho = revisada.ancho();
  imagen.alto = revisada.alto();
  imagen.pixeles = Pixeles(imagen.ancho, imagen.alto);
  const auto ancho = static_cast<size_t>(imagen.ancho);
  const int filas = static_cast<int>(
      std::clamp(kBytesFilasColor / (4 * ancho), size_t{2}, static_cast<size_t>(kMaxFilas)));
  std::vector<uint32_t> colores(static_cast<size_t>(filas) * ancho);

  jpeg_decompress_struct info{};
  ErrorJpeg error{};
  info.err = jpeg_std_error(&error.base);
  error.base.error_exit = salirConError;
  error.base.emit_message = anotarMensaje;
  error.base.output_message = callar;
  const Destino destino{imagen.pixeles.planoGris(), static_cast<JDIMENSION>(imagen.ancho),
                        static_cast<JDIMENSION>(imagen.alto), colores.data(), filas};
  const bool leida = decodificarJpeg(revisada.bytes(), info, error, destino);
  jpeg_destroy_decompress(&info);
  return leida;
}

}  // namespace

QString leerGrisesImagen(const QString& ruta, DatosImagen& imagen) {
  ImagenRevisada revisada(ruta);
  if (!revisada.ok()) return revisada.error();
  if (revisada.formato() == Formato::Jpeg && !revisada.girada() &&
      !qEnvironmentVariableIsSet("VELARNO_PRUEBA_DECODIFICAR_ENTERA") && leerJpeg(revisada, imagen))
    return {};
  imagen.pixeles = Pixeles();  // its memory back before the whole picture is decoded

  ResultadoCarga carga = revisada.decodificar();
  if (!carga.ok()) return carga.error;
  SuperficieQImage cargada(QImage::Format_RGB32, Qt::white);
  cargada.setImagen(carga.imagen);
  carga.imagen = QImage();
  dimensionarImagen(cargada, imagen);
  leerPixeles(cargada, imagen);
  return {};
}

}  // namespace velarno
