#pragma once

#include <array>
#include <cstdint>

#include "tipos.h"

namespace velarno {

// Number of pixels of each grey level, counted from the pixel matrix itself (not from the
// record's `histograma`), in 64 bits. For the methods that build their own histogram.
std::array<int64_t, kNivelesGris> recuentoNiveles(const Pixeles& pixeles);

}  // namespace velarno
