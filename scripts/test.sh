#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and end-to-end tests through
# ctest, each fuzz target for a short bounded time, then the tests under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache keys on paths relative to the checkout, so a fresh clone elsewhere reuses the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
scripts/setup.sh
BUILD_DIR="${BUILD_DIR:-build}"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 --timeout 300
scripts/fuzz.sh
scripts/sanitize.sh
