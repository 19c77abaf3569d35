#!/bin/sh
# Builds one target of a build tree. Without EXPECTED_ERROR the build must
# succeed; with it, the build must fail and its output name that error.
# Usage: compile_check.sh BUILD_DIR TARGET [EXPECTED_ERROR]
dir=$1 target=$2 expected=${3:-}
status=0
output=$(cmake --build "$dir" --target "$target" 2>&1) || status=$?
printf '%s\n' "$output" | tail -n 20
if [ -z "$expected" ]; then
    [ "$status" -eq 0 ] || { echo "FAILED: the build failed (exit code $status)"; exit 1; }
elif [ "$status" -eq 0 ]; then
    echo "FAILED: the build succeeded"
    exit 1
elif ! printf '%s\n' "$output" | grep -qF -- "$expected"; then
    echo "FAILED: the build failed, but not with $expected"
    exit 1
fi
