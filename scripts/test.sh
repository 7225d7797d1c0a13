#!/usr/bin/env bash
# Sets up a fresh machine, builds every preset and runs every test suite:
# the Linux suite natively and under AddressSanitizer+UBSan and ThreadSanitizer, and the
# 32- and 64-bit Windows suites under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-portable.sh

jobs=$(nproc)
for preset in linux asan tsan win32 win64; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

for preset in linux asan tsan win32 win64; do
    echo "== test $preset"
    ctest --preset "$preset" -j "$jobs"
done

echo "== e2e"
bash tests/e2e/run.sh --build build/linux
bash tests/e2e/parallel.sh --build build/linux
