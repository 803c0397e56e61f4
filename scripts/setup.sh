#!/usr/bin/env bash
# Installs the Debian packages the program needs (only the missing ones) and builds it.
# Usage: scripts/setup.sh [--tests] [--bench] [build-dir]
#   --tests  also installs what only the test suite uses
#   --bench  also installs what only the benchmark uses
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tests=0
bench=0
while [ "${1:-}" = --tests ] || [ "${1:-}" = --bench ]; do
  [ "$1" = --tests ] && tests=1
  [ "$1" = --bench ] && bench=1
  shift
done
build=${1:-$here/build}

packages=(
  # building: compiler, CMake with Ninja, and pkg-config to find FreeXL
  build-essential cmake ninja-build pkg-config
  # Qt 6: widgets, SQL, printing, network and Qt Test (headers and libraries)
  qt6-base-dev
  # the SQLite driver through which Qt reads and writes the data files, and the PostgreSQL driver
  # for a clinic's shared database server; libpq's headers to read its connection settings
  libqt6sql6-sqlite libqt6sql6-psql libpq-dev
  # Qt's own Persian texts for standard buttons and dialogs
  qt6-translations-l10n
  # zip containers for .xlsx and .docx (QuaZip), and the older .xls workbooks (FreeXL)
  libquazip1-qt6-dev libfreexl-dev
  # libsodium: encrypted backups, the signature check of downloaded updates, the phone page's tokens
  libsodium-dev
  # SQLite's headers: the start-up check of the examinee file is bounded in time through them
  libsqlite3-dev
  # the faces the screens and the report use, copied into the build and shipped with the
  # program (Noto Sans/Naskh Arabic, Noto Sans/Serif; Nazli, Titr; DejaVu Sans; Liberation Sans),
  # and fontconfig's headers for the font set-up that knows only them
  fonts-noto-core fonts-farsiweb fonts-dejavu-core fonts-liberation2 fontconfig libfontconfig-dev
  # the phone page: Qt's HTTP server (its CMake package needs the WebSockets one) and the QR code
  qt6-httpserver-dev qt6-websockets-dev libqrencode-dev
)
if [ "$tests" -eq 1 ]; then
  packages+=(
    # reading the report's PDF back (pdftotext, pdftoppm)
    poppler-utils
    # opening the .docx and .xlsx the program writes with a real office suite, headless
    libreoffice-writer-nogui libreoffice-calc-nogui
    # a real PostgreSQL 15 server, started by the tests on 127.0.0.1 in a temporary folder
    postgresql
    # the phone page in a real browser: headless Chromium driven through WebDriver
    chromium chromium-driver python3-selenium
    # reading the phone link's QR code back from the picture the program draws
    zbar-tools
  )
fi
if [ "$bench" -eq 1 ]; then
  packages+=(
    # an X server without a screen, for the start-up comparison under X11
    xvfb
  )
fi
"$here/scripts/install-missing.sh" "${packages[@]}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"
