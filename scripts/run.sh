#!/usr/bin/env bash
# Sets everything up, builds the program and starts it. Its program folder, which holds the
# clinic's data files, is ~/Tavora71 unless TAVORA71_HOME names another; a rebuild never touches it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh" "$here/build"
export TAVORA71_HOME=${TAVORA71_HOME:-$HOME/Tavora71}
umask 077 # the clinic's records are the user's alone
exec "$here/build/tavora71"
