#!/usr/bin/env bash
# Fails when a source includes a file of a higher layer, so that the layers
# stay one-way. Bottom to top: platform, SrcEdit, services, dialogs, app;
# platform/qt is the screen backend beside them, over platform alone, and
# only the program's entry (app/main.cpp) puts it under the IDE. A test
# folder may include what the folder it tests may, and the test support of
# those folders; the Qt tests may include the Qt backend as well, and the
# backend's own tests host the editor control.
#
# Every include form is resolved as the compiler finds it: a quoted name
# first beside the including file (so "../app/Main.h" is app/Main.h), then,
# quoted or in angle brackets, from the repository root, the one include
# folder of the project's own code. A name that reaches no file of the tree
# is a system header. A service decides and reports; it never shows a
# message box or asks (the forms do), so a call of one under services/ fails
# the check as well.
#
#   tools/check_layers.sh [ROOT]   checks the tree at ROOT (default: this
#                                  repository; outside git, every file below it)
set -euo pipefail
cd "${1:-"$(dirname "$0")/.."}"

files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -co --exclude-standard
  else
    find . -type f -printf '%P\n'
  fi
}

files | awk '
# The folders each layer may include, its own among them; longest prefix first.
BEGIN {
  nlayers = split("platform/qt platform SrcEdit services dialogs app", layers, " ")
  allowed["platform"] = "platform"
  allowed["platform/qt"] = "platform platform/qt"
  allowed["SrcEdit"] = "platform SrcEdit"
  allowed["services"] = "platform SrcEdit services"
  allowed["dialogs"] = "platform SrcEdit services dialogs"
  allowed["app"] = "platform SrcEdit services dialogs app"
}
function layer_of(path,   i) {
  for (i = 1; i <= nlayers; i++)
    if (index(path, layers[i] "/") == 1) return layers[i]
  return ""
}
# A relative path with "." and ".." folded; "" when it leaves the root.
function normalized(path,   n, parts, out, depth, i) {
  n = split(path, parts, "/"); depth = 0
  for (i = 1; i <= n; i++) {
    if (parts[i] == "" || parts[i] == ".") continue
    if (parts[i] == "..") { if (depth == 0) return ""; depth--; continue }
    out[++depth] = parts[i]
  }
  path = ""
  for (i = 1; i <= depth; i++) path = path (i > 1 ? "/" : "") out[i]
  return path
}
function resolved(file, form, name,   dir, candidate) {
  if (form == "\"") {
    dir = file; sub(/[^\/]*$/, "", dir)
    candidate = normalized(dir name)
    if (candidate in tree) return candidate
  }
  candidate = normalized(name)
  return (candidate in tree) ? candidate : ""
}
function may_include(file, target,   tested, own, theirs, extra) {
  tested = file; sub(/^tests\//, "", tested)
  own = layer_of(tested)
  if (own == "") return 1            # bench/, tools/: the top, beside the program
  theirs = target; sub(/^tests\//, "", theirs)
  theirs = layer_of(theirs)
  if (theirs == "") return 1         # a file outside the layers
  extra = ""
  if (index(file, "tests/") == 1) {
    if (tested ~ /\/qt\//) extra = "platform/qt"
    if (own == "platform/qt") extra = extra " SrcEdit"
  }
  if (file == "app/main.cpp") extra = "platform/qt"
  return index(" " allowed[own] " " extra " ", " " theirs " ") > 0
}
{ tree[$0] = 1; if ($0 ~ /\.(h|cpp|inc)$/) sources[++nsources] = $0 }
END {
  status = 0
  for (s = 1; s <= nsources; s++) {
    file = sources[s]; number = 0
    while ((getline text < file) > 0) {
      number++
      if (index(file, "services/") == 1 && text !~ /^[ \t]*\/\// &&
          text ~ /(^|[^A-Za-z_])(ShowMessage|MessageBox|MessageDlg)[ \t]*\(/) {
        printf "%s:%d: a service shows a message: the form that calls it does\n", file, number > "/dev/stderr"
        status = 1
      }
      if (!match(text, /^[ \t]*#[ \t]*include[ \t]*["<][^">]+[">]/)) continue
      text = substr(text, RSTART, RLENGTH)
      sub(/^[ \t]*#[ \t]*include[ \t]*/, "", text)
      form = substr(text, 1, 1)
      name = substr(text, 2, length(text) - 2)
      target = resolved(file, form, name)
      if (target != "" && !may_include(file, target)) {
        printf "%s:%d: includes %s of a higher layer\n", file, number, target > "/dev/stderr"
        status = 1
      }
    }
    close(file)
  }
  if (status == 0) print "layers: every include runs downward"
  exit status
}'
