#!/usr/bin/env bash
# Installs the Debian packages the program needs (only the missing ones) and builds it.
# Usage: scripts/setup.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}

"$here/scripts/install-missing.sh" \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n \
  libquazip1-qt6-dev libfreexl-dev \
  fonts-noto-core fonts-farsiweb fontconfig \
  poppler-utils xauth xvfb

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"
