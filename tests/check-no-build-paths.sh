#!/usr/bin/env bash
# Fails when a file that is shipped names a folder of the machine that built
# it: the source, build or cache folders, as the compiler, Qt or a packaging
# tool might have written them in. Every file under each folder is read as
# bytes; a folder counts where its path stands whole, not inside another
# path (/src is not found in /qt-build/qtbase/src/gui).
#
#   bash tests/check-no-build-paths.sh <file or folder>... -- <build path>...
set -euo pipefail
shipped=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do shipped+=("$1"); shift; done
[ $# -gt 1 ] && [ ${#shipped[@]} -gt 0 ] || { echo "usage: check-no-build-paths.sh <file or folder>... -- <build path>..." >&2; exit 2; }
shift
for file in "${shipped[@]}"; do
    [ -e "$file" ] || { echo "check-no-build-paths: FAIL: $file, to be scanned, is missing" >&2; exit 1; }
done
paths=()
for path in "$@"; do
    paths+=("$path")
    real="$(realpath -m "$path")"
    [ "$real" = "$path" ] || paths+=("$real")
done
whole='[\w.+~-]'
pattern="(?<!$whole|/)($(printf '\\Q%s\\E|' "${paths[@]}" | sed 's/|$//'))(?!$whole)"
found="$(grep -rlaP "$pattern" "${shipped[@]}")" && status=0 || status=$?
[ "$status" -le 1 ] || { echo "check-no-build-paths: FAIL: grep could not read what it was to scan" >&2; exit 1; }
if [ -n "$found" ]; then
    echo "check-no-build-paths: FAIL: these shipped files name a build folder (${paths[*]}):" >&2
    while IFS= read -r file; do
        echo "  $file: $(grep -aoP "$pattern" "$file" | sort | uniq -c | head -n 5 | tr -s ' \n' ' ')" >&2
    done <<<"$found"
    exit 1
fi
echo "check-no-build-paths: ${#shipped[@]} shipped file(s) or folder(s) name none of: ${paths[*]}"
