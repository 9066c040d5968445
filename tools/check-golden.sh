#!/usr/bin/env bash
# Compares what `edbrecover tables|scan|list|show` print (text and --json,
# standard output, standard error and exit status) on two written stores
# with the golden files in tests/app/cli/golden: the sample store and a
# small synthetic one. Every folder is listed and its first four items shown.
# The comparison runs twice: through our own ESE reader (the default) and
# through libesedb (--reader libesedb); both must print the golden files.
#
# Usage: tools/check-golden.sh BIN_DIR [--update]
#   BIN_DIR holds edbrecover and edbgen. --update rewrites the golden files
#   instead of comparing (after a change that is meant to alter the output).
set -euo pipefail
bin=$(readlink -f "$1")
update=${2:-}
golden=$(readlink -f "$(dirname "$0")/../tests/app/cli/golden")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$bin/edbgen" sample sample.edb >/dev/null 2>&1
"$bin/edbgen" synthetic 40 --seed 11 --page-size 4096 synthetic.edb >/dev/null 2>&1

# run LABEL ARGS...: one section of a transcript.
reader=native
run() {
  echo "### edbrecover $*"
  local rc=0
  "$bin/edbrecover" "$@" --reader "$reader" >out.txt 2>err.txt || rc=$?
  cat out.txt
  echo "### stderr"
  cat err.txt
  echo "### exit $rc"
}

transcript() {
  local db=$1 json=$2
  run tables "$db" $json
  run scan "$db" $json
  local table key
  for table in $("$bin/edbrecover" scan "$db" --json 2>/dev/null | grep -o '"table": "1-[0-9A-Fa-f]*"' | cut -d'"' -f4); do
    run list "$db" "$table" $json
    for key in $("$bin/edbrecover" list "$db" "$table" 2>/dev/null | tail -n +3 | awk '{print $1}' | head -n 4); do
      run show "$db" "$table" "$key" $json
    done
  done
}

mkdir -p out
for db in sample synthetic; do
  transcript $db.edb "" >out/$db.txt
  transcript $db.edb --json >out/$db.json.txt
done

if [ "$update" = "--update" ]; then
  mkdir -p "$golden"
  cp out/*.txt "$golden"/
  echo "golden files written to $golden"
  exit 0
fi
status=0
for f in out/*.txt; do
  if ! diff -u "$golden/$(basename "$f")" "$f"; then
    status=1
  fi
done
reader=libesedb
for db in sample synthetic; do
  transcript $db.edb "" >out/$db.txt
  transcript $db.edb --json >out/$db.json.txt
done
for f in out/*.txt; do
  if ! diff -u "$golden/$(basename "$f")" "$f"; then
    echo "(read with --reader libesedb)"
    status=1
  fi
done
exit $status
