#!/usr/bin/env bash
# Configures and builds the project in Release into build/ (warnings are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DRZ47_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
