#!/usr/bin/env bash
# The formatting rule: every C and C++ file of the repository is as clang-format writes it under
# the repository's .clang-format. Fails naming each file that is not.
#
# Usage: check_format.sh SOURCE_DIR
set -euo pipefail
cd "$1"

mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c' 2>/dev/null || find setup launcher setupcheck tools tests -name '*.cpp' -o -name '*.h')
if [ "${#files[@]}" -eq 0 ]; then
  echo "check_format: no source files found" >&2
  exit 1
fi
if ! LC_ALL=C clang-format --dry-run -Werror "${files[@]}"; then
  echo "check_format: run clang-format -i on the files named above" >&2
  exit 1
fi
echo "check_format: ${#files[@]} files formatted"
