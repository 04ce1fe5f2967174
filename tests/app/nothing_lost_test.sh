#!/usr/bin/env bash
# Nothing lost, nothing replayed: every file kavrex-sim writes reads back, a failure removes only
# what the program made, a resumed flight goes on as it was, and every input it cannot use is
# named with its cause.
#
# usage: nothing_lost_test.sh KAVREX_SIM SCENARIO_DIR WORK_DIR
source "$(dirname "$0")/../support/shell_checks.sh" "$@"

# --- a failed write removes only its own partial file ------------------------------------------
# A device that is full: written into, never replaced or removed.
if [ -c /dev/full ]; then
  err=$("$SIM" predict "$SCN/default.scn" --out /dev/full 2>&1 >/dev/null)
  rc=$?
  [ "$rc" -eq 1 ] || fail "predict --out /dev/full exited $rc"
  [ -c /dev/full ] || fail "predict --out /dev/full removed the device node"
  [[ "$err" == *"/dev/full: writing failed"* ]] || fail "predict --out /dev/full said: $err"
fi
# A disk that fills while the flight is saved (here a limit of 1 KiB a file, below the size of
# the saved scenario with its description): the flight it resumed stays whole.
{ echo "BEGIN_DESC"; for i in $(seq 40); do echo "A description line to make the saved scenario long, $i."; done
  echo "END_DESC"; cat "$SCN/default.scn"; } > "$WORK/described.scn"
"$SIM" run "$WORK/described.scn" --steps 60 --out "$WORK/resumed" > /dev/null 2>&1
cp "$WORK/resumed/final.scn" "$WORK/before.scn"
(trap '' XFSZ; ulimit -f 1; "$SIM" run "$WORK/resumed/final.scn" --steps 60 --out "$WORK/resumed" > "$WORK/full.log" 2>&1)
[ $? -ne 0 ] || fail "a run whose outputs could not be written exited 0"
cmp -s "$WORK/before.scn" "$WORK/resumed/final.scn" || fail "a failed save changed or removed the flight it resumed"
ls "$WORK/resumed" | grep -q partial && fail "a failed save left its partial file: $(ls "$WORK/resumed")"
grep -q "final.scn: writing failed" "$WORK/full.log" || fail "a failed save does not say so: $(cat "$WORK/full.log")"
pass "failed writes"

# --- display lines the display cannot use: each named with its line ---------------------------
sed 's/KV_TARGET Mars/KV_TARGT Mars\n  KV_FLGS 3\n  KV_EJECT nan/; s/KV_FLAGS 7/KV_FLAGS -1/' \
  "$SCN/mars-transfer.scn" > "$WORK/keys.scn"
err=$("$SIM" bodies "$WORK/keys.scn" 2>&1 >/dev/null)
for want in "keys.scn:15: KV_TARGT Mars: not a line the display reads" "keys.scn:16: KV_FLGS 3: not a line" \
            "keys.scn:17: KV_EJECT nan: no date" "keys.scn:19: KV_FLAGS -1: only bits 0 to 7 count: read as 255" \
            "without KV_EJECT: the clock counts from MJD 0"; do
  [[ "$err" == *"$want"* ]] || fail "no warning '$want' in: $err"
done
long=$(head -c 100000 /dev/zero | tr '\0' 'x')
sed "s/KV_TARGET Mars/KV_TARGET $long/" "$SCN/mars-transfer.scn" > "$WORK/long.scn"
err=$("$SIM" bodies "$WORK/long.scn" 2>&1 >/dev/null)
[ "${#err}" -lt 2000 ] || fail "a 100,000-character value is echoed whole (${#err} characters of warnings)"
[[ "$err" == *"(100010 characters)"* ]] || fail "a long line's warning does not say how long it is: ${err:0:300}"
pass "display lines"

finish "nothing is lost"
