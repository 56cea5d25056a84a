#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates every sound, animation and picture the program ships, then
# checks them all. Safe to run again: the output is the same every time.
#
# Needs (Debian): python3-pil espeak-ng fonts-dejavu-core
#   apt-get install python3-pil espeak-ng fonts-dejavu-core
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# Debian's own Python, the one that has Debian's Pillow
py=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1   # keep tools/art free of __pycache__

missing=()
"$py" -c 'import PIL' 2>/dev/null || missing+=(python3-pil)
command -v espeak-ng >/dev/null 2>&1 || missing+=(espeak-ng)
[ -f /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf ] || missing+=(fonts-dejavu-core)
[ -f /usr/share/fonts/truetype/noto/NotoColorEmoji.ttf ] || missing+=(fonts-noto-color-emoji)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Faltan paquetes: ${missing[*]}" >&2
  echo "Instálalos con: apt-get install ${missing[*]}" >&2
  exit 1
fi

"$py" "$here/sonidos.py"
"$py" "$here/animaciones.py"
"$py" "$here/imagenes.py"
"$py" "$here/iconos_escritorio.py"
"$py" "$here/graficos/make_graficos.py"
"$py" "$here/comprobar.py"
