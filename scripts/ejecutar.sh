#!/usr/bin/env bash
# Builds Velarno (Release) and opens the sample picture in it. Extra arguments replace the picture.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$raiz/scripts/dependencias.sh"
cmake -S "$raiz" -B "$raiz/build" -DCMAKE_BUILD_TYPE=Release -DVELARNO_BUILD_TESTS=OFF >/dev/null
cmake --build "$raiz/build" -j2 --target velarno velarno-cli
if (($#)); then
  exec "$raiz/build/shell/velarno" "$@"
fi
exec "$raiz/build/shell/velarno" "$raiz/resources/muestra.jpg"
