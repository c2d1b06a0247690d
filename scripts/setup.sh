#!/usr/bin/env bash
# Installs what the build needs (Debian 12 or Ubuntu), then configures and
# builds into build/. Sourced by run.sh and test.sh.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"

source "$root/scripts/packages.sh"
# shellcheck disable=SC2086  # EXTRA_PACKAGES is a list of names
ensure_packages "${project_packages[@]}" ${EXTRA_PACKAGES:-}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
cmake --build "$build" --parallel "$(nproc)"
