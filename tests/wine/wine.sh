#!/usr/bin/env bash
# Runs a Windows program under Wine, for CTest and by hand:
#
#   tests/wine/wine.sh build-windows/tests/tst_model.exe
#
# Wine hides Unix variables named QT_* from Windows programs (they are meant
# for the Linux Qt) and passes WINEQT_* on under the name QT_*: each QT_*
# variable is passed on that way. A program run so has no console window,
# and Qt would send its messages and QtTest its log to a debugger instead:
# they go to the output here. Wine's .NET and HTML engines are left out: a
# prefix made without them asks for no download.
set -euo pipefail
for name in $(compgen -e); do
    [[ "$name" == QT_* ]] && export "WINE$name=${!name}"
done
export WINEQT_FORCE_STDERR_LOGGING=1
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
