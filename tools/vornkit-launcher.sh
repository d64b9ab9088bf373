#!/bin/sh
# Starts Vornkit from its install folder, as its desktop launcher would: the
# build's script is written there, or to the user's state folder
# ($XDG_STATE_HOME/vornkit, else ~/.local/state/vornkit) when the install
# cannot be written.
program=$(dirname "$(readlink -f "$0")")/../lib/vornkit
cd "$program/Vornkit" || exit 1
exec "$program/vornkit" "$@"
