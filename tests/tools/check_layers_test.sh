#!/usr/bin/env bash
# The layer check sees an upward include in each form a compiler follows
# (angle brackets from the root, quoted beside the file, quoted from the
# root) and a service that shows a message, and passes system headers, a
# layer's own files and a comment that names a message box.
set -euo pipefail
check=$(cd "$(dirname "$0")/../.." && pwd)/tools/check_layers.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/services" "$tree/dialogs" "$tree/app" "$tree/tests/services"
touch "$tree/dialogs/FindText.h" "$tree/app/Program.h" "$tree/app/Main.h" "$tree/services/Own.h"
printf '%s\n' '#include <dialogs/FindText.h>' '#include "../app/Program.h"' \
  '  #  include "app/Main.h"' '#include <vector>' '#include "Own.h"' \
  '// MessageBox(...) is the form'"'"'s' 'void F() { Application().MessageBox("q", "c"); }' > "$tree/services/Bad.cpp"
printf '%s\n' '#include "services/Own.h"' '#include "../../services/Own.h"' > "$tree/tests/services/OwnTest.cpp"

expected="services/Bad.cpp:1: includes dialogs/FindText.h of a higher layer
services/Bad.cpp:2: includes app/Program.h of a higher layer
services/Bad.cpp:3: includes app/Main.h of a higher layer
services/Bad.cpp:7: a service shows a message: the form that calls it does"
if reported=$("$check" "$tree" 2>&1); then
  echo "the check passed a tree with upward includes" >&2; exit 1
fi
[ "$reported" = "$expected" ] || { printf 'reported:\n%s\nexpected:\n%s\n' "$reported" "$expected" >&2; exit 1; }
rm "$tree/services/Bad.cpp"
"$check" "$tree" >/dev/null
