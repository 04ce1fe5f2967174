#!/usr/bin/env bash
# kavrex-sim run as a user meets its edges: every "wrote" line names a file that exists, an
# output folder that cannot be written stops the run before it flies, Ctrl+C writes everything
# and says so, a crash is reported as what it was (no rest invented), a departure counts from the
# drive's first thrust whoever engaged it, a name that is not UTF-8 still gives valid JSON, and
# a file that is no scenario is named with the system's reason.
#
# usage: run_outputs_test.sh KAVREX_SIM SCENARIO_DIR WORK_DIR
source "$(dirname "$0")/../support/shell_checks.sh" "$@"
# Every "wrote X" line of a log names a file that exists and is not empty.
check_wrote() {
  local log=$1 n=0
  while IFS= read -r f; do
    n=$((n + 1))
    [ -s "$f" ] || fail "$log says it wrote $f, which is missing or empty"
  done < <(sed -n 's/^wrote \(.*\)$/\1/p' "$log")
  [ "$n" -gt 0 ] || fail "$log names no file it wrote"
}
json_has() {   # json_has FILE TEXT: the summary holds TEXT
  grep -qF -- "$2" "$1" || fail "$1 lacks '$2': $(tr -d '\n' < "$1")"
}

# --- a run of no frames: no display picture claimed before the display ever refreshed --------
"$SIM" run "$SCN/default.scn" --steps 0 --out "$WORK/short" > "$WORK/short.log" 2>&1
check_wrote "$WORK/short.log"
grep -q "display-end.png" "$WORK/short.log" && fail "a run of no frames claims a display picture"
grep -q "has not refreshed yet" "$WORK/short.log" || fail "a run of no frames does not say why there is no picture"
# One frame is enough: the first frame refreshes every display, as in the simulator.
"$SIM" run "$SCN/default.scn" --steps 1 --out "$WORK/one" > "$WORK/one.log" 2>&1
[ -s "$WORK/one/display-end.png" ] || fail "a one-frame run has no display picture"
json_has "$WORK/one/summary.json" '"refreshes": {"0": 1}'
pass "short runs"

# --- neither --pilot nor --steps: one simulated minute, said so -----------------------------
"$SIM" run "$SCN/default.scn" --out "$WORK/minute" > "$WORK/minute.log" 2>&1
grep -q "flying one simulated minute" "$WORK/minute.log" || fail "a bare run does not say what it flies"
json_has "$WORK/minute/summary.json" '"simulated_h": 0.017'
check_wrote "$WORK/minute.log"
pass "a simulated minute"

# --- an output folder that cannot be written: refused before the flight ---------------------
err=$("$SIM" run "$SCN/default.scn" --steps 100 --out /proc 2>&1)
rc=$?
[ "$rc" -ne 0 ] || fail "an unwritable output folder was accepted"
[[ "$err" == *"/proc: cannot write in the output folder ("* ]] || fail "unwritable folder: $err"
[[ "$err" == *"flew"* ]] && fail "the run flew before finding that it could not write: $err"
pass "unwritable folder: $err"

# --- not a scenario: a folder, a missing file --------------------------------------------------
err=$("$SIM" run "$SCN" 2>&1)
[[ "$err" == *"$SCN: a directory, not a scenario file"* ]] || fail "a folder as scenario: $err"
err=$("$SIM" run "$WORK/none.scn" 2>&1)
[[ "$err" == *"none.scn: cannot open the scenario file (No such file or directory)"* ]] || fail "missing file: $err"
pass "folders and missing files"

# --- Ctrl+C: stops at the next frame, writes everything, says so -----------------------------
# The signal goes once the run has made its output folder (it is flying by then), however slow
# the machine.
"$SIM" run "$SCN/earth-mars.scn" --pilot --out "$WORK/interrupted" > "$WORK/interrupted.log" 2>&1 &
pid=$!
for _ in $(seq 300); do [ -d "$WORK/interrupted" ] && break; sleep 0.1; done
sleep 0.5
kill -INT "$pid"
wait "$pid"
rc=$?
[ "$rc" -eq 130 ] || fail "an interrupted run exited with $rc"
grep -q "interrupted at MJD" "$WORK/interrupted.log" || fail "the interrupted run does not say so"
for f in final.scn flight.csv flight.png flight.svg summary.json display-end.png; do
  [ -s "$WORK/interrupted/$f" ] || fail "the interrupted run left no $f"
