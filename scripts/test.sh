#!/usr/bin/env bash
# Builds Skyvane and runs every test: the formatting check, the suite with
# the benchmarks built (install tree included), the README's run command, the Debian package's
# contents, a short fuzzing of every parser,
# and the suite once more built by clang with warnings as errors under
# AddressSanitizer and UndefinedBehaviorSanitizer.
# Needs no display: the tests that need a window system start their own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

echo "== formatting (clang-format, dry run)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "formatting as .clang-format asks"

echo "== build and test"
cmake -S . -B build/ci -DCMAKE_BUILD_TYPE=Debug -DSKYVANE_WERROR=ON -DSKYVANE_BENCH=ON >/dev/null
cmake --build build/ci -j"$jobs"
ctest --test-dir build/ci --output-on-failure

echo "== the README's run command: builds, installs into build/stage and starts"
bash scripts/run.sh --version

echo "== Debian package"
bash scripts/package.sh >/dev/null
bash tests/check_package.sh build/pkg/skyvane_*.deb

echo "== fuzz every parser: files, routes, typed text, the imports and the search"
parsers=(defaults airports import planfile routes typed navlog navdb aircraft weather)
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DSKYVANE_FUZZ=ON -DSKYVANE_BENCH=OFF -DSKYVANE_TESTS=OFF >/dev/null
cmake --build build/fuzz -j"$jobs" --target "${parsers[@]/#/fuzz_}"
for parser in "${parsers[@]}"; do
    corpus="$(mktemp -d)"
    log="$corpus.log"
    if ! ./build/fuzz/fuzz_$parser -max_total_time=30 -max_len=4096 \
            "$corpus" "fuzz/corpus/$parser" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz_$parser found a failing input" >&2
        exit 1
    fi
    tail -n 1 "$log"
    rm -rf "$corpus" "$log"
done

echo "== clang, warnings as errors: test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
      -DSKYVANE_WERROR=ON -DSKYVANE_SANITIZE=ON -DSKYVANE_BENCH=OFF >/dev/null
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/asan --output-on-failure
