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

# --- a saved flight goes on as it was: what its timeline did is not done again ---------------
sed 's/KV_FLAGS 7/KV_FLAGS 4/' "$SCN/mars-transfer.scn" > "$WORK/timed.scn"
printf 'BEGIN_TIMELINE\n  0 KEY 0 H\n  0.5 KEY 0 E\n  30 WARP 10\n  1e6 KEY 0 A ; long after\nEND_TIMELINE\n' >> "$WORK/timed.scn"
"$SIM" run "$WORK/timed.scn" --steps 120 --out "$WORK/timed-1" > /dev/null 2>&1 || fail "the timed flight failed"
flags1=$(grep KV_FLAGS "$WORK/timed-1/final.scn")
[ "$flags1" = "  KV_FLAGS 23" ] || fail "the timeline did not switch the hold and drive on (and start the clock): $flags1"
grep -q "KEY 0 H" "$WORK/timed-1/final.scn" && fail "a saved flight keeps the timeline events it carried out"
grep -q "KEY 0 A ; long after" "$WORK/timed-1/final.scn" || fail "a saved flight lost the events still to come"
"$SIM" run "$WORK/timed-1/final.scn" --steps 120 --out "$WORK/timed-2" > /dev/null 2>&1 || fail "the resumed flight failed"
flags2=$(grep KV_FLAGS "$WORK/timed-2/final.scn")
[ "$flags2" = "$flags1" ] || fail "resumed, the timeline switched the hold and drive again: $flags2"
# The event at 30 s, 2 s into the first flight's 120 frames, comes 2 s sooner: still 28 s ahead.
grep -qE "^  2[0-9.]+ +WARP 10" "$WORK/timed-2/final.scn" ||
  fail "the event still to come is not shifted by the time flown: $(grep WARP "$WORK/timed-2/final.scn")"
pass "resumed timeline"

# --- a timeline that would fail on the way is refused before the flight, with its line ---------
for bad in "3600 DELETE Ghost-7" "10 DELETE Courier-1\n  20 DELETE Courier-1" "10 WINDOW 100 Nobody"; do
  { cat "$SCN/mars-transfer.scn"; printf "BEGIN_TIMELINE\n  $bad\nEND_TIMELINE\n"; } > "$WORK/badline.scn"
  err=$("$SIM" run "$WORK/badline.scn" --steps 10 --out "$WORK/badline" 2>&1 >/dev/null)
  rc=$?
  [ "$rc" -eq 1 ] || fail "'$bad': exit $rc"
  [[ "$err" == *"badline.scn:"* && "$err" == *"by then"* || "$err" == *"only vessel left"* ]] || fail "'$bad': $err"
done
pass "timelines refused before the flight"

# --- several scenarios on one load: each session starts with no input box open ----------------
{ cat "$SCN/mars-transfer.scn"; printf 'BEGIN_TIMELINE\n  0 BUTTON 0 3 LEFT ; the Select G box, never answered\nEND_TIMELINE\n'; } \
  > "$WORK/boxopen.scn"
sed 's/KV_FLAGS 7/KV_FLAGS 4/' "$SCN/mars-transfer.scn" > "$WORK/keyed.scn"
printf 'BEGIN_TIMELINE\n  0 KEY 0 H\n  1 KEY 0 E\nEND_TIMELINE\n' >> "$WORK/keyed.scn"
"$SIM" run "$WORK/keyed.scn" --steps 120 --out "$WORK/alone" > /dev/null 2>&1
"$SIM" run "$WORK/boxopen.scn" "$WORK/keyed.scn" --steps 120 --out "$WORK/both" > /dev/null 2>&1
cmp -s "$WORK/alone/final.scn" "$WORK/both/keyed/final.scn" ||
  fail "a scenario flown after one that left the input box open flies otherwise than alone"
pass "one input box a session"

