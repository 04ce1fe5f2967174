#!/usr/bin/env bash
# Makes the pictures of docs/ (the manual's and the pilot's) from the stand-in, into a folder
# (default docs/): the display's four pages on mars-transfer.scn, and the main flight flown by
# the built-in pilot, its display at departure, first flip, arrival and end and its flight
# picture. The live window's picture (docs/fly-window.png) needs a display and is made by hand.
#   usage: make-docs.sh KAVREX_SIM [FOLDER]
set -euo pipefail
sim=$1
dir=${2:-$(dirname "$0")/../docs}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$dir"
for mode in 1 2 3 4; do
  "$sim" render "$root/scenarios/mars-transfer.scn" --mode "$mode" --out "$dir/page-mode$mode.png" > /dev/null
done
"$sim" run "$root/scenarios/earth-mars.scn" --pilot --out "$work/flight" > /dev/null 2>&1
cp "$work/flight/flight.png" "$dir/main-job-flight.png"
cp "$work/flight/display-flip-1.png" "$dir/main-job-flip-1.png"
for moment in departure arrival end; do cp "$work/flight/display-$moment.png" "$dir/manual-$moment.png"; done
echo "pictures made in $dir"
