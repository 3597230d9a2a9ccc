#!/usr/bin/env bash
# Times `velarno-cli greylevel foto.jpg` end to end against libjpeg-turbo's `djpeg` decoding the
# same file to /dev/null (hyperfine, both in one invocation so the ratio compares like with
# like), and reports the peak resident memory of each (GNU time), also net of the same program
# on a 16 x 16 picture. The photo is the benchmarks' synthetic one, saved as JPEG quality 90 by
# velarno_latencia. Builds nothing.
#
# usage: bench/cli_vs_djpeg.sh [--cli VELARNO_CLI] [--latencia VELARNO_LATENCIA]
#                              [--tamanos 12,24] [--runs N]
# Without --cli / --latencia: the build*/ folder with the newest velarno_latencia (printed).
# Needs hyperfine, djpeg and cjpeg (libjpeg-turbo-progs) and /usr/bin/time (time):
#   scripts/dependencias.sh hyperfine libjpeg-turbo-progs time
set -euo pipefail

raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cli=""
latencia=""
tamanos="12,24"
runs=11

uso() {
  sed -n '8,12p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

while (($#)); do
  case "$1" in
    --cli) cli="${2:?}"; shift 2 ;;
    --latencia) latencia="${2:?}"; shift 2 ;;
    --tamanos) tamanos="${2:?}"; shift 2 ;;
    --runs) runs="${2:?}"; shift 2 ;;
    *) uso ;;
  esac
done

# Without paths: the build*/ folder whose velarno_latencia was built last and that also holds
# velarno-cli, so that both come from one tree.
if [ -z "$cli" ] || [ -z "$latencia" ]; then
  carpeta_build=""
  for candidata in "$raiz"/build*/; do
    candidata="${candidata%/}"
    if [ ! -x "$candidata/bench/velarno_latencia" ] || [ ! -x "$candidata/cli/velarno-cli" ]; then
      continue
    fi
    if [ -z "$carpeta_build" ] ||
      [ "$candidata/bench/velarno_latencia" -nt "$carpeta_build/bench/velarno_latencia" ]; then
      carpeta_build="$candidata"
    fi
  done
  [ -n "$carpeta_build" ] || {
    echo "cli_vs_djpeg: no build*/ folder holds bench/velarno_latencia and cli/velarno-cli;" \
      "build them (-DVELARNO_BUILD_BENCH=ON) or pass their paths" >&2
    exit 3
  }
  [ -n "$cli" ] || cli="$carpeta_build/cli/velarno-cli"
  [ -n "$latencia" ] || latencia="$carpeta_build/bench/velarno_latencia"
fi
for programa in hyperfine djpeg cjpeg /usr/bin/time; do
  command -v "$programa" >/dev/null || {
    echo "cli_vs_djpeg: $programa is missing: scripts/dependencias.sh hyperfine" \
      "libjpeg-turbo-progs time" >&2
    exit 3
  }
done

carpeta="$(mktemp -d)"
trap 'rm -rf "$carpeta"' EXIT

# Peak resident size in KiB of one run of the command, the lowest of three.
pico_kib() {
  local menor="" kib
  for _ in 1 2 3; do
    /usr/bin/time -v "$@" >/dev/null 2>"$carpeta/time.txt" || {
      echo "cli_vs_djpeg: failed: $*" >&2
      cat "$carpeta/time.txt" >&2
      exit 1
    }
    kib="$(awk -F': ' '/Maximum resident set size/ {print $2}' "$carpeta/time.txt")"
    if [ -z "$menor" ] || [ "$kib" -lt "$menor" ]; then menor="$kib"; fi
  done
  echo "$menor"
}

mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }

# The idle baseline: each program on a 16 x 16 JPEG.
LC_ALL=C awk 'BEGIN {
  printf "P6\n16 16\n255\n"
  for (y = 0; y < 16; ++y)
    for (x = 0; x < 16; ++x) printf "%c%c%c", 8 + x * 15, 8 + y * 15, 8 + (x + y) * 7
}' >"$carpeta/chica.ppm"
cjpeg -quality 90 -outfile "$carpeta/chica.jpg" "$carpeta/chica.ppm"
cli_idle="$(pico_kib "$cli" greylevel "$carpeta/chica.jpg")"
djpeg_idle="$(pico_kib djpeg -outfile /dev/null "$carpeta/chica.jpg")"

echo "velarno-cli: $cli"
echo "djpeg: $(command -v djpeg) ($(dpkg-query -W -f='${Version}' libjpeg-turbo-progs 2>/dev/null \
  || echo 'version unknown'))"
echo "machine: $(lscpu | awk -F': *' '/Model name/ {print $2; exit}'), $(nproc) cores;" \
  "load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
printf '%-5s %-24s %20s %7s %10s %10s\n' "MP" "command" "wall ms (mean ± σ)" "ratio" \
  "peak MiB" "net MiB"

IFS=',' read -r -a lista <<<"$tamanos"
atipicos=()
for mp in "${lista[@]}"; do
  foto="$carpeta/foto_${mp}mp.jpg"
  "$latencia" --escribir-jpeg "$foto" "$mp" 2>/dev/null
  if ! hyperfine --style none --warmup 2 --runs "$runs" --export-csv "$carpeta/h.csv" \
    -n velarno-cli "$cli greylevel $foto" \
    -n djpeg "djpeg -outfile /dev/null $foto" >/dev/null 2>"$carpeta/hyperfine.txt"; then
    cat "$carpeta/hyperfine.txt" >&2
    exit 1
  fi
  if grep -q outliers "$carpeta/hyperfine.txt"; then atipicos+=("$mp MP"); fi
  # hyperfine's CSV: command,mean,stddev,median,user,system,min,max (seconds).
  read -r cli_media cli_sigma < <(awk -F, '$1 == "velarno-cli" {print $2 * 1000, $3 * 1000}' \
    "$carpeta/h.csv")
  read -r djpeg_media djpeg_sigma < <(awk -F, '$1 == "djpeg" {print $2 * 1000, $3 * 1000}' \
    "$carpeta/h.csv")
  cli_pico="$(pico_kib "$cli" greylevel "$foto")"
  djpeg_pico="$(pico_kib djpeg -outfile /dev/null "$foto")"
  printf '%-5s %-24s %12.1f ± %5.1f %7.2f %10s %10s\n' "$mp" "velarno-cli greylevel" \
    "$cli_media" "$cli_sigma" "$(awk -v a="$cli_media" -v b="$djpeg_media" 'BEGIN {print a / b}')" \
    "$(mib "$cli_pico")" "$(mib $((cli_pico - cli_idle)))"
  printf '%-5s %-24s %12.1f ± %5.1f %7.2f %10s %10s\n' "$mp" "djpeg" "$djpeg_media" \
    "$djpeg_sigma" 1 "$(mib "$djpeg_pico")" "$(mib $((djpeg_pico - djpeg_idle)))"
done
echo
if ((${#atipicos[@]})); then
  echo "hyperfine saw statistical outliers at ${atipicos[*]}: the machine was not quiet."
fi
echo "ratio: wall time / djpeg's on the same file; net MiB: peak minus the same program's" \
  "peak on a 16 x 16 JPEG (velarno-cli $(mib "$cli_idle") MiB, djpeg $(mib "$djpeg_idle") MiB)."
