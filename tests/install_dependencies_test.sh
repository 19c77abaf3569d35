#!/bin/bash
# The decisions of scripts/install-dependencies, with stand-ins for apt-get,
# dpkg-query, dpkg, sudo, sleep and the i686 compiler first on PATH: nothing on
# the machine changes.
# Usage: install_dependencies_test.sh SOURCE_DIR
set -u
source_dir=$1
work=$(mktemp -d)
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
# The static i386 probe exits with the code in $work/kernel32.
cat > "$work/bin/i686-linux-gnu-gcc" <<'EOF'
#!/bin/bash
printf '#!/bin/sh\nexit %s\n' "$(cat "$(dirname "$0")/../kernel32")" > "$3" && chmod +x "$3"
EOF
printf '#!/bin/sh\n' > "$work/bin/dpkg"
printf '#!/bin/sh\nexec "$@"\n' > "$work/bin/sudo"
printf '#!/bin/sh\n' > "$work/bin/sleep"
chmod +x "$work/bin/"*

set -f  # no globbing from here on: a row's "*" is a word
failures=0
# name | missing | update exit codes | packages apt cannot install | i386 probe's exit
# | expected exit | expected calls, "install *" for the needed set | expected in output
while IFS='|' read -r name absent updates broken kernel32 expected_status expected_calls expected_text; do
    : > "$work/installed"
    : > "$work/calls"
    printf '%s\n' $absent > "$work/absent"
    echo "$updates" > "$work/updates"
    printf '%s\n' $broken > "$work/broken"
    echo "$kernel32" > "$work/kernel32"
    status=0
    PATH=$work/bin:$PATH "$source_dir/scripts/install-dependencies" windows architectures release \
        > "$work/out" 2>&1 || status=$?
    calls=$(sed 's/^\(install\) [^ ]* .*/\1 */' "$work/calls" | paste -sd ';')
    repeated=$(sed -n 's/^Installing: //p' "$work/out" | tr ' ' '\n' | sed '/^$/d' | sort | uniq -d)
    problem=""
    [ "$status" -eq "$expected_status" ] || problem="exit code $status, expected $expected_status"
    [ "$calls" = "$expected_calls" ] || problem="$problem; calls \"$calls\", expected \"$expected_calls\""
    [ -z "$expected_text" ] || grep -qF -- "$expected_text" "$work/out" || problem="$problem; no \"$expected_text\" in its output"
    [ -z "$repeated" ] || problem="$problem; named twice: $repeated"
    if [ -n "$problem" ]; then
        echo "FAILED $name: $problem. It printed:"
        sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    fi
done <<'EOF'
nothing_missing|-|0||0|0||
update_fails_once_then_works|*|100 0||0|0|update;update;install *;install wine32:i386|apt-get update failed (try 1 of 4)
update_keeps_failing_in_part|*|100||0|0|update;update;update;update;install *;install wine32:i386|going on with the indexes it has
wine32_cannot_be_installed|*|0|wine32:i386|0|0|update;install *;install wine32:i386|wine32:i386 cannot be installed, and the tests go on
only_wine32_missing_updates_once|wine32:i386|100||0|0|update;install wine32:i386|
only_wine32_missing_on_a_kernel_without_32bit|wine32:i386|0||1|0||kernel runs no 32-bit programs; no update
needed_package_cannot_be_installed|*|100|wine32:i386 wine|0|1|update;update;update;update;install *|wine cannot be installed:
needed_package_shows_apt_reason|*|0|tmux|0|1|update;install *|tmux : Depends: libwine
EOF
[ "$failures" -eq 0 ] && echo "install-dependencies: every case as expected"
