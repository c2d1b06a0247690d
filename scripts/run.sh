#!/usr/bin/env bash
# Installs what building and running need, builds the program (no tests) into
# build/ and opens the window.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages "${build_packages[@]}"

cd "$root"
cmake --preset program
cmake --build --preset program
exec build/isd5116-config
