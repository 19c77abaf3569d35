#!/bin/sh
# The Windows program in a real console: Wine's console inside a tmux terminal,
# set to code page 932 (Japanese), 65001 (UTF-8) and 437 (English). On each, the
# screen must show the usage text whole, and a dump's header and lines whole,
# each on a line of its own, with the right exit codes.
# Usage: windows_console_test.sh ZELVANE_EXE SAMPLE_FILE WINE   (WINEPREFIX set)
set -eu
wine=$3
socket=zelvane-console-$$ screens=0
work=$(mktemp -d)
trap 'tmux -L "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
# Side by side in a folder without spaces, for the console's command line.
cp "$1" "$work/zelvane.exe"
cp "$2" "$work/sample.bin"
cd "$work"

# Runs the program in a console set to code page $1 and prints the screen,
# trailing blanks dropped.
screen() {
    codePage=$1
    shift
    # A server of its own each time: a new session on the socket of one that is
    # still shutting down fails with "server exited unexpectedly".
    screens=$((screens + 1))
    socket=zelvane-console-$$-$screens
    tmux -L "$socket" new-session -d -x 120 -y 40 \
        "LANG=C.UTF-8 $wine cmd /c 'chcp $codePage >nul & zelvane.exe $*'; echo \"exit code \$?\"; sleep 600"
    for _ in $(seq 120); do
        tmux -L "$socket" capture-pane -p > "$work/screen"
        grep -q '^exit code' "$work/screen" && break
        sleep 0.5
    done
    tmux -L "$socket" kill-server
    sed -e 's/[[:space:]]*$//' -e '/^$/N;/^\n$/D' "$work/screen" | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}'
}

cat > "$work/usage" <<'USAGE'
指定したファイルをダンプする
2 GB 以上のファイルサイズに対応

書式
Zelvane <ファイル・パス> <オフセット> <サイズ>

オフセットとサイズは 8 進数または 16 進数でも指定可
    32 = 0x20 (16 進数。先頭に 0x を付ける)
    32 =  040 ( 8 進数。先頭に 0 を付ける)

exit code 2
USAGE
cat > "$work/dump" <<'DUMP'
         アドレス  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  0123456789ABCDEF
00000000:00000020                 11 12 13 14 15 16 17 18 19 1a 1b       ...........
00000000:00000030  1c 1d 1e 1f 20 21 22 23 24 25 26 27 28 29 2a 2b  .... !"#$%&'()*+
00000000:00000040  2c 2d 2e 2f e6 97 a5 e6 9c ac e8 aa 9e e3 81 ae  ,-./............
00000000:00000050  e3 83 86 e3 82 ad e3 82 b9 e3 83 88 0a 7e 7f 80  .............~..
00000000:00000060  ff 20 54 68 65 20 65 6e 64 2e 0a f0 f1 f2 f3 f4  . The end.......
00000000:00000070  f5 f6 f7 f8 f9 fa fb fc fd fe ff                 ...........
exit code 0
DUMP

status=0
for codePage in 932 65001 437; do
    screen $codePage > "$work/got-usage"
    diff "$work/usage" "$work/got-usage" ||
        { echo "usage text on a console at code page $codePage differs"; status=1; }
    screen $codePage sample.bin 0x25 100 > "$work/got-dump"
    diff "$work/dump" "$work/got-dump" ||
        { echo "dump on a console at code page $codePage differs"; status=1; }
done
exit $status
