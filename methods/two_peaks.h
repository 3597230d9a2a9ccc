#pragma once

#include "methods/entorno.h"

namespace velarno {

// Two Peaks: the first peak is the most frequent level (the lowest of equals); the second is
// the local maximum with the largest (k - p1)² × h(k); the threshold is the least populated
// level between the two (the lowest of equals, the first peak while none is strictly lower).
// Step mode has two phases: one prompt per level while looking for the first peak, then one
// per local maximum. Answering No ends the prompts of the current phase only; the second
// phase starts again with `paso` as it was at entry. A straight run writes only the header,
// the two peaks and the closing lines.
// Requires: the image record sized, read and its histogram computed.
Fin AlgoritmoTwoPeak(Entorno& entorno, bool& paso);

}  // namespace velarno
