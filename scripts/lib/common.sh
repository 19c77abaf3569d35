# Sourced by the scripts: strict mode, and no step that fails without saying
# which step it was and what it printed.

# errtrace (-E): the ERR trap fires inside shell functions too.
set -Eeuo pipefail
script_name=$(basename "$0")
trap 'echo "$script_name: failed at line $LINENO: $BASH_COMMAND" >&2' ERR

# fail_with_log STEP LOG STATUS: names the failed step, shows the log's last lines
# and ends the script with STATUS.
fail_with_log() {
    echo "$script_name: $1 failed (exit code $3); the last lines of $2:" >&2
    tail -n 40 "$2" >&2
    exit "$3"
}

# run_logged STEP LOG COMMAND...: runs a noisy command with its output in LOG. On
# failure it names the step, shows the log's last lines and ends the script.
run_logged() {
    local step=$1 log=$2
    shift 2
    mkdir -p "$(dirname "$log")"
    "$@" > "$log" 2>&1 || fail_with_log "$step" "$log" "$?"
}

# Whether the Debian package named is installed.
package_installed() { dpkg-query -W -f='${Status}' "$1" 2> /dev/null | grep -q "install ok installed"; }

# Whether Wine's 32-bit loader runs here. It may be missing (the archive was in
# the middle of a sync), or the kernel may run no 32-bit programs (some virtual
# machines' kernels do not).
runs_32bit_x86() { /usr/lib/wine/wine --version > /dev/null 2>&1; }

# kernel_runs_32bit_programs DIR: whether this machine's kernel runs a small static
# i386 program, which it builds in DIR with the i686 Linux cross compiler.
kernel_runs_32bit_programs() {
    printf 'int main(void) { return 0; }\n' > "$1/i386-probe.c"
    run_logged "building a static i386 program" "$1/i386-probe.log" \
        i686-linux-gnu-gcc -static -o "$1/i386-probe" "$1/i386-probe.c"
    "$1/i386-probe" 2> /dev/null
}

# why_no_32bit_wine DIR: prints why Wine's 32-bit loader does not run, telling a
# kernel without 32-bit programs from a 32-bit Wine that is not installed by a
# small static i386 program built in DIR; prints nothing where it runs.
why_no_32bit_wine() {
    runs_32bit_x86 && return 0
    if ! kernel_runs_32bit_programs "$1"; then
        echo "this machine's kernel runs no 32-bit programs"
    elif ! package_installed wine32:i386; then
        echo "the 32-bit Wine could not be installed"
    else
        echo "the 32-bit Wine is installed but does not start ($(/usr/lib/wine/wine --version 2>&1 | tail -n 1))"
    fi
}

# start_wine BUILD_DIR: gives this script a Wine prefix of its own inside the
# build tree, creates it if needed, and keeps one Wine server running for it
# until the script ends (a server per test now and then meets the previous one
# shutting down). Nothing from $HOME or an earlier run is needed. Sets WINE to
# the build's Wine command.
start_wine() {
    export WINEPREFIX=$PWD/$1/wine-prefix
    export WINEDEBUG=-all
    WINE=$(sed -n 's/^ZELVANE_WINE:[A-Z]*=//p' "$1/CMakeCache.txt")
    # A server that an interrupted run left in this prefix would never end by
    # itself, and the wait below would last for ever. None running is no error.
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k > /dev/null 2>&1 || true
    fi
    run_logged "creating the Wine prefix $WINEPREFIX" "$1/wine-prefix.log" "$WINE" wineboot --init
    # The server that wineboot started lingers; a persistent one can start only
    # once it has gone.
    wineserver -w
    # The server's output goes to the log, so that it holds no pipe of ours open.
    wineserver -p < /dev/null >> "$1/wine-prefix.log" 2>&1 ||
        fail_with_log "starting the Wine server" "$1/wine-prefix.log" "$?"
    trap 'wineserver -k > /dev/null 2>&1 || true' EXIT
    # Wine's own services start with the first program and stay while the server
    # does: start them here, so that they hold no pipe of a test open.
    run_logged "starting Wine's services" "$1/wine-services.log" "$WINE" wineboot
}

# build_tree DIR CMAKE_ARGUMENTS...: configures DIR from this source and builds
# all of it, each step's output in a log in DIR. Every option that a check relies
# on is set, to the default unless the arguments say otherwise, so that none that
# was cached in DIR by hand carries over.
build_tree() {
    local dir=$1
    shift
    run_logged "configuring $dir/" "$dir/configure.log" \
        cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS= -DZELVANE_BUILD_TESTS=ON \
        -DZELVANE_VECTOR_CODE=ON -DZELVANE_EXPECT_VECTOR_CODE= -DZELVANE_FUZZ=OFF "$@"
    run_logged "building $dir/" "$dir/build.log" cmake --build "$dir" -j "$(nproc)"
}
