#!/usr/bin/env bash
# The live window as a person uses it, on a virtual display (Xvfb): it opens on the default
# scenario showing what "render" draws for the same moment, a click on a bezel button and a
# key over the display change what the display shows, the time keys speed the flight up, and
# closing the window leaves a scenario that resumes with the changes. Also: without a display
# server it says so in one line and stops, and the built-in pilot hands over at a key press.
#
# usage: fly_window_test.sh KAVREX_SIM SCENARIO_DIR WORK_DIR
source "$(dirname "$0")/../support/shell_checks.sh" "$@"

# --- without a display server --------------------------------------------------------------
err=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$SIM" fly --out "$WORK/nodisplay" 2>&1 >/dev/null)
rc=$?
if [ "$rc" -eq 0 ] || [ "$rc" -eq 124 ]; then
  fail "fly without a display exited with $rc"
elif [ "$(printf '%s\n' "$err" | wc -l)" -ne 1 ] || [[ "$err" != *"no display"* ]]; then
  fail "fly without a display should say so in one line, said: $err"
else
  pass "without a display: $err"
fi

for tool in Xvfb xdotool import compare convert; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done

# --- a virtual display ---------------------------------------------------------------------
exec 5> >(cat > "$WORK/display-number")
Xvfb -displayfd 5 -screen 0 1600x900x24 -nolisten tcp > "$WORK/xvfb.log" 2>&1 &
XVFB=$!
for _ in $(seq 100); do [ -s "$WORK/display-number" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$WORK/display-number")"
FLY=""
cleanup() {
  [ -n "$FLY" ] && kill "$FLY" 2>/dev/null
  kill "$XVFB" 2>/dev/null
}
trap cleanup EXIT

# Starts kavrex-sim fly with the given arguments and waits for its window (WID). Under the
# sanitizers the leak check is off for the window's program alone: SDL loads the X11 and D-Bus
# client libraries itself and unloads them on exit, so what they keep can be neither freed nor
# traced to a library. Address and undefined-behaviour checks stay on.
start_fly() {
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$SIM" fly "$@" > "$WORK/fly.out" 2> "$WORK/fly.err" &
  FLY=$!
  WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Kavrex' 2>/dev/null | head -1)
  [ -n "$WID" ] || { cat "$WORK/fly.err"; echo "FAIL: the window did not open"; exit 1; }
  # It says so once the first picture is painted.
  for _ in $(seq 100); do grep -q "^kavrex-sim: flying" "$WORK/fly.out" && break; sleep 0.1; done
}
# Closes the window as the simulator's exit does and waits for the program to save and stop.
close_fly() {
  kill -TERM "$FLY"
  for _ in $(seq 100); do kill -0 "$FLY" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$FLY" 2>/dev/null; then fail "fly did not stop after its window closed"; fi
  wait "$FLY"
  FLY_RC=$?
  FLY=""
}
shot() { import -window "$WID" "$1"; }
# The number of pixels that differ between two pictures in a region WxH+X+Y ("error" when
# they cannot be compared).
differing() {
  convert "$1" -crop "$3" +repage "$WORK/a.png" && convert "$2" -crop "$3" +repage "$WORK/b.png" || {
    echo error
    return
  }
  local n
  n=$(compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1)
  [[ "$n" =~ ^[0-9]+$ ]] && echo "$n" || echo error
}
# Waits until the window's region differs from picture $1 (a display refreshes twice a second).
await_change() {
  for _ in $(seq 40); do
    shot "$2"
    local n
    n=$(differing "$1" "$2" "$3")
    [ "$n" = error ] && return 1
    [ "$n" != "0" ] && return 0
    sleep 0.1
  done
  return 1
}

# Geometry at the window's default scale 2 for a 256 x 256 display: a 40-pixel bezel each side
# (80 in the window), six buttons a side of 512/6 window pixels, text lines of 10 display pixels.
PICTURE=672x512+0+0
HOLD_LINE=496x20+80+20     # the display's second line: hold, aim, inv, KV
TARGET_VALUE=236x20+260+60 # the read-outs' first value: the target's name

# --- the window, the render, the buttons and keys ----------------------------------------------
start_fly --paused --out "$WORK/flight"
"$SIM" render --scale 2 --out "$WORK/render.png" > /dev/null
for _ in $(seq 20); do   # the window system may show the first picture a moment late
  shot "$WORK/open.png"
  d=$(differing "$WORK/open.png" "$WORK/render.png" "$PICTURE")
  [ "$d" = "0" ] && break
  sleep 0.1
done
[ "$d" = "0" ] && pass "the window shows what render draws for the same moment" ||
  fail "the window and render differ in $d pixels"

# Paused, the simulator's buttons and keys do nothing.
xdotool mousemove --window "$WID" 40 384 click 1   # HLD, the fifth button on the left
sleep 0.5
shot "$WORK/paused-press.png"
[ "$(differing "$WORK/open.png" "$WORK/paused-press.png" "$PICTURE")" = "0" ] &&
  pass "paused, a button press does nothing" || fail "paused, a button press changed the display"

# Space goes on; then the HLD button turns the hold on.
xdotool key --window "$WID" space
sleep 0.3
shot "$WORK/running.png"
xdotool mousemove --window "$WID" 40 384 click 1
await_change "$WORK/running.png" "$WORK/held.png" "$HOLD_LINE" && pass "the HLD button changed the strip" ||
  fail "the HLD button changed nothing on the strip"
sleep 0.3
shot "$WORK/flying.png"

xdotool mousemove --window "$WID" 330 250 key t    # T over the display: the next target
await_change "$WORK/flying.png" "$WORK/target.png" "$TARGET_VALUE" && pass "the T key changed the target" ||
  fail "the T key did not change the target"

# Tab shows the display's button menu over its screen (its labels, menu texts and keys) and
# hides it again.
shot "$WORK/before-menu.png"
xdotool mousemove --window "$WID" 330 250 key Tab
sleep 0.5
shot "$WORK/menu.png"
n=$(differing "$WORK/before-menu.png" "$WORK/menu.png" "$TARGET_VALUE")
[ "$n" != "0" ] && [ "$n" != error ] && pass "Tab shows the button menu" || fail "Tab did not show the button menu"
xdotool key --window "$WID" Tab
await_change "$WORK/menu.png" "$WORK/after-menu.png" "$TARGET_VALUE" && pass "Tab again hides it" ||
  fail "the button menu stayed"

xdotool key --window "$WID" plus plus              # 100 times real time (above it the hold goes off)
sleep 3
close_fly
[ "$FLY_RC" = "0" ] && pass "closing the window saved and stopped" || fail "fly exited with $FLY_RC: $(cat "$WORK/fly.err")"
final="$WORK/flight/final.scn"
if [ ! -f "$final" ]; then
  fail "no final.scn"
else
  grep -q "KV_TARGET Moon" "$final" && pass "the saved scenario holds the new target" ||
    fail "the saved scenario does not hold the target Moon: $(grep KV_ "$final")"
  flags=$(awk '/KV_FLAGS/ {print $2}' "$final")
  [ -n "$flags" ] && [ $((flags & 1)) -eq 1 ] && pass "the saved scenario holds the hold" ||
    fail "the saved scenario's KV_FLAGS ($flags) has no hold"
  flown=$(awk '/Date MJD/ {printf "%d", ($3 - 61450.5) * 86400}' "$final")
  [ "${flown:-0}" -gt 100 ] && pass "x100 flew $flown s in a few seconds" ||
    fail "the warp keys did not speed the flight up ($flown s flown)"
  "$SIM" bodies "$final" | grep -q "target: .* Moon" && pass "the saved scenario resumes" ||
    fail "the saved scenario does not resume with its target"
fi

# --- the pilot flies, and hands over at a key press -----------------------------------------
start_fly --pilot --out "$WORK/piloted"
for _ in $(seq 100); do grep -q "^pilot: " "$WORK/fly.out" && break; sleep 0.1; done
grep -q "^pilot: " "$WORK/fly.out" && pass "the pilot flies: $(grep -m1 '^pilot: ' "$WORK/fly.out")" ||
  fail "the pilot did nothing"
xdotool key --window "$WID" x
for _ in $(seq 50); do grep -q "you have the controls" "$WORK/fly.out" && break; sleep 0.1; done
grep -q "you have the controls" "$WORK/fly.out" && pass "a key press takes over from the pilot" ||
  fail "a key press did not take over from the pilot"
close_fly
[ -f "$WORK/piloted/final.scn" ] && pass "the piloted flight saved" || fail "the piloted flight saved nothing"

# --- what the pilot will not fly, it refuses as a run does: the same line and status ----------
run_err=$("$SIM" run "$SCN/default.scn" --pilot --out "$WORK/refused-run" 2>&1 >/dev/null | grep "will not fly")
"$SIM" run "$SCN/default.scn" --pilot --out "$WORK/refused-run" >/dev/null 2>&1
run_rc=$?
# (the leak check off for the window's program, as in start_fly)
fly_err=$(ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout 60 "$SIM" fly "$SCN/default.scn" \
  --pilot --out "$WORK/refused-fly" 2>&1 >/dev/null | grep "will not fly")
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout 60 "$SIM" fly "$SCN/default.scn" --pilot \
  --out "$WORK/refused-fly" >/dev/null 2>&1
fly_rc=$?
if [ "$run_rc" -ne 3 ] || [ "$fly_rc" -ne "$run_rc" ] || [ -z "$run_err" ] || [ "$fly_err" != "$run_err" ]; then
  fail "fly --pilot on default.scn: status $fly_rc, \"$fly_err\"; run --pilot: status $run_rc, \"$run_err\""
else
  pass "fly --pilot refuses as run --pilot does (status $fly_rc): $fly_err"
fi

finish "all checks passed"