# --- what the reader cannot take as written, it names -------------------------------------------
printf '\xEF\xBB\xBF' > "$WORK/bom.scn"; cat "$SCN/default.scn" >> "$WORK/bom.scn"
err=$("$SIM" run "$WORK/bom.scn" --steps 1 --out "$WORK/bom" 2>&1 >/dev/null)
[[ "$err" == *"bom.scn:1: the file begins with a UTF-8 byte-order mark"* ]] || fail "a byte-order mark: $err"
grep -q "61450" "$WORK/bom/final.scn" || fail "the environment after a byte-order mark was not read"
tr '\n' '\r' < "$SCN/default.scn" > "$WORK/cr.scn"
err=$("$SIM" run "$WORK/cr.scn" --steps 1 --out "$WORK/cr" 2>&1 >/dev/null)
[[ "$err" == *"cr.scn:1: the file's lines end in a carriage return alone"* ]] || fail "bare CR line ends: $err"
sed 's/^END_SHIPS/END\nEND_SHIPS/' "$SCN/default.scn" > "$WORK/stray.scn"
err=$("$SIM" run "$WORK/stray.scn" --steps 1 --out "$WORK/stray" 2>&1 >/dev/null)
[[ "$err" == *"END with no ship open in BEGIN_SHIPS"* ]] || fail "a stray END: $err"
grep -q "^END:" "$WORK/stray/final.scn" && fail "a stray END became a vessel named END"
sed 's/PRPLEVEL 0:1.000/PRPLEVEL 0:1.000 4:0.5\n  THLEVEL 99:0.25/' "$SCN/default.scn" > "$WORK/levels.scn"
err=$("$SIM" run "$WORK/levels.scn" --steps 1 --out "$WORK/levels" 2>&1 >/dev/null)
[[ "$err" == *"PRPLEVEL: Courier-1 of class Courier has no tank 4 (it has 1): passed over"* ]] || fail "a tank the class lacks: $err"
[[ "$err" == *"THLEVEL: Courier-1 of class Courier has no thruster 99"* ]] || fail "a thruster the class lacks: $err"
# A description ends only at END_DESC: a line "End" in it, a blank line and a semicolon are its text.
{ printf 'BEGIN_DESC\nFirst line; with a semicolon\n\nEnd\nLast line.\nEND_DESC\n'; cat "$SCN/default.scn"; } > "$WORK/desc.scn"
err=$("$SIM" run "$WORK/desc.scn" --steps 1 --out "$WORK/desc" 2>&1 >/dev/null)
[ -z "$err" ] || fail "a description with a line End gets warnings: $err"
# A scenario with no display the stand-in draws: the display the run opens is said, and kept.
sed '/^BEGIN_MFD/,/^END_MFD/d' "$SCN/default.scn" > "$WORK/bare.scn"
err=$("$SIM" run "$WORK/bare.scn" --steps 1 --out "$WORK/bare" 2>&1 >/dev/null)
[[ "$err" == *"opens no display the stand-in draws: Kavrex is opened in display 0, and final.scn keeps it"* ]] ||
  fail "the display a run opens on its own is not said: $err"
grep -q "MODE Kavrex" "$WORK/bare/final.scn" || fail "the display the run opened is not in final.scn"
# A scenario that starts outside the cockpit: a picture looks from the cockpit, and says so.
{ sed '/^BEGIN_SHIPS/,$d' "$SCN/default.scn"; printf 'BEGIN_CAMERA\n  MODE Extern\nEND_CAMERA\n'; sed -n '/^BEGIN_SHIPS/,$p' "$SCN/default.scn"; } > "$WORK/outside.scn"
err=$("$SIM" render "$WORK/outside.scn" --out "$WORK/outside.png" 2>&1 >/dev/null)
[[ "$err" == *"starts in the external view, where no display is refreshed: kavrex-sim looks at them from the cockpit"* ]] ||
  fail "a scenario starting outside is not said: $err"
sed -n '/BEGIN_DESC/,/END_DESC/p' "$WORK/desc/final.scn" > "$WORK/desc.saved"
printf 'BEGIN_DESC\nFirst line; with a semicolon\n\nEnd\nLast line.\nEND_DESC\n' | cmp -s - "$WORK/desc.saved" ||
  fail "the description did not come back whole: $(cat "$WORK/desc.saved")"
pass "the reader names what it passes over"

