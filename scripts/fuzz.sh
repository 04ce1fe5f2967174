#!/usr/bin/env bash
# Builds the libFuzzer harnesses with Clang (ASan + UBSan) in build-fuzz, replays every committed
# reproducer in fuzz/regressions/, then fuzzes each harness for SECONDS (default 120) from its
# committed seeds with its dictionary. New inputs go to build-fuzz/corpus/<harness>; a crash is
# written to build-fuzz/findings/<harness>/ and fails the run (commit it to fuzz/regressions/
# with its fix).
#   scripts/fuzz.sh [SECONDS] [HARNESS...]
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_EACH=${1:-120}
shift || true
HARNESSES=("$@")
if [ ${#HARNESSES[@]} -eq 0 ]; then HARNESSES=(scenario display_block select_g timeline pilot); fi
BUILD=${FUZZ_BUILD:-build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVREX_FUZZ=ON >/dev/null
cmake --build "$BUILD"

export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
status=0
for h in "${HARNESSES[@]}"; do
  bin="$BUILD/bin/fuzz_$h"
  shopt -s nullglob
  repros=(fuzz/regressions/"$h"/*)
  shopt -u nullglob
  if [ ${#repros[@]} -gt 0 ]; then
    if ! "$bin" "${repros[@]}" >"$BUILD/replay-$h.log" 2>&1; then
      echo "fuzz: $h: a committed reproducer fails again (see $BUILD/replay-$h.log)" >&2
      status=1
      continue
    fi
  fi
  mkdir -p "$BUILD/corpus/$h" "$BUILD/findings/$h"
  dict=()
  if [ -f "fuzz/$h.dict" ]; then dict=(-dict="fuzz/$h.dict"); fi
  if "$bin" -max_total_time="$SECONDS_EACH" -max_len=4096 -timeout=20 -print_final_stats=1 "${dict[@]}" \
       -artifact_prefix="$BUILD/findings/$h/" "$BUILD/corpus/$h" "fuzz/corpus/$h" >"$BUILD/fuzz-$h.log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$BUILD/fuzz-$h.log" | grep -o '[0-9]*$' || echo "?")
    echo "fuzz: $h: ${runs} executions in ${SECONDS_EACH} s, ${#repros[@]} reproducers replayed, nothing found"
  else
    echo "fuzz: $h: found a fault (see $BUILD/fuzz-$h.log and $BUILD/findings/$h/)" >&2
    grep -m5 -E "invariant broken|ERROR|runtime error" "$BUILD/fuzz-$h.log" >&2 || true
    status=1
  fi
done
exit $status
