#!/bin/bash
# The decisions of scripts/install-dependencies, with stand-ins for apt-get,
# dpkg-query, dpkg, sudo and sleep first on PATH: nothing on the machine changes.
# Usage: install_dependencies_test.sh SOURCE_DIR
set -u
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
# apt-get update exits with the codes in $work/updates one per call (the last one
# repeats); apt-get install fails for a package listed in $work/broken.
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
for package in "$@"; do
    if grep -qx -- "$package" "$state/broken"; then
        echo " $package : Depends: libwine (= 8.0) but it is not going to be installed"
        echo "E: Unable to correct problems, you have held broken packages."
        exit 100
    fi
done
[ "$1" = -s ] || printf '%s\n' "$@" >> "$state/installed"
EOF
cat > "$work/bin/dpkg-query" <<'EOF'
#!/bin/bash
grep -qx -- "${!#}" "$(dirname "$0")/../installed" && printf 'install ok installed'
EOF
printf '#!/bin/sh\n' > "$work/bin/dpkg"
printf '#!/bin/sh\nexec "$@"\n' > "$work/bin/sudo"
printf '#!/bin/sh\n' > "$work/bin/sleep"
chmod +x "$work/bin/"*

failures=0
# name | update exit codes | packages apt cannot install | expected exit | expected in output
while IFS='|' read -r name updates broken expected_status expected_text; do
    : > "$work/installed"
    : > "$work/calls"
    echo "$updates" > "$work/updates"
    printf '%s\n' $broken > "$work/broken"
    status=0
    PATH=$work/bin:$PATH "$source_dir/scripts/install-dependencies" windows > "$work/out" 2>&1 ||
        status=$?
    problem=""
    [ "$status" -eq "$expected_status" ] || problem="exit code $status, expected $expected_status"
    grep -qF -- "$expected_text" "$work/out" || problem="$problem; no \"$expected_text\" in its output"
    if [ "$expected_status" -eq 0 ]; then
        grep -qx wine "$work/installed" || problem="$problem; wine was not installed"
    fi
    if [ -n "$problem" ]; then
        echo "FAILED $name: $problem. It printed:"
        sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    fi
done <<'EOF'
update_fails_once_then_works|100 0||0|apt-get update failed (try 1 of 4)
update_keeps_failing_in_part|100||0|going on with the indexes it has
wine32_cannot_be_installed|0|wine32:i386|0|wine32:i386 cannot be installed, and the tests go on
needed_package_cannot_be_installed|100|wine32:i386 wine|1|wine cannot be installed:
needed_package_shows_apt_reason|0|tmux|1|tmux : Depends: libwine
EOF
[ "$failures" -eq 0 ] && echo "install-dependencies: every case as expected"
