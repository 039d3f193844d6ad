#!/usr/bin/env bash
# Configures and builds into build/ (or $ZENTAVO_BUILD_DIR). Extra arguments go to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${ZENTAVO_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE:-Release} "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
