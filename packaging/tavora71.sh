#!/bin/sh
# Starts Tavora-II-71 with its program folder, where the clinic's data lives, in $TAVORA71_HOME,
# by default ~/Tavora71. The folder and everything the program writes are the user's alone
# (umask 077). The folder is created when missing; when it cannot be, the program itself says
# why in a message box (a menu start shows no terminal).
set -e
umask 077
if [ -z "${TAVORA71_HOME:-}" ]; then
    TAVORA71_HOME="${HOME:?HOME is not set}/Tavora71"
fi
export TAVORA71_HOME
mkdir -p -- "$TAVORA71_HOME" 2>/dev/null || :
here=$(dirname -- "$(readlink -f -- "$0")")
exec "$here/../lib/tavora71/tavora71" "$@"
