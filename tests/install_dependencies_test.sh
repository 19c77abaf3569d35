#!/bin/bash
# The decisions of scripts/install-dependencies, with stand-ins for apt-get,
# dpkg-query, dpkg, sudo, sleep, clang and the i686 compiler first on PATH:
# nothing on the machine changes.
# Usage: install_dependencies_test.sh SOURCE_DIR
set -u
source_dir=$1
# Without its folder, the stand-ins below would be written over the machine's /bin.
work=$(mktemp -d) && [ -d "$work" ] || { echo "install_dependencies_test: no temporary folder"; exit 1; }
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
# apt-get update exits with the codes in $work/updates one per call (the last one
# repeats); apt-get install fails for a package listed in $work/broken. Updates
# and real installs are logged in $work/calls; a simulation (-s) is not.
cat > "$work/bin/apt-get" <<'EOF'
#!/bin/bash
state=$(dirname "$0")/..
if [ "$1" = update ]; then
    read -r code rest < "$state/updates"
    [ -n "$rest" ] && echo "$rest" > "$state/updates"
    echo update >> "$state/calls"
    [ "$code" -eq 0 ] || echo "E: Failed to fetch i386 Packages  Mirror sync in progress?"
    exit "$code"
fi
option=$2
shift 2
[ "$option" = -s ] || echo "install $*" >> "$state/calls"
for package in "$@"; do
    if grep -qx -- "$package" "$state/broken"; then
        echo " $package : Depends: libwine (= 8.0) but it is not going to be installed"
        echo "E: Unable to correct problems, you have held broken packages."
        exit 100
    fi
done
[ "$option" = -s ] || printf '%s\n' "$@" >> "$state/installed"
EOF
# A package is missing where $work/absent holds "*" or its name, until installed.
cat > "$work/bin/dpkg-query" <<'EOF'
#!/bin/bash
state=$(dirname "$0")/..
grep -qx -- "${!#}" "$state/installed" ||
    ! grep -qx -e '*' -e "${!#}" "$state/absent" && printf 'install ok installed'
EOF
# The static i386 probe exits with the code in $work/kernel32; with "-" there,
# it cannot be built.
cat > "$work/bin/i686-linux-gnu-gcc" <<'EOF'
#!/bin/bash
code=$(cat "$(dirname "$0")/../kernel32")
[ "$code" != - ] || { echo "i686-linux-gnu-gcc: cannot execute 'cc1'"; exit 1; }
printf '#!/bin/sh\nexit %s\n' "$code" > "$3" && chmod +x "$3"
EOF
printf '#!/bin/sh\necho 19.1.7\n' > "$work/bin/clang"
# dpkg has no foreign architecture, and logs each one added in $work/calls.
printf '#!/bin/sh\n[ "$1" != --add-architecture ] || echo "add-architecture $2" >> "$(dirname "$0")/../calls"\n' \
    > "$work/bin/dpkg"
printf '#!/bin/sh\nexec "$@"\n' > "$work/bin/sudo"
printf '#!/bin/sh\n' > "$work/bin/sleep"
chmod +x "$work/bin/"*

# What each set installs besides the base set, written out here: a package that
# the script drops from a set fails the rows that ask for it.
base="cmake g++ make libgtest-dev man-db groff-base dpkg-dev file python3"
windows="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 googletest tmux lintian \
         devscripts zip g++-aarch64-linux-gnu g++-i686-linux-gnu qemu-user-static libc6:arm64 \
         libstdc++6:arm64 libgcc-s1:arm64"
architectures="googletest g++-aarch64-linux-gnu g++-s390x-linux-gnu g++-i686-linux-gnu qemu-user-static"
release="g++-mingw-w64-i686-posix g++-aarch64-linux-gnu zip libc6:arm64 libstdc++6:arm64 \
         libgcc-s1:arm64 qemu-user-static lintian devscripts"
