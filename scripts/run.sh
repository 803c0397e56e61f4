#!/usr/bin/env bash
# Sets everything up, installs the program into its program folder and starts it.
# The program folder (default ~/Tavora71, or $TAVORA71_HOME) holds the clinic's data files.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh" "$here/build"
home=${TAVORA71_HOME:-$HOME/Tavora71}
mkdir -p "$home"
install -m 755 "$here/build/tavora71" "$home/tavora71"
cd "$home"
exec "$home/tavora71"