done
json_has "$WORK/interrupted/summary.json" '"interrupted": true'
json_has "$WORK/interrupted/summary.json" '"arrival_mjd": null'
check_wrote "$WORK/interrupted.log"
"$SIM" bodies "$WORK/interrupted/final.scn" > /dev/null 2>&1 || fail "the interrupted run's final.scn does not load"
pass "Ctrl+C"

# --- a crash: the impact, and no rest ---------------------------------------------------------
# The drive engaged at once towards the Moon: from this point of the orbit the climb runs into
# the Earth (the pilot would wait for a better moment; this scenario does not).
sed 's/KV_TARGET Mars/KV_TARGET Moon/; s/KV_FLAGS 4/KV_FLAGS 23\n  KV_EJECT 61450.500000/' "$SCN/earth-mars.scn" > "$WORK/moon.scn"
"$SIM" run "$WORK/moon.scn" --steps 6000 --warp 10 --out "$WORK/crash" > "$WORK/crash.log" 2>&1
json_has "$WORK/crash/summary.json" '"impact": {"body": "Earth", "mjd": 61450.'
json_has "$WORK/crash/summary.json" '"rest_from_centre_km": null'
json_has "$WORK/crash/summary.json" '"arrived": false'
grep -q '"speed_at_closest_ms": 0.000' "$WORK/crash/summary.json" && fail "the crash reports a speed of 0 at closest"
grep -q "crashed on Earth at MJD" "$WORK/crash.log" || fail "the crash is not reported"
pass "crash"

# --- a drive already on: departure at its first thrust, not at the pilot's first key ---------
sed 's/KV_FLAGS 4/KV_FLAGS 23\n  KV_EJECT 61450.500000/' "$SCN/earth-mars.scn" > "$WORK/engaged.scn"
"$SIM" run "$WORK/engaged.scn" --steps 600 --warp 10 --out "$WORK/engaged" > "$WORK/engaged.log" 2>&1
json_has "$WORK/engaged/summary.json" '"departure_mjd": 61450.500'
json_has "$WORK/engaged/summary.json" '"departed": true'
pass "departure from the first thrust"

# --- a vessel name with a Latin-1 byte: still valid UTF-8 JSON ---------------------------------
printf '%s' "$(sed 's/Courier-1/Caf\xe9-1/g' "$SCN/default.scn")" > "$WORK/latin1.scn"
"$SIM" run "$WORK/latin1.scn" --steps 40 --out "$WORK/latin1" > "$WORK/latin1.log" 2>&1
iconv -f UTF-8 -t UTF-8 "$WORK/latin1/summary.json" > /dev/null 2>&1 || fail "summary.json is not UTF-8"
json_has "$WORK/latin1/summary.json" '"vessel": "Caf\ufffd-1"'
grep -q "not UTF-8" "$WORK/latin1.log" || fail "the replaced byte is not reported"
"$SIM" render "$WORK/latin1.scn" --out "$WORK/latin1.json" > "$WORK/render.log" 2>&1
iconv -f UTF-8 -t UTF-8 "$WORK/latin1.json" > /dev/null 2>&1 || fail "render's JSON is not UTF-8"
pass "UTF-8"

# --- a picture scale that makes no picture is refused ----------------------------------------
err=$("$SIM" render "$SCN/default.scn" --scale 0.001 --out "$WORK/tiny.png" 2>&1)
[[ "$err" == *"--scale takes a scale from 0.05 to 16"* ]] || fail "a tiny scale: $err"
[ -e "$WORK/tiny.png" ] && fail "a refused render left a file"
pass "picture scale"

# --- display lines the display cannot use, show or save back: one warning each ---------------
sed 's/KV_TARGET Mars/KV_TARGET Marz\n  KV_TANKS 4294967295\n  KV_ARTGEE -3e38\n  KV_SOURCE Phobos/' \
  "$SCN/mars-transfer.scn" > "$WORK/lines.scn"
err=$("$SIM" bodies "$WORK/lines.scn" 2>&1 >/dev/null)
for want in "lines.scn:15: KV_TARGET Marz: 'Marz' is no body of the display's list: the display keeps its target, Earth" \
            "lines.scn:16: KV_TANKS 4294967295: beyond 2147483647: the display shows it as Tanks -1" \
            "lines.scn:17: KV_ARTGEE -3e38: no acceleration the drive can give" \
            "lines.scn:18: KV_SOURCE Phobos: 'Phobos' is a moon, which the display lists only with the moons setting"; do
  [[ "$err" == *"$want"* ]] || fail "no warning '$want' in: $err"
