#!/usr/bin/env bash
# Every .ts file in translations/ is current and complete: lupdate over the
# sources, with the options the update_translations target uses, leaves it
# unchanged, and no text in it is unfinished (untranslated or changed since
# it was translated). Run by CTest:
#
#   bash tests/check-translations.sh LUPDATE SOURCE...
set -euo pipefail

lupdate="$1"
shift
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

failures=0
for ts in "$root"/translations/*.ts; do
    name="$(basename "$ts")"
    cp "$ts" "$tmp/$name"
    "$lupdate" -silent -locations none -no-obsolete "$@" -ts "$tmp/$name"
    if ! diff -u "$ts" "$tmp/$name"; then
        echo "FAIL: $name is not current: cmake --build build --target update_translations" >&2
        failures=$((failures + 1))
    fi
    if grep -n 'type="unfinished"' "$tmp/$name"; then
        echo "FAIL: $name has unfinished texts (above)" >&2
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] || exit 1
echo "check-translations: every .ts file is current and complete"
