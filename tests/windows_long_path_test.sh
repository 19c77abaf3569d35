#!/bin/sh
# A file whose full path is 260 characters or more dumps as through a short path,
# and CreateFileW is given its \\?\ form, which a real Windows needs. Wine opens
# such a path without it, so its file trace is what shows the form.
# Usage: windows_long_path_test.sh ZELVANE_EXE SAMPLE_FILE WINE   (WINEPREFIX set)
set -eu
exe=$1 sample=$2 wine=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deep=$work/$(printf '%0120d' 0 | tr 0 d)/$(printf '%0120d' 0 | tr 0 e)
mkdir -p "$deep"
cp "$sample" "$deep/sample.bin"
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

"$wine" "$exe" "$(windows_path "$sample")" 3 50 > "$work/short.txt"
status=0
WINEDEBUG=trace+file "$wine" "$exe" "$(windows_path "$deep/sample.bin")" 3 50 \
    > "$work/long.txt" 2> "$work/trace.txt" || status=$?
opens=$(grep -a 'CreateFileW L".*ddddd' "$work/trace.txt" || true)
if [ "$status" -ne 0 ] || ! cmp -s "$work/short.txt" "$work/long.txt" ||
    [ "$(printf '%s\n' "$opens" | grep -cF 'CreateFileW L"\\\\?\\Z:\\')" -ne 1 ] ||
    [ "$(printf '%s\n' "$opens" | wc -l)" -ne 1 ]; then
    echo "FAILED: exit code $status; CreateFileW was given:"
    printf '%s\n' "$opens" | cut -c1-120
    exit 1
fi
echo "the long path dumps, opened by its \\\\?\\ form"
