// Signature sniffing and structure checks made on a picture's bytes before any decoder sees
// them. Plain C++ over a byte range (no Qt), so a fuzzer can build it on its own.

#include "platform/firmas.h"

#include <cstring>

namespace velarno {
namespace {

bool empiezaPor(const uint8_t* datos, size_t n, const char* firma, size_t largo) {
  return n >= largo && std::memcmp(datos, firma, largo) == 0;
}

}  // namespace

Formato olfatearFormato(const uint8_t* datos, size_t n) {
  if (empiezaPor(datos, n, "BM", 2)) return Formato::Bmp;
  if (empiezaPor(datos, n, "GIF87a", 6) || empiezaPor(datos, n, "GIF89a", 6)) return Formato::Gif;
  if (empiezaPor(datos, n, "\xFF\xD8\xFF", 3)) return Formato::Jpeg;
  if (empiezaPor(datos, n, "\x89PNG", 4)) return Formato::Png;
  return Formato::Ninguno;
}

// The walk follows the decoder's own way of finding markers: bytes before an FF are skipped
// (garbage or entropy-coded data), runs of FF are fill, FF 00 is a stuffed data byte, and the
// restart markers RST0..RST7 (and TEM) carry no length. Every other marker but SOI and EOI is a
// segment with a two-byte big-endian length that counts itself. The walk ends at EOI, at a
// length below 2 or at a segment that does not fit in the file: the decoder stops there too.
std::string revisarJpeg(const uint8_t* datos, size_t n) {
  int barridos = 0;
  int segmentos = 0;
  size_t i = 2;  // past SOI
  while (i < n) {
    // Entropy-coded data is most of the file: memchr skips it many bytes at a time.
    const void* ff = std::memchr(datos + i, 0xFF, n - i);
    if (ff == nullptr) break;
    i = static_cast<size_t>(static_cast<const uint8_t*>(ff) - datos);
    while (i < n && datos[i] == 0xFF) ++i;
    if (i >= n) break;
    const uint8_t marcador = datos[i++];
    if (marcador == 0x00 || marcador == 0x01 || (marcador >= 0xD0 && marcador <= 0xD8)) continue;
    if (marcador == 0xD9) break;  // EOI
    if (n - i < 2) break;
    const size_t largo = (size_t{datos[i]} << 8) | datos[i + 1];
    if (largo < 2 || largo > n - i) break;
    if (++segmentos > kMaxSegmentosJpeg) return "demasiados segmentos";
    if (marcador == 0xDA && ++barridos > kMaxBarridosJpeg) return "demasiados barridos";
    i += largo;
  }
  return {};
}

// Layout: signature (6), logical screen descriptor (7) with an optional global colour table,
// then blocks: extensions (0x21, label, sub-blocks), image descriptors (0x2C, 9 bytes, optional
// local colour table, LZW minimum code size, sub-blocks) and the trailer (0x3B). Sub-blocks are
// a length byte and that many bytes, ended by a length of 0. Anything else, or the end of the
// data, ends the walk: the decoder stops there too.
std::string revisarGif(const uint8_t* datos, size_t n) {
  const auto tablaDeColores = [](uint8_t empaquetado) -> size_t {
    return (empaquetado & 0x80) ? size_t{3} << ((empaquetado & 0x07) + 1) : 0;
  };
  // Skips sub-blocks from `i`; returns false when the data ends first.
  const auto saltarSubbloques = [datos, n](size_t& i) {
    while (i < n) {
      const size_t largo = datos[i];
      if (largo == 0) {
        ++i;
        return true;
      }
      if (largo >= n - i) return false;
      i += 1 + largo;
    }
    return false;
  };

  if (n < 13) return {};
  size_t i = 13;
  const size_t global = tablaDeColores(datos[10]);
  if (global > n - i) return {};
  i += global;
  while (i < n) {
    const uint8_t bloque = datos[i++];
    if (bloque == 0x21) {
      if (i >= n) break;
      ++i;  // label
      if (!saltarSubbloques(i)) break;
    } else if (bloque == 0x2C) {
      if (n - i < 9) break;
      const size_t local = tablaDeColores(datos[i + 8]);
      i += 9;
      if (local > n - i) break;
      i += local;
      if (i >= n) break;
      const uint8_t tamanoCodigo = datos[i++];
      if (tamanoCodigo < 2 || tamanoCodigo > 8) return "un tamaño de código LZW no válido";
      if (!saltarSubbloques(i)) break;
    } else {
      break;  // trailer, or a block the decoder does not know
    }
  }
  return {};
}

}  // namespace velarno
