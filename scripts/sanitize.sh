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

packages=(cmake g++ make qt6-base-dev qt6-svg-dev libgl-dev fonts-liberation2)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debug: the project's own Q_ASSERTs are checked too.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Debug}" -DISD5116_SANITIZE=ON
cmake --build "$build" --parallel "$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600
