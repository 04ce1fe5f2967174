#!/usr/bin/env bash
# Checks that the plug-in's sources build for the simulator on 64-bit Windows:
#  - each compiles with MinGW-w64 against the project's own SDK header (which brings <windows.h>
#    there, as the simulator's SDK does), with -Wall -Wextra -Werror -pedantic;
#  - they include no header but <Orbitersdk.h> and the C++ standard library's (no POSIX headers);
#  - no plain std::min( or std::max(, which MSVC's windows.h turns into its min/max macros
#    (MinGW's C++ headers hide those macros, so the compile alone would not tell).
# Objects go to a scratch folder; nothing is linked.
set -euo pipefail
cd "$(dirname "$0")/.."

CXX=${MINGW_CXX:-x86_64-w64-mingw32-g++}
if ! command -v "$CXX" >/dev/null; then
  echo "check-windows: $CXX not found (scripts/setup.sh installs g++-mingw-w64-x86-64)" >&2
  exit 1
fi
OUT=${1:-build/windows-check}
mkdir -p "$OUT"
DIRS=(model engine display controls module)

failed=0
if grep -nE '^\s*#\s*include\s*<[^>]*\.h>' -r "${DIRS[@]}" | grep -v '<Orbitersdk.h>'; then
  echo "check-windows: the plug-in includes a header that is neither the SDK's nor standard C++" >&2
  failed=1
fi
if grep -nE '\bstd::(min|max)\s*\(' -r "${DIRS[@]}"; then
  echo "check-windows: write std::min<T>(...) or (std::min)(...): windows.h defines min and max" >&2
  failed=1
fi

export CXX OUT
compile_one() {
  local obj="$OUT/$(echo "$1" | tr / _).o"
  "$CXX" -std=c++17 -Wall -Wextra -Wshadow -Wconversion -Werror -pedantic -isystem host/sdk -c "$1" -o "$obj" ||
    { echo "check-windows: $1 does not compile for Windows" >&2; return 1; }
}
export -f compile_one
sources=()
for d in "${DIRS[@]}"; do sources+=("$d"/*.cpp); done
if ! printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} bash -c 'compile_one "$@"' _ {}; then
  failed=1
fi
if [ "$failed" -ne 0 ]; then exit 1; fi
echo "check-windows: ${#sources[@]} plug-in sources compile for 64-bit Windows ($CXX)"
