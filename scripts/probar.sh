#!/usr/bin/env bash
# Builds Velarno with its tests (Release, warnings as errors) and runs the whole suite.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The window tests on a real X server need xvfb-run, and xprop to read the titles.
bash "$raiz/scripts/dependencias.sh" x11-utils xvfb xauth
dir="${VELARNO_BUILD_DIR:-$raiz/build-tests}"
cmake -S "$raiz" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVELARNO_BUILD_TESTS=ON \
      -DVELARNO_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j2
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
