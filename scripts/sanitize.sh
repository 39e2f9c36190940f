#!/usr/bin/env bash
# Builds and runs the tests under the sanitizers, each in its own build folder:
#   build-asan: the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer;
#   build-tsan: the device and application tests with ThreadSanitizer.
# SANITIZERS=asan or SANITIZERS=tsan runs one of them only.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache keys on paths relative to the checkout, so a fresh clone elsewhere reuses the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
SANITIZERS="${SANITIZERS:-asan tsan}"
# -O1 and line tables only: quick to build, still readable reports. The instrumentation makes
# GCC see uninitialised values in the standard library's own code (std::regex, std::function)
# that are not there; that one warning is left to the ordinary build.
COMMON_FLAGS="-O1 -g1 -fno-omit-frame-pointer -Wno-maybe-uninitialized"

configure() {  # dir flags
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=None -DBRASVIK_BENCH=OFF \
    -DCMAKE_C_FLAGS="$COMMON_FLAGS $2" -DCMAKE_CXX_FLAGS="$COMMON_FLAGS $2" \
    -DCMAKE_EXE_LINKER_FLAGS="$2" >/dev/null
}

for s in $SANITIZERS; do
  case "$s" in
    asan)
      configure build-asan "-fsanitize=address,undefined -fno-sanitize-recover=undefined"
      cmake --build build-asan
      # The hidraw tests run under umockdev, whose library is preloaded ahead of the runtime.
      # Leak checking is left off: the leaks it reports have not been gone through yet.
      ASAN_OPTIONS="detect_leaks=0:verify_asan_link_order=0" \
      UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        ctest --test-dir build-asan --output-on-failure -j2 --timeout 600
      ;;
    tsan)
      configure build-tsan "-fsanitize=thread"
      cmake --build build-tsan --target brasvik_device_tests brasvik_app_tests program_data \
        program_fonts
      # Both test programs at once, one a core; each as ctest would run it (from the build
      # folder, which is the program folder).
      pids=()
      for t in brasvik_device_tests brasvik_app_tests; do
        (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/../scripts/tsan.supp" \
          BRASVIK_BINARY_DIR="$PWD" "tests/$t" --gtest_brief=1 >"$t.tsan.log" 2>&1) &
        pids+=($!)
      done
      failed=0
      for i in 0 1; do
        if ! wait "${pids[$i]}"; then failed=1; fi
      done
      for t in brasvik_device_tests brasvik_app_tests; do
        tail -5 "build-tsan/$t.tsan.log"
      done
      if [ "$failed" -ne 0 ]; then
        grep -h -A40 "WARNING: ThreadSanitizer\|\[  FAILED  \]" build-tsan/*.tsan.log | head -200
        exit 1
      fi
      ;;
    *)
      echo "sanitize: unknown sanitizer '$s'" >&2
      exit 2
      ;;
  esac
done
echo "sanitize: clean ($SANITIZERS)"
