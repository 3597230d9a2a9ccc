#!/bin/bash
# Builds the libFuzzer target over the Qt-free core (image/, methods/, platform/firmas.cpp) with
# AddressSanitizer and UndefinedBehaviorSanitizer. Not part of the CMake build or of CI.
# Usage: fuzz/build.sh [output directory, default build-fuzz]; JOBS=n compiles n files at once.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
salida=${1:-"$raiz/build-fuzz"}
mkdir -p "$salida"
cxx=${CXX:-clang++-14}
banderas=(-std=c++17 -O1 -g -fno-omit-frame-pointer -ffp-contract=off -fno-fast-math
          -fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow
          -fno-sanitize-recover=all -Wall -Wextra -Wshadow
          -I"$raiz/image" -I"$raiz/methods" -I"$raiz/platform" -I"$raiz/tests/support")
fuentes=("$raiz"/fuzz/velarno_fuzz.cpp "$raiz"/image/*.cpp "$raiz"/methods/*.cpp)
if [[ -f "$raiz/platform/firmas.cpp" ]]; then
  fuentes+=("$raiz/platform/firmas.cpp")
else
  echo "build.sh: platform/firmas.cpp missing; building without the signature checks" >&2
  banderas+=(-DVELARNO_FUZZ_SIN_FIRMAS)
fi
# Relaxation's kernels use GCC-only vector built-ins (__builtin_shuffle, target_clones together
# with noinline) that clang refuses; when it does not build, the target runs without Relaxation.
if ! "$cxx" -std=c++17 -fsyntax-only -I"$raiz/image" -I"$raiz/methods" \
    "$raiz/methods/relajacion.cpp" 2>/dev/null; then
  echo "build.sh: methods/relajacion.cpp does not build with $cxx; fuzzing without Relaxation" >&2
  sin=()
  for f in "${fuentes[@]}"; do [[ "$f" == */methods/relajacion.cpp ]] || sin+=("$f"); done
  fuentes=("${sin[@]}")
  banderas+=(-DVELARNO_FUZZ_SIN_RELAJACION)
fi
objetos=()
for f in "${fuentes[@]}"; do
  o="$salida/$(basename "$f" .cpp).o"
  objetos+=("$o")
  # Recompile only what changed since its object was built.
  if [[ ! -f "$o" || "$f" -nt "$o" || "$0" -nt "$o" ]]; then
    "$cxx" "${banderas[@]}" -c "$f" -o "$o" &
    while (($(jobs -rp | wc -l) >= ${JOBS:-2})); do wait -n; done
  fi
done
while (($(jobs -rp | wc -l) > 0)); do wait -n; done
"$cxx" "${banderas[@]}" -fsanitize=fuzzer "${objetos[@]}" -o "$salida/velarno_fuzz"
echo "$salida/velarno_fuzz"
