#!/usr/bin/env bash
# Screenshots for the README: builds the captura tool when needed and runs it under xvfb-run on
# the sample picture, in Spanish number form, writing docs/img/ventana.png (the main window after
# a Mean run) and docs/img/comparar.png ("Comparar métodos" once every tile is filled).
# Needs the xvfb package (xvfb-run). Extra arguments are passed to cmake when configuring;
# VELARNO_CAPTURAS_BUILD names another build folder configured with -DVELARNO_BUILD_TOOLS=ON.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
compilacion="${VELARNO_CAPTURAS_BUILD:-$raiz/build-capturas}"  # an existing build dir with tools on
if ! command -v xvfb-run >/dev/null; then
  echo "capturas.sh: hace falta xvfb-run (paquete xvfb)" >&2
  exit 1
fi
if [[ ! -f "$compilacion/CMakeCache.txt" ]]; then
  cmake -S "$raiz" -B "$compilacion" -DCMAKE_BUILD_TYPE=Release -DVELARNO_BUILD_TESTS=OFF \
    -DVELARNO_BUILD_TOOLS=ON "$@" >/dev/null
fi
cmake --build "$compilacion" -j2 --target captura
mkdir -p "$raiz/docs/img"
captura() {
  LANG=es_ES.UTF-8 LC_ALL= LANGUAGE= xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$compilacion/tools/captura" "$@"
}
captura "$raiz/resources/muestra.jpg" "$raiz/docs/img/ventana.png" 0 CMean 900x650
captura "$raiz/resources/muestra.jpg" "$raiz/docs/img/comparar.png" --comparar 900x650
ls -l "$raiz/docs/img/ventana.png" "$raiz/docs/img/comparar.png"
