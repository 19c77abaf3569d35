#!/bin/sh
# zelvane.exe loads no library beyond those that it imports and those that they
# import in turn: one that its runtime loads on the side (rand_s loads three
# under Wine) costs every start. Wine's loader trace shows what the process
# loaded, Wine's own DLLs what each imports. What zelvane.exe may import is
# check-package's to hold.
# Usage: windows_loaded_libraries_test.sh ZELVANE_EXE SAMPLE_FILE WINE OBJDUMP WINE_DLL_DIR
#        (WINEPREFIX set)
set -eu
exe=$1 sample=$2 wine=$3 objdump=$4 dlls=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
imports() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'; }

allowed=" $(imports "$exe" | paste -sd ' ') "
unread=$allowed
while [ -n "$(echo $unread)" ]; do
    next=""
    for dll in $unread; do
        [ -f "$dlls/$dll" ] || { echo "FAILED: $dll, which zelvane.exe needs, is not in $dlls"; exit 1; }
        for import in $(imports "$dlls/$dll"); do
            case $allowed in
                *" $import "*) ;;
                *) allowed="$allowed$import " next="$next $import" ;;
            esac
        done
    done
    unread=$next
done

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
# The usage text (exit code 2), and a dump to a file (0).
for arguments in "" "$(windows_path "$sample") 0 64"; do
    status=0
    # shellcheck disable=SC2086  # the arguments are words
    WINEDEBUG=+pid,+loaddll "$wine" "$exe" $arguments > "$work/out.txt" 2> "$work/trace.txt" || status=$?
    if [ "$status" -ne "$([ -n "$arguments" ] && echo 0 || echo 2)" ] || [ ! -s "$work/out.txt" ]; then
        echo "FAILED: zelvane.exe $arguments exited with $status, printing $(wc -c < "$work/out.txt") bytes"
        exit 1
    fi
    # The lines of zelvane.exe's own process, by the process id in front.
    process=$(grep -a 'Loaded L".*zelvane\.exe"' "$work/trace.txt" | cut -d: -f1)
    loaded=$(grep -a "^$process:.*:loaddll:.*Loaded L\"" "$work/trace.txt" |
        sed 's/.*Loaded L"\(.*\)" at .*/\1/; s/.*\\//' | tr 'A-Z' 'a-z' | grep -v '^zelvane\.exe$' || true)
    if [ -z "$process" ] || [ -z "$loaded" ]; then
        echo "FAILED: Wine's trace shows no library that zelvane.exe loaded (arguments: $arguments)"
        exit 1
    fi
    for dll in $loaded; do
        case $allowed in
            *" $dll "*) ;;
            *) echo "FAILED: zelvane.exe ($arguments) loaded $dll; it may load only:$allowed"; exit 1 ;;
        esac
    done
done
echo "zelvane.exe loaded only" $loaded "of:$allowed"
