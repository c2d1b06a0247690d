#!/usr/bin/env bash
# Builds everything (libraries, program, tools, tests) with AddressSanitizer
# and UndefinedBehaviorSanitizer into build-asan/ and runs every test under
# them. Any report (memory error, undefined behaviour, a leak not listed in
# tests/lsan.supp) fails its test, and so this script.
#
#   bash scripts/sanitize.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-asan"

source "$root/scripts/packages.sh"
ensure_packages "${project_packages[@]}"

# Debug: the project's own Q_ASSERTs are checked too.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Debug}" -DISD5116_SANITIZE=ON
cmake --build "$build" --parallel "$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600
