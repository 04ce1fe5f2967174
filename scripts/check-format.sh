#!/usr/bin/env bash
# Checks that every C++ source keeps to the layout in .clang-format (the SDK's declarations in
# host/sdk keep the simulator's own). Prints each file that does not, and how to mend it.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is not installed (scripts/setup.sh installs it); not checked" >&2
  exit 1
fi
bad=()
while IFS= read -r f; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(git ls-files '*.cpp' '*.h' | grep -v '^host/sdk/')
if [ ${#bad[@]} -ne 0 ]; then
  printf 'check-format: not in the layout of .clang-format: %s\n' "${bad[@]}" >&2
  echo "check-format: mend with: clang-format -i ${bad[*]}" >&2
  exit 1
fi
echo "check-format: every source keeps to .clang-format"
