#pragma once

#include <cstddef>
#include <cstdint>

#include "image/superficie.h"

namespace velarno {

// Grey level of a colour (0x00BBGGRR): 0.587 x G + 0.299 x R + 0.114 x B in Double, added in
// that order, rounded half to even. Bytes are split with truncating division, so -1 (a read
// outside a surface) gives 76.
int32_t nivelGris(Color color);

// The same rule over n pixels of Qt's 32-bit colours (0xAARRGGBB, alpha ignored), writing one
// grey byte per pixel. Gives exactly nivelGris for every colour.
void grisesDesdeRGB32(const uint32_t* origen, uint8_t* destino, size_t n);

}  // namespace velarno
