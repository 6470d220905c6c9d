#!/usr/bin/env bash
# Installs whatever is missing, then builds every preset and runs all of its tests:
# native unit tests (plain and with AddressSanitizer/UBSan), the pattern and language
# readers under libFuzzer for a fixed half minute each, the Windows tests under Wine
# (headless), and the checks on the 32-bit build; then every benchmark once, in its quick
# mode, so that a bench that stops fails here; then the release archives of both
# architectures.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/code-size.sh
# A compiler cache: a machine that built this tree before rebuilds only what changed, from
# whatever folder the tree is in.
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
fi
for preset in native native-asan fuzz win64 win32; do
    echo "== $preset =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" -j 2
done

echo "== benches, once each =="
bash scripts/bench.sh --quick

# The release archives a user downloads, one for each architecture.
for preset in win64 win32; do
    echo "== package $preset =="
    cmake --build --preset "$preset" --target package
done
ls -l build/win64/package/*.zip build/win32/package/*.zip