robustness="clang valgrind"
bench="xxd bsdextrautils coreutils time hexyl $windows"

# Calls, one a line, as one line: each call's packages sorted (sort's options in $1).
sorted_calls() {
    while read -r verb packages; do
        echo "$verb${packages:+ $(printf '%s\n' $packages | sort ${1:-} | paste -sd ' ')}"
    done | paste -sd ';'
}

set -f  # no globbing from here on: a row's "*" is a word
failures=0
# name | sets asked for | missing | update exit codes | packages apt cannot install
# | i386 probe's exit | expected exit | expected calls (a package in several sets
# once) | expected in output
while IFS='|' read -r name sets absent updates broken kernel32 expected_status expected_calls expected_text; do
    : > "$work/installed"
    : > "$work/calls"
    printf '%s\n' $absent > "$work/absent"
    echo "$updates" > "$work/updates"
    printf '%s\n' $broken > "$work/broken"
    echo "$kernel32" > "$work/kernel32"
    rm -rf "$work/tmp" && mkdir "$work/tmp"
    status=0
    PATH=$work/bin:$PATH TMPDIR=$work/tmp "$source_dir/scripts/install-dependencies" $sets \
        > "$work/out" 2>&1 || status=$?
    calls=$(sorted_calls < "$work/calls")
    expected_calls=$(tr ';' '\n' <<< "$expected_calls" | sorted_calls -u)
    repeated=$(sed -n 's/^Installing: //p' "$work/out" | tr ' ' '\n' | sed '/^$/d' | sort | uniq -d)
    left=$(ls -A "$work/tmp")
    problem=""
    [ "$status" -eq "$expected_status" ] || problem="exit code $status, expected $expected_status"
    [ "$calls" = "$expected_calls" ] || problem="$problem; calls \"$calls\", expected \"$expected_calls\""
    [ -z "$expected_text" ] || grep -qF -- "$expected_text" "$work/out" || problem="$problem; no \"$expected_text\" in its output"
    [ -z "$repeated" ] || problem="$problem; named twice: $repeated"
    [ -z "$left" ] || problem="$problem; left behind in TMPDIR: $left"
    if [ -n "$problem" ]; then
        echo "FAILED $name: $problem. It printed:"
        sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    fi
done <<EOF
nothing_missing|windows architectures release|-|0||0|0||
update_fails_once_then_works|windows architectures release|*|100 0||0|0|add-architecture i386;add-architecture arm64;update;update;install $base $windows $architectures $release;install wine32:i386|apt-get update failed (try 1 of 4)
update_keeps_failing_in_part|architectures|*|100||0|0|update;update;update;update;install $base $architectures|going on with the indexes it has
wine32_cannot_be_installed|bench|*|0|wine32:i386|0|0|add-architecture i386;add-architecture arm64;update;install $base $bench;install wine32:i386|wine32:i386 cannot be installed, and the tests go on
windows_alone|windows|*|0||0|0|add-architecture i386;add-architecture arm64;update;install $base $windows;install wine32:i386|
only_wine32_missing_updates_once|windows|wine32:i386|100||0|0|add-architecture i386;update;install wine32:i386|
only_wine32_missing_on_a_kernel_without_32bit|windows|wine32:i386|0||1|0||kernel runs no 32-bit programs; no update
only_wine32_missing_and_the_probe_cannot_be_built|windows|wine32:i386|0||-|1||cannot execute 'cc1'
needed_package_cannot_be_installed|release|*|100|zip|0|1|add-architecture arm64;update;update;update;update;install $base $release|zip cannot be installed:
robustness_runs_again_once_clang_is_there|robustness|*|0||0|0|update;install $base $robustness;update;install libclang-rt-19-dev|
needed_package_shows_apt_reason|robustness|*|0|valgrind|0|1|update;install $base $robustness|valgrind : Depends: libwine
EOF
[ "$failures" -eq 0 ] && echo "install-dependencies: every case as expected"
