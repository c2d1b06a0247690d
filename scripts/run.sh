#!/usr/bin/env bash
# Sets everything up, builds, and opens the window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
exec "$build/isd5116-config"
