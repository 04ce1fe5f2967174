#!/usr/bin/env bash
# Checks that every folder of the plug-in and of the host includes only itself and the folders
# below it, so that no include arrow runs back up. The SDK header (<Orbitersdk.h>, host/sdk) is
# the ground floor of both and is included by name, not by path.
#   plug-in, bottom up: model, engine, display, controls, module
#   host, bottom up:    files (whole files read and written), world, gdi, scenario, sim, cockpit, oapi (the SDK's implementation),
#                       window (the live window), session (a run of a scenario with the plug-in:
#                       its timeline, what its displays show), pilot (the built-in pilot), record
#                       (the flight's log, summary, pictures and output folders), survey (the
#                       pilot on a grid of transfers), app (the program: its commands)
set -euo pipefail
cd "$(dirname "$0")/.."

failed=0
# check ROOT LAYER... : each layer may include itself and the layers before it.
check() {
  local root=$1
  shift
  local below=""
  for layer in "$@"; do
    local allowed="$layer $below"
    while IFS= read -r line; do
      dep=$(echo "$line" | sed -E 's/.*#include "\.\.\/([a-z]+)\/.*/\1/')
      if [[ " $allowed " != *" $dep "* ]]; then
        echo "$line"
        echo "check-layers: $root$layer/ includes $dep/, which is not below it" >&2
        failed=1
      fi
    done < <(grep -nE '#include "\.\./[a-z]+/' -r "$root$layer" || true)
    below="$below $layer"
  done
}
check "" model engine display controls module
check host/ files world gdi scenario sim cockpit oapi window session pilot record survey app
# host/sdk holds the SDK's declarations only: its implementation is host/oapi's.
if ls host/sdk | grep -qv '\.h$'; then
  echo "check-layers: host/sdk holds more than declarations: $(ls host/sdk | grep -v '\.h$' | tr '\n' ' ')" >&2
  failed=1
fi
if [ "$failed" -ne 0 ]; then exit 1; fi
echo "check-layers: no include runs back up (plug-in: 5 layers, host: 13)"
