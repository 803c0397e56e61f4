#!/bin/sh
# Makes the phone page's font files from Debian's Noto fonts (package fonts-noto-core): Noto Sans
# Arabic for Persian text and Noto Sans for digits, signs and Latin letters, each cut down to the
# characters the page can show and packed as WOFF2. Needs python3-fonttools and python3-brotli.
# Run from anywhere; it rewrites the .woff2 files and LICENSE.txt beside itself.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
noto=/usr/share/fonts/truetype/noto
subset() {
  /usr/bin/python3 -m fontTools.subset "$1" --unicodes="$2" --layout-features='*' \
    --flavor=woff2 --no-hinting --desubroutinize --output-file="$here/$3"
}
# Persian and Arabic letters, their presentation forms, the joiners and direction marks.
arabic="U+0020,U+00A0,U+0600-06FF,U+200C-200F,U+FB50-FDFF,U+FE70-FEFF"
subset "$noto/NotoSansArabic-Regular.ttf" "$arabic" arabic.woff2
subset "$noto/NotoSansArabic-Bold.ttf" "$arabic" arabic-bold.woff2
# Digits, signs and Latin letters (a clinic's name may hold them), quotes and dashes.
subset "$noto/NotoSans-Regular.ttf" "U+0020-007E,U+00A0-00BF,U+2010-2027,U+2030-203A" latin.woff2
# The licence the fonts come under, from the Debian package.
{
  echo "The .woff2 files here are cut from Noto Sans Arabic and Noto Sans as Debian's"
  echo "fonts-noto-core ships them (Copyright 2010-2020 Google Inc., 2015-2020 Google LLC),"
  echo "under the SIL Open Font License, Version 1.1:"
  echo
  awk '/^License: OFL-1.1$/ { getline; if ($1 == "PREAMBLE") { on = 1 } }
       on && /^[^ ]/ { exit }
       on { sub(/^ /, ""); if ($0 == ".") $0 = ""; print }' /usr/share/doc/fonts-noto-core/copyright
} > "$here/LICENSE.txt"
