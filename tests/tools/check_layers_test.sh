#!/usr/bin/env bash
# The layer check sees an upward include in each form a compiler follows
# (angle brackets from the root, quoted beside the file, quoted from the
# root) and passes system headers and a layer's own files.
set -euo pipefail
check=$(cd "$(dirname "$0")/../.." && pwd)/tools/check_layers.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/services" "$tree/dialogs" "$tree/app" "$tree/tests/services"
touch "$tree/dialogs/FindText.h" "$tree/app/Program.h" "$tree/app/Main.h" "$tree/services/Own.h"
printf '%s\n' '#include <dialogs/FindText.h>' '#include "../app/Program.h"' \
  '  #  include "app/Main.h"' '#include <vector>' '#include "Own.h"' > "$tree/services/Bad.cpp"
printf '%s\n' '#include "services/Own.h"' '#include "../../services/Own.h"' > "$tree/tests/services/OwnTest.cpp"

expected="services/Bad.cpp:1: includes dialogs/FindText.h of a higher layer
services/Bad.cpp:2: includes app/Program.h of a higher layer
services/Bad.cpp:3: includes app/Main.h of a higher layer"
if reported=$("$check" "$tree" 2>&1); then
  echo "the check passed a tree with upward includes" >&2; exit 1
fi
[ "$reported" = "$expected" ] || { printf 'reported:\n%s\nexpected:\n%s\n' "$reported" "$expected" >&2; exit 1; }
rm "$tree/services/Bad.cpp"
"$check" "$tree" >/dev/null
