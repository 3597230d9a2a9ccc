#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velarno {

// The picture formats the system opens, told by their first bytes (never by the file name).
enum class Formato { Ninguno, Bmp, Gif, Jpeg, Png };

// "BM" (BMP), "GIF87a"/"GIF89a" (GIF), FF D8 FF (JPEG), 89 50 4E 47 (PNG); anything else,
// or fewer bytes than the signature, is Ninguno.
Formato olfatearFormato(const uint8_t* datos, size_t n);

// Limits of the structure checks made before decoding.
inline constexpr int kMaxBarridosJpeg = 100;
inline constexpr int kMaxSegmentosJpeg = 1000;

// Walks the marker segments of a whole JPEG file without decoding it. Returns "" when the file
// stays within kMaxBarridosJpeg scans (SOS markers) and kMaxSegmentosJpeg marker segments in
// all, else a short Spanish reason (e.g. "demasiados barridos"). A file that ends early or is
// malformed is not refused here (the decoder decides); the walk never reads past n.
std::string revisarJpeg(const uint8_t* datos, size_t n);

// Checks every image descriptor of a GIF file: its LZW minimum code size must be 2..8.
// Returns "" when it is, else a short Spanish reason. Never reads past n.
std::string revisarGif(const uint8_t* datos, size_t n);

}  // namespace velarno
