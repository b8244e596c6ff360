#!/usr/bin/env bash
# wine-fonts.sh PREFIX: puts the fonts the rendering goldens were drawn with,
# Liberation 1.x as fonts-liberation installs it (scripts/setup.sh), into
# the prefix's Fonts folder, where Wine takes them for Arial, Times New
# Roman and Courier New. The prefix sees no other font of the machine
# (wine-prefix.sh), so no newer Liberation installed beside them wins.
set -euo pipefail
prefix=$(realpath -m "$1")
source=/usr/share/fonts/truetype/liberation
fonts=$prefix/drive_c/windows/Fonts
marker=$prefix/fonts-installed
if ! ls "$source"/Liberation*.ttf >/dev/null 2>&1; then
  echo "wine: no Liberation fonts in $source (install fonts-liberation); text will not match the goldens" >&2
  exit 0
fi
# fontversion is 16.16 fixed point: 2.0 and later read 131072 or more.
version=$(fc-query -f '%{fontversion}\n' "$source/LiberationSans-Regular.ttf" 2>/dev/null | head -n 1 || true)
if [ -n "$version" ] && [ "$version" -ge 131072 ]; then
  echo "wine: $source holds Liberation 2.x; the rendering goldens were drawn with 1.x and will differ" >&2
fi
installed=$(cd "$source" && sha1sum Liberation*.ttf)
[ "$(cat "$marker" 2>/dev/null)" = "$installed" ] && exit 0
mkdir -p "$fonts"
cp "$source"/Liberation*.ttf "$fonts"/
echo "$installed" >"$marker"
