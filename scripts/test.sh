#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the portable core
# natively (AddressSanitizer and UBSan), its concurrent parts under ThreadSanitizer, the
# benchmarks' build, a minute of fuzzing of the file readers, the 64-bit program and its
# test programs under Wine on a virtual display, and a start-up check of the shipped
# 32-bit program. Exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
bash scripts/deps.sh || exit 1
jobs=$(nproc)
failed=()

step() { echo; echo "=== $*"; }
run() { "$@" || failed+=("$*"); }

step "native build and tests"
cmake -S . -B build/native -DPELVOR_BENCH=OFF >/dev/null &&
  cmake --build build/native -j"$jobs" || exit 1
run ctest --test-dir build/native --output-on-failure -j"$jobs"

step "thread sanitizer"
cmake -S . -B build/tsan -DPELVOR_SANITIZE=thread -DPELVOR_BENCH=OFF >/dev/null &&
  cmake --build build/tsan -j"$jobs" --target core_tests || exit 1
run ctest --test-dir build/tsan --output-on-failure -j"$jobs" -R 'IOQueue|Concurren|Thread'

step "benchmarks build"
cmake -S . -B build/bench -DPELVOR_SANITIZE=none -DCMAKE_BUILD_TYPE=Release >/dev/null &&
  cmake --build build/bench -j"$jobs" --target pelvor_bench || exit 1

step "fuzzing"
# Each reader of outside data for a quarter of a minute from its seed corpus; what the
# run finds goes to a scratch folder, never into the tree.
cmake -S . -B build/fuzz -DPELVOR_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
  cmake --build build/fuzz -j"$jobs" || exit 1
for name in scenario settings ctr rom picture; do
  scratch=$(mktemp -d)
  log=build/fuzz/$name.log
  if build/fuzz/fuzz/fuzz_$name -max_total_time=15 -timeout=10 -print_final_stats=1 \
      -artifact_prefix=build/fuzz/ "$scratch" fuzz/corpus/$name >"$log" 2>&1; then
    echo "fuzz_$name: $(grep -m1 '^Done' "$log")"
  else
    tail -n 40 "$log"
    failed+=("fuzz_$name")
  fi
  rm -rf "$scratch"
done

step "Windows builds"
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null &&
  cmake --build build/win64 -j"$jobs" || exit 1
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null &&
  cmake --build build/win32 -j"$jobs" --target pelvor || exit 1

step "tests under Wine"
# shellcheck source=display.sh
source scripts/display.sh
start_display || exit 1
trap stop_display EXIT
prepare_prefix "$root/build/win64/wineprefix"
unmanaged_windows || failed+=("the Wine prefix's window settings")
# The shipped 32-bit program must start and close cleanly too.
export PELVOR_EXE_32="$root/build/win32/pelvor.exe"
run ctest --test-dir build/win64 --output-on-failure

echo
if [ ${#failed[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failed[@]}"
  exit 1
fi
echo "all tests passed"