# --- one rule: what the program writes, it reads --------------------------------------------------
# At load: an orbit through its body, a landed ship with nothing to place it by.
sed 's/^  RPOS .*/  ELEMENTS 1 0 0 0 0 0 61450.5/; /^  RVEL/d; s/STATUS Orbiting Earth/STATUS Orbiting Sun/' \
  "$SCN/default.scn" > "$WORK/inside.scn"
err=$("$SIM" run "$WORK/inside.scn" --steps 1 --out "$WORK/inside" 2>&1 >/dev/null)
[ $? -eq 1 ] && [[ "$err" == *"inside.scn:"*"ELEMENTS: the orbit's periapsis, 1 m from the centre of Sun, lies inside it"* ]] ||
  fail "an orbit inside the Sun: $err"
sed 's/STATUS Orbiting Earth/STATUS Landed Earth/; s/^  RPOS .*/  RPOS 0 0 0/' "$SCN/default.scn" > "$WORK/centre.scn"
err=$("$SIM" run "$WORK/centre.scn" --steps 1 --out "$WORK/centre" 2>&1 >/dev/null)
[ $? -eq 0 ] && [[ "$err" == *"with no POS or BASE: it stands at longitude 0, latitude 0, as in the simulator"* ]] ||
  fail "landed at the Earth's centre: $err"
grep -q "POS 0.0000000 0.0000000" "$WORK/centre/final.scn" || fail "the ship landed at 0, 0 is not saved there"
sed 's/STATUS Orbiting Earth/STATUS Landed Earth/; s/^  RPOS .*/  RPOS 1e11 0 0/' "$SCN/default.scn" > "$WORK/far.scn"
err=$("$SIM" run "$WORK/far.scn" --steps 1 --out "$WORK/far" 2>&1 >/dev/null)
[[ "$err" == *"it is put on the surface below its RPOS"* ]] || fail "landed 1e11 m out: $err"
"$SIM" bodies "$WORK/far/final.scn" > /dev/null 2>&1 || fail "the landed ship's save does not load"
# On the way: a flight about to leave the bounds stops, and what it wrote reads back.
sed 's/^  RPOS .*/  RPOS 9.99e13 0 0/; s/^  RVEL .*/  RVEL 2e7 0 0/; s/STATUS Orbiting Earth/STATUS Orbiting Sun/' \
  "$SCN/default.scn" > "$WORK/away.scn"
err=$("$SIM" run "$WORK/away.scn" --steps 100000 --warp 100000 --out "$WORK/away" 2>&1 >/dev/null)
rc=$?
[ "$rc" -eq 1 ] && [[ "$err" == *"near the 1e+14 m a scenario holds"* ]] || fail "a flight leaving the bounds (exit $rc): $err"
"$SIM" bodies "$WORK/away/final.scn" > /dev/null 2>&1 || fail "its save does not load"
sed 's/Date MJD 61450.5/Date MJD 399998.9/' "$SCN/default.scn" > "$WORK/late.scn"
err=$("$SIM" run "$WORK/late.scn" --steps 100000 --warp 100000 --out "$WORK/late" 2>&1 >/dev/null)
[[ "$err" == *"the date passes MJD 399999"* ]] || fail "a flight past the last date: $err"
"$SIM" bodies "$WORK/late/final.scn" > /dev/null 2>&1 || fail "its save does not load"
pass "what the program writes, it reads"

# --- the focus deleted down to a station: the run's save flies again -----------------------------
sed 's/^END_SHIPS/Mir\n  STATUS Orbiting Earth\n  RPOS 7000000 0 0\n  RVEL 0 0 7546\nEND\nEND_SHIPS/' \
  "$SCN/mars-transfer.scn" > "$WORK/station.scn"
printf 'BEGIN_TIMELINE\n  1 DELETE Courier-1\nEND_TIMELINE\n' >> "$WORK/station.scn"
"$SIM" run "$WORK/station.scn" --steps 120 --out "$WORK/station" > /dev/null 2>&1 || fail "the deletion run failed"
grep -q "Ship Mir" "$WORK/station/final.scn" || fail "the focus did not move to the station"
"$SIM" run "$WORK/station/final.scn" --steps 10 --out "$WORK/station-2" > "$WORK/station-2.log" 2>&1 ||
  fail "the save of a run whose focus came to a station is refused: $(cat "$WORK/station-2.log")"
