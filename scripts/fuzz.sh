#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one for a short time.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache keys on paths relative to the checkout, so a fresh clone elsewhere reuses the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
SECONDS_PER_TARGET="${FUZZ_SECONDS:-20}"
if ! grep -q '^brasvik_fuzz(' fuzz/CMakeLists.txt; then
  echo "fuzz: no targets yet"
  exit 0
fi
if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRASVIK_FUZZ=ON -DBRASVIK_TESTS=OFF -DBRASVIK_BENCH=OFF \
    -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
fi
cmake --build build-fuzz --target fuzz_targets
for f in build-fuzz/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  echo "fuzz: $name for ${SECONDS_PER_TARGET}s"
  "$f" -max_total_time="$SECONDS_PER_TARGET" -rss_limit_mb=2048 -print_final_stats=0 \
    "$corpus" "${seeds[@]}" 2>"build-fuzz/$name.log" || { tail -50 "build-fuzz/$name.log"; exit 1; }
done
echo "fuzz: all targets ran clean"
