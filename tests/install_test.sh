#!/bin/sh
# Installs the build into a temporary prefix, runs the installed program and
# renders the installed manual pages.
# Usage: install_test.sh BUILD_DIR SAMPLE_FILE BIN_DIR MAN_DIR [EMULATOR...]
set -eu
build=$1 sample=$2 bindir=$3 mandir=$4
shift 4  # what is left runs the program: the emulator of a cross build
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null
# A program that never stops writing is killed at 1 MiB of output, not left to
# fill the disk.
ulimit -f 2048

"$@" "$prefix/$bindir/zelvane" "$sample" 0 0x7b > "$prefix/installed.txt"
"$@" "$build/zelvane" "$sample" 0 0x7b > "$prefix/built.txt"
cmp "$prefix/built.txt" "$prefix/installed.txt"
status=0
"$@" "$prefix/$bindir/zelvane" > /dev/null || status=$?
[ "$status" -eq 2 ] || { echo "usage exit status $status, expected 2"; exit 1; }

for page in "$mandir/man1/zelvane.1.gz" "$mandir/ja/man1/zelvane.1.gz"; do
    [ -f "$prefix/$page" ] || { echo "missing $page"; exit 1; }
    warnings=$(gzip -dc "$prefix/$page" | groff -ww -z -k -man -Tutf8 2>&1)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
    MANWIDTH=80 man -l "$prefix/$page" > "$prefix/page.txt" 2> "$prefix/man-errors.txt"
    [ ! -s "$prefix/man-errors.txt" ] || { cat "$prefix/man-errors.txt"; exit 1; }
    grep -q "zelvane" "$prefix/page.txt" || { echo "$page renders empty"; exit 1; }
done
echo "installed program and manual pages work"
