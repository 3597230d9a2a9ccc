#!/usr/bin/env bash
# Runs two builds of velarno-cli over every file of the picture suites and reports any file
# whose outcome differs: exit status, message, or the grey picture written. Used to show that a
# change to the loader leaves every picture's grey image (and every refusal) as it was.
#
#   tools/comparar_grises.sh ANTES/velarno-cli DESPUES/velarno-cli [CARPETA]
#
# CARPETA defaults to ../shared/testdata beside the repository. Exit status 0 when every file
# ends the same way with both, 1 otherwise.
set -u
antes=${1:?velarno-cli de antes}
despues=${2:?velarno-cli de después}
raiz=$(cd "$(dirname "$0")/.." && pwd)
carpeta=${3:-$raiz/../shared/testdata}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

correr() {  # programa fichero etiqueta -> "status hash-of-message hash-of-grey"
  local salida="$tmp/$3.png"
  rm -f "$salida"
  timeout 60 "$1" umbral "$2" --gris "$salida" >/dev/null 2>"$tmp/$3.err"
  local codigo=$?
  local gris=-
  [ -f "$salida" ] && gris=$(md5sum <"$salida" | cut -c1-32)
  echo "$codigo $(md5sum <"$tmp/$3.err" | cut -c1-32) $gris"
}

total=0
distintos=0
abiertos=0
while IFS= read -r -d '' f; do
  total=$((total + 1))
  a=$(correr "$antes" "$f" a)
  d=$(correr "$despues" "$f" d)
  [ "${a%% *}" = 0 ] && abiertos=$((abiertos + 1))
  if [ "$a" != "$d" ]; then
    distintos=$((distintos + 1))
    echo "distinto: $f"
    echo "  antes:   $a"
    echo "  después: $d"
  fi
done < <(find "$carpeta" -type f -print0 | sort -z)
echo "$total ficheros, $abiertos abiertos, $distintos distintos"
[ "$distintos" = 0 ]