done
[ "$(printf '%s\n' "$err" | grep -c warning)" -eq 4 ] || fail "not one warning a line: $err"
err=$("$SIM" bodies "$SCN/mars-transfer.scn" 2>&1 >/dev/null)
[ -z "$err" ] || fail "a good scenario gets warnings: $err"
pass "display lines"

# --- timeline entries that cannot happen in the simulator are refused with their line ---------
for entry in "KEY 0 T CTRL|a key with Ctrl never reaches a display" \
             "KEY 2 T|keys reach only displays 0 and 1" \
             "BUTTON 0 3 BOTH|one mouse button at a time" \
             "DELETE Nobody|there is no vessel named 'Nobody'" \
             "NAV SIDEWAYS|NAV takes KILLROT, HLEVEL, PROGRADE or RETROGRADE"; do
  line=${entry%%|*}
  want=${entry#*|}
  sed "s/^END_SHIPS/END_SHIPS\nBEGIN_TIMELINE\n  0 $line\nEND_TIMELINE/" "$SCN/default.scn" > "$WORK/timeline.scn"
  n=$(grep -n "  0 $line" "$WORK/timeline.scn" | cut -d: -f1)
  err=$("$SIM" run "$WORK/timeline.scn" --steps 10 --out "$WORK/timeline" 2>&1)
  [[ "$err" == *"timeline.scn:$n: "*"$want"* ]] || fail "timeline '$line': $err"
done
pass "timeline refusals"

# --- while the input box is open, keys do not reach the display -------------------------------
sed 's/^END_SHIPS/END_SHIPS\nBEGIN_TIMELINE\n  0 KEY 0 S\n  1 KEY 0 H\n  2 CANCEL\n  3 KEY 0 E\nEND_TIMELINE/' \
  "$SCN/default.scn" > "$WORK/box.scn"
"$SIM" run "$WORK/box.scn" --steps 300 --out "$WORK/box" > "$WORK/box.log" 2>&1
grep -q "KV_FLAGS 22" "$WORK/box/final.scn" ||
  fail "H while the box was open reached the display (or E after it did not): $(grep KV_FLAGS "$WORK/box/final.scn")"
pass "keys while the input box is open"

# --- the gravity reference is the body pulling hardest, chosen at load -------------------------
# 500,000 km above the Earth's north pole of the ecliptic the Sun pulls 3.7 times harder.
sed 's/  RPOS 6778000 0 0 .*/  RPOS 0 500000000 0/' "$SCN/default.scn" > "$WORK/far.scn"
"$SIM" run "$WORK/far.scn" --steps 10 --out "$WORK/far" > "$WORK/far.log" 2>&1
grep -q "STATUS Orbiting Sun" "$WORK/far/final.scn" || fail "a vessel where the Sun pulls hardest is not saved orbiting the Sun"
"$SIM" bodies "$WORK/far.scn" 2>/dev/null | grep -q "source: 0 Sun" || fail "the display's first source is not the Sun"
pass "gravity reference"

# --- transfers the pilot cannot fly: refused at once, with the reason, written and exit 3 ------
for entry in "s/KV_TARGET Mars/KV_TARGET Earth/|the body the flight starts from" \
             "s/KV_TARGET Mars/KV_TARGET Sun/|the star" \
             "s/KV_TARGET Mars/KV_TARGET Dione/;s/KV_FLAGS 4$/KV_FLAGS 132/|no orbit about Dione would be bound to it: Saturn pulls harder" \
             "s/KV_FLAGS 4/KV_FLAGS 4\\n  KV_ARTGEE 0.000001/|the drive would not move" \
             "s/KV_FLAGS 4/KV_FLAGS 4\\n  KV_ARTGEE 1000000/|more than Courier-1's engines give" \
             "s/PRPLEVEL 0:1.000/PRPLEVEL 0:0.000/;s/KV_FLAGS 4/KV_FLAGS 12/|automatic refill is off"; do
  sub=${entry%%|*}
  want=${entry#*|}
  sed "$sub" "$SCN/earth-mars.scn" > "$WORK/refused.scn"
  timeout 60 "$SIM" run "$WORK/refused.scn" --pilot --out "$WORK/refused" > "$WORK/refused.log" 2>&1
  rc=$?
  [ "$rc" -eq 3 ] || fail "'$sub': exit $rc, not 3"
  grep -q "the pilot will not fly this transfer: .*$want" "$WORK/refused.log" || fail "'$sub': $(cat "$WORK/refused.log")"
  grep -q "\"refused\": \".*$want" "$WORK/refused/summary.json" || fail "'$sub': the summary does not say why"
done
pass "refused transfers"

# --- a focus vessel of a class the stand-in does not build: flown without Kavrex, or shown ------
sed 's/Ship GL-01/Ship Mir/' "$(dirname "$0")/../data/simulator-grammar.scn" > "$WORK/mir.scn"
"$SIM" run "$WORK/mir.scn" --steps 60 --out "$WORK/mir" > "$WORK/mir.log" 2>&1 || fail "a passive focus does not fly: $(cat "$WORK/mir.log")"
grep -q "no Kavrex display is opened for it" "$WORK/mir.log" || fail "$(cat "$WORK/mir.log")"
"$SIM" bodies "$WORK/mir/final.scn" > /dev/null 2>&1
"$SIM" run "$WORK/mir/final.scn" --steps 1 --out "$WORK/mir2" > /dev/null 2>&1 || fail "the saved file does not fly again"
# A Kavrex display on it (a run saves one when the focus came to it): shown, with nothing to fly,
# and the file it saves flies again; the pilot refuses it for its engines.
printf 'BEGIN_MFD 3\n  TYPE User\n  MODE Kavrex\nEND_MFD\n' >> "$WORK/mir.scn"
"$SIM" run "$WORK/mir.scn" --steps 60 --out "$WORK/mir3" > "$WORK/mir3.log" 2>&1 || fail "$(cat "$WORK/mir3.log")"
grep -q "Mir, which the Kavrex display shows, is of class 'Mir', which the stand-in carries as a passive body" \
  "$WORK/mir3.log" || fail "$(cat "$WORK/mir3.log")"
"$SIM" run "$WORK/mir3/final.scn" --steps 1 --out "$WORK/mir4" > /dev/null 2>&1 || fail "its save does not fly again"
"$SIM" run "$WORK/mir.scn" --pilot --out "$WORK/mir5" > "$WORK/mir5.log" 2>&1
[ $? -eq 3 ] && grep -q "Mir has no main engine" "$WORK/mir5.log" || fail "the pilot on a passive focus: $(cat "$WORK/mir5.log")"
pass "passive focus"

# --- a survey of two transfers: a row each, in orbit or why not, a picture and the figures -----
printf 'sources Earth:400\ntargets Moon\nphases 0 180\naccelerations 9.8 99\n' > "$WORK/grid.txt"
timeout 120 "$SIM" survey "$WORK/grid.txt" --out "$WORK/survey" > "$WORK/survey.log" 2> "$WORK/survey.err"
[ $? -eq 0 ] || fail "the survey failed: $(cat "$WORK/survey.err")"
grep -q "survey 2/2 done" "$WORK/survey.err" || fail "no progress line: $(cat "$WORK/survey.err")"
grep -q '^1,Earth,400,0,0,Moon,9.8,60,yes,' "$WORK/survey/survey.csv" || fail "case 1: $(cat "$WORK/survey/survey.csv")"
grep -q '^2,Earth,400,180,.*,no,.*refused: the set acceleration' "$WORK/survey/survey.csv" || fail "case 2: $(cat "$WORK/survey/survey.csv")"
grep -q "2 transfers: 1 in orbit (50.0 %)" "$WORK/survey.log" || fail "$(cat "$WORK/survey.log")"
check_wrote "$WORK/survey.log"
# Again into the same folder: nothing is flown again, the figures are the same.
timeout 60 "$SIM" survey "$WORK/grid.txt" --out "$WORK/survey" > "$WORK/survey2.log" 2> "$WORK/survey2.err"
[ "$(grep -c '(flown before)' "$WORK/survey2.err")" -eq 2 ] || fail "a resumed survey flew again: $(cat "$WORK/survey2.err")"
cmp -s "$WORK/survey.log" "$WORK/survey2.log" || fail "a resumed survey's figures differ"
# A grid that never ends is refused at its bound, not read until memory runs out.
err=$(timeout 20 "$SIM" survey /dev/zero --out "$WORK/survey-zero" 2>&1)
[ $? -eq 1 ] || fail "a grid of /dev/zero: $err"
[[ "$err" == *"/dev/zero: more than 1048576 bytes, too long for a survey grid"* ]] || fail "a grid of /dev/zero: $err"
pass "survey"

finish "all run edges behave"
