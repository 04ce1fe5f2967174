#!/usr/bin/env bash
# The pictures docs/ holds are the ones `make docs` makes from the stand-in today, byte for byte.
#   usage: docs_pictures_test.sh KAVREX_SIM SOURCE_DIR WORK_DIR
set -uo pipefail
sim=$1 src=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
bash "$src/scripts/make-docs.sh" "$sim" "$work" > /dev/null || { echo "FAIL: make-docs.sh failed"; exit 1; }
stale=0
for made in "$work"/*.png; do
  name=$(basename "$made")
  if ! cmp -s "$made" "$src/docs/$name"; then
    echo "FAIL: docs/$name is not what make docs makes today (run make docs)"
    stale=1
  fi
done
[ "$stale" -eq 0 ] && echo "the docs' pictures are current"
