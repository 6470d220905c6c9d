#!/usr/bin/env bash
# Prints the non-blank lines of C++ (.cpp and .h) in the product folders and in the tests
# (tests/ and the in-memory platform, which only the tests use), and their ratio. The aim
# is tests at most half the product, a third of the whole. tools/ counts on neither side.
set -euo pipefail
cd "$(dirname "$0")/.."

nonblank() { tr '\n' '\0' | xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true; }
files() { git ls-files -- "$@" | grep -E '\.(cpp|h)$' || true; }

product=$(files app chrome desktop patterns platform screens settings tray update |
    grep -v '^platform/sim/' | nonblank)
tests=$(files tests platform/sim | nonblank)
printf 'non-blank lines: product %d, tests and platform/sim %d, ratio %s (aim: at most 0.50)\n' \
    "$product" "$tests" "$(awk -v t="$tests" -v p="$product" 'BEGIN { printf "%.2f", p ? t / p : 0 }')"
