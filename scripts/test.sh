#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite headless.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh" --tests "$here/build"
cd "$here/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 "$@"
