#!/usr/bin/env bash
# Fails when a source includes a folder of a higher layer, so that the layers
# stay one-way. Bottom to top: platform, SrcEdit, services, dialogs, app;
# platform/qt is the screen backend beside them, over platform alone, and
# only the program's entry (app/main.cpp) puts it under the IDE. A test
# folder may include what the folder it tests may, and the test support of
# those folders; the Qt tests may include the Qt backend as well, and the
# backend's own tests host the editor control.
set -euo pipefail
cd "$(dirname "$0")/.."

# The folders each layer's sources may include, its own among them.
declare -A allowed=(
  [platform]="platform"
  [platform/qt]="platform platform/qt"
  [SrcEdit]="platform SrcEdit"
  [services]="platform SrcEdit services"
  [dialogs]="platform SrcEdit services dialogs"
  [app]="platform SrcEdit services dialogs app"
)
layers="platform/qt platform SrcEdit services dialogs app"  # longest prefix first

layer_of() { # a path below the repository root (without tests/) -> its layer
  local layer
  for layer in $layers; do
    case "$1" in "$layer"/*) echo "$layer"; return ;; esac
  done
}

may_include() { # file, included path
  local file=$1 target=$2 own theirs extra=""
  local tested=${file#tests/}
  own=$(layer_of "$tested")
  [ -n "$own" ] || return 0  # bench/, tools/: the top, beside the program
  theirs=$(layer_of "${target#tests/}")
  [ -n "$theirs" ] || return 0  # a header outside the layers
  if [[ "$file" == tests/* ]]; then
    [[ "$tested" == */qt/* ]] && extra="platform/qt"
    [ "$own" = platform/qt ] && extra="$extra SrcEdit"
  fi
  [ "$file" = app/main.cpp ] && extra="platform/qt"
  [[ " ${allowed[$own]} $extra " == *" $theirs "* ]]
}

status=0
while IFS= read -r file; do
  while IFS=: read -r line target; do
    if ! may_include "$file" "$target"; then
      echo "$file:$line: includes \"$target\" of a higher layer" >&2
      status=1
    fi
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$file" |
           sed -E 's/^([0-9]+):[^"]*"([^"]+)".*/\1:\2/')
done < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' '*.inc')

[ "$status" -eq 0 ] && echo "layers: every include runs downward"
exit "$status"
