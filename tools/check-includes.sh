#!/usr/bin/env bash
# Fails when an include points up the layer order of src/:
#   base <- ese <- body <- store <- export <- app/ui <- app/cli, app/gui
# body may include base only; ese base only; and nothing outside the ESE
# layer (src/ese, tools/ese and their tests) includes libesedb.h or a header
# of src/ese that includes it. Prints every offending line.
set -uo pipefail
cd "$(dirname "$0")/.."

# The folders a layer may include from (its own and those below).
allowed() {
  case $1 in
    base) echo "base" ;;
    ese) echo "base ese" ;;
    body) echo "base body" ;;
    store) echo "base ese body store" ;;
    export) echo "base ese body store export" ;;
    app/ui) echo "base ese body store export app/ui" ;;
    app/cli) echo "base ese body store export app/ui app/cli" ;;
    app/gui) echo "base ese body store export app/ui app/gui" ;;
    *) echo "" ;;
  esac
}

layer_of() {  # src/app/ui/x.h -> app/ui, src/store/x.h -> store
  local rel=${1#src/}
  case $rel in
    app/*) echo "$rel" | cut -d/ -f1-2 ;;
    *) echo "${rel%%/*}" ;;
  esac
}

failures=0
while IFS= read -r file; do
  layer=$(layer_of "$file")
  ok=" $(allowed "$layer") "
  while IFS= read -r line; do
    target=$(echo "$line" | sed -n 's/^#include "\([^"]*\)".*/\1/p')
    [ -n "$target" ] || continue
    case $target in
      */*) ;;
      *) continue ;;  # a file of the same folder
    esac
    case $target in
      app/*) to=$(echo "$target" | cut -d/ -f1-2) ;;
      *) to=${target%%/*} ;;
    esac
    if [[ $ok != *" $to "* ]]; then
      echo "$file: '$line' points up ($layer may include: $(allowed "$layer"))"
      failures=$((failures + 1))
    fi
  done < <(grep '^#include "' "$file")
done < <(find src -name '*.h' -o -name '*.cc' | sort)

# libesedb.h, and the headers of src/ese that include it, stay inside the
# ESE layer (its own tests and the writer's included).
esedb_headers="libesedb.h $(grep -l '#include <libesedb.h>' src/ese/*.h | sed 's|^src/||' | tr '\n' ' ')"
for header in $esedb_headers; do
  while IFS= read -r hit; do
    echo "$hit: includes $header outside the ESE layer"
    failures=$((failures + 1))
  done < <(grep -rlE "#include [<\"]$header[>\"]" --include='*.h' --include='*.cc' src tests tools bench fuzz \
             | grep -v '^src/ese/\|^tools/ese/\|^tests/ese/\|^tests/esewriter/' | sort)
done

if [ "$failures" -ne 0 ]; then
  echo "check-includes: $failures include(s) point the wrong way"
  exit 1
fi
echo "check-includes: every include points down"
