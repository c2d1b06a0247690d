#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the suites (headless, and
# the window through the accessibility stack), the installed files with their
# validators, then every suite again under AddressSanitizer and UBSan.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300)
bash "$root/scripts/check-install.sh"
bash "$root/scripts/sanitize.sh"
