#!/usr/bin/env bash
# Fails when clang-format would change any C++ file of the project.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bad=0
while IFS= read -r -d '' file; do
  if ! clang-format --dry-run -Werror "$file" >/dev/null 2>&1; then
    echo "clang-format would change $file"
    bad=1
  fi
done < <(git ls-files -z '*.cpp' '*.h' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0)
exit "$bad"
