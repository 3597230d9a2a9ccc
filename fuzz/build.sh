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
          -I"$raiz" -I"$raiz/tests")
fuentes=("$raiz"/fuzz/velarno_fuzz.cpp "$raiz"/image/*.cpp "$raiz"/methods/*.cpp "$raiz"/app/*.cpp)
fuentes+=("$raiz/platform/firmas.cpp")
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
