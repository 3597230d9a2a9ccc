#!/usr/bin/env bash
# Builds Velarno (Release, no tests), installs it into a scratch tree and checks the files, makes
# the Debian package, installs it with apt-get, runs the installed velarno-cli and removes the
# package again. Extra arguments go to the configuring cmake. Needs root or sudo for apt-get.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# dpkg-shlibdeps (dpkg-dev) and file find the package's dependencies; desktop-file-validate
# checks the desktop entry; groff checks the man page.
bash "$raiz/scripts/dependencias.sh" dpkg-dev file desktop-file-utils groff-base
dir="${VELARNO_PAQUETE_DIR:-$raiz/build-paquete}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

desktop-file-validate "$raiz/resources/velarno.desktop"
avisos="$(groff -man -Tutf8 -ww -z "$raiz/docs/velarno-cli.1" 2>&1)"
if [ -n "$avisos" ]; then
  echo "$avisos" >&2
  echo "La página de manual tiene avisos de groff." >&2
  exit 1
fi

cmake -S "$raiz" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVELARNO_BUILD_TESTS=OFF "$@" >/dev/null
cmake --build "$dir" -j2

# The installed tree holds exactly the expected files.
rm -rf "$dir/raiz"
cmake --install "$dir" --prefix "$dir/raiz" >/dev/null
esperados="bin/velarno
bin/velarno-cli
share/applications/velarno.desktop
share/doc/velarno/guia.md
share/icons/hicolor/32x32/apps/velarno.png
share/man/man1/velarno-cli.1.gz"
instalados="$(cd "$dir/raiz" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
if [ "$instalados" != "$esperados" ]; then
  echo "Ficheros instalados:" >&2
  echo "$instalados" >&2
  echo "Se esperaban:" >&2
  echo "$esperados" >&2
  exit 1
fi
echo "Instalados en $dir/raiz:"
echo "$instalados" | sed 's/^/  /'

rm -f "$dir"/velarno_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
paquete="$(ls "$dir"/velarno_*.deb)"
dpkg-deb -f "$paquete" Package Version Architecture Section Depends
dpkg-deb -c "$paquete"

# Install it as a user would, run the installed program from PATH, then remove it (also when a
# check fails).
quitar() { DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq velarno >/dev/null; }
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --reinstall "$paquete" \
  >/dev/null
trap quitar EXIT
[ "$(command -v velarno-cli)" = /usr/bin/velarno-cli ]
[ -x /usr/bin/velarno ]
velarno-cli --help
# A JPEG picture needs Qt's image plugins at run time, from the package's dependencies.
velarno-cli mean "$raiz/resources/muestra.jpg" --json >/dev/null
# man-db is optional, and minimal images may drop /usr/share/man from what dpkg unpacks.
if command -v man >/dev/null && [ -e /usr/share/man/man1/velarno-cli.1.gz ]; then
  man -w velarno-cli
fi
trap - EXIT
quitar
echo "Paquete $(basename "$paquete"): instalado, ejecutado y desinstalado."
