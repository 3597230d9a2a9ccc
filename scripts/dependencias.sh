#!/usr/bin/env bash
# Installs the Debian 12 packages Velarno needs to build, run and test, when any is missing.
set -euo pipefail
paquetes=(build-essential cmake qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
          libjpeg62-turbo-dev libgtest-dev libgmock-dev fonts-dejavu-core "$@")
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if ((${#faltan[@]})); then
  echo "Instalando: ${faltan[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${faltan[@]}"
fi
