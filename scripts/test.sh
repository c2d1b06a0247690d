#!/usr/bin/env bash
# Installs what building and testing need, then builds and runs every test:
# the QtTest suites (headless), the window through the accessibility stack,
# the menu entry, metainfo and installed files with their validators; the
# Debian package (built in Release, checked with lintian, installed into and
# removed from a temporary root); then all of it but the install and package
# checks again in a build with AddressSanitizer and UBSan, and the unit
# tests in such a build once more with the pictures rendered at build time,
# as the Windows program carries them. Ends with one line saying that every
# check passed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages "${build_packages[@]}" "${package_packages[@]}" "${test_packages[@]}"

cd "$root"
cmake --workflow --preset default
cmake --workflow --preset package
bash tests/check-package.sh build-package
cmake --workflow --preset sanitize
cmake --workflow --preset sanitize-rendered
echo "test.sh: every check passed (build, tests, install checks, package, sanitizer runs)."