pass "a station in focus"

# --- the simulator's line rules: a ship block ends at a whole line END, a date with no number is
#     now, a ship is saved name:class --------------------------------------------------------------
sed 's/^  PRPLEVEL 0:1.000/  PRPLEVEL 0:1.000\n  BEGIN_INTERNAL\n  SW 1\n  END INTERNAL/; s/Date MJD 61450.5/Date MJD ;/' \
  "$SCN/default.scn" > "$WORK/internal.scn"
sed -i 's/^END_SHIPS/Mir\n  STATUS Orbiting Earth\n  RPOS 7000000 0 0\n  RVEL 0 0 7546\nEND\nEND_SHIPS/' "$WORK/internal.scn"
err=$("$SIM" run "$WORK/internal.scn" --steps 2 --out "$WORK/internal" 2>&1 >/dev/null)
[[ "$err" == *"Date MJD without a number: the present moment"* ]] || fail "Date MJD with no number: $err"
now=$(( $(date +%s) / 86400 + 40587 ))
grep -q "Date MJD $now\." "$WORK/internal/final.scn" || grep -q "Date MJD $((now + 1))\." "$WORK/internal/final.scn" ||
  fail "the date taken is not today's: $(grep 'Date' "$WORK/internal/final.scn")"
grep -q "^  END INTERNAL$" "$WORK/internal/final.scn" || fail "the class's END INTERNAL line was not kept"
grep -q "^Courier-1:Courier$" "$WORK/internal/final.scn" && grep -A1 "^Courier-1:Courier$" "$WORK/internal/final.scn" |
  grep -q "STATUS Orbiting Earth" || fail "the ship lost its STATUS at END INTERNAL: $(cat "$WORK/internal/final.scn")"
grep -q "^Mir:Mir$" "$WORK/internal/final.scn" || fail "Mir is not saved as Mir:Mir"
[ "$(grep -c '^[A-Za-z0-9-]*:' "$WORK/internal/final.scn")" -eq 2 ] || fail "ships appeared: $(cat "$WORK/internal/final.scn")"
pass "the simulator's line rules"

# The survey: its options given to every case or refused with the reason; a grid of refused
# cases says so (no "nan"); the star is no source.
printf 'sources Earth:400\ntargets Mars\nphases 0\ninclinations 0\naccelerations 50\nfps 60\n' > "$WORK/refused.grid"
said=$("$SIM" survey "$WORK/refused.grid" --out "$WORK/survey" --size 128x128 --seed 7 2>/dev/null)
[[ "$said" == *"1 transfer: none in orbit"* && "$said" != *nan* ]] || fail "an all-refused grid: $said"
grep -q "128x128" "$WORK/survey/case-001/options" || fail "--size is not given to the survey's cases"
err=$("$SIM" survey "$WORK/refused.grid" --out "$WORK/survey" --warp 10 2>&1)
[ $? -eq 1 ] && [[ "$err" == *"survey does not take --warp: the pilot sets the time acceleration"* ]] ||
  fail "survey --warp: $err"
printf 'sources Sun:1000\n' > "$WORK/sun.grid"
err=$("$SIM" survey "$WORK/sun.grid" --out "$WORK/survey" 2>&1)
[[ "$err" == *"'Sun' is the star"* ]] || fail "a survey from the Sun: $err"
pass "the survey's options"
err=$("$SIM" render --size 4096x4096 --scale 16 --out "$WORK/huge.png" 2>&1)
[ $? -eq 1 ] && [[ "$err" == *"87296x65536 pixels, more than a picture can hold"* ]] || fail "a picture too big: $err"
[ ! -e "$WORK/huge.png" ] || fail "a picture too big was written"
# An option a command would pass over is refused with its reason, not ignored.
err=$("$SIM" render --pilot --out "$WORK/pilot.png" 2>&1)
[ $? -eq 2 ] && [[ "$err" == *"render does not take --pilot (kavrex-sim render --help lists its options)"* ]] ||
  fail "render --pilot: $err"
[ ! -e "$WORK/pilot.png" ] || fail "render --pilot wrote a picture"

finish "nothing is lost"
