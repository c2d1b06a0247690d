#!/usr/bin/env bash
# Installs what building and testing need, then builds and runs every test:
# the QtTest suites (headless), the window through the accessibility stack,
# the menu entry, metainfo and installed files with their validators; then
# all of it but the install checks again in a build with AddressSanitizer and
# UBSan. Ends with one line saying that every check passed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages "${build_packages[@]}" "${test_packages[@]}"

cd "$root"
cmake --workflow --preset default
cmake --workflow --preset sanitize
echo "test.sh: every check passed (build, tests, install checks, sanitizer run)."
