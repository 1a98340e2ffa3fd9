#!/usr/bin/env bash
# Fails when a C++ file under src/, tests/, bench/, tools/ or fuzz/ differs from what
# clang-format (Debian 12's clang-format 14, with the .clang-format at the root) makes of it.
# `bash scripts/format-check.sh --fix` formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
                                     'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h' \
                                     'fuzz/*.cpp' 'fuzz/*.h')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "format-check: the files above are not formatted; run: bash scripts/format-check.sh --fix" >&2
    exit 1
fi
echo "format-check: ${#files[@]} files formatted"
