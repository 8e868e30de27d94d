#!/usr/bin/env bash
# Fails when one of the given programs loads GL, GLEW, GLFW or OpenAL (as ldd resolves it): programs
# that link the game's core alone must run without a display, a GPU or a sound card.
set -uo pipefail
[ $# -gt 0 ] || { echo "no programs given" >&2; exit 2; }
status=0
for program in "$@"; do
    if ! libraries=$(ldd "$program"); then
        echo "ldd failed on $program" >&2
        status=1
        continue
    fi
    device_libraries=$(grep -oE 'lib(GL|GLEW|GLX|OpenGL|glfw|openal)\.so[.0-9]*' <<<"$libraries" | sort -u)
    if [ -n "$device_libraries" ]; then
        echo "$(basename "$program") loads: $(tr '\n' ' ' <<<"$device_libraries")" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "$# programs load no GL, GLEW, GLFW or OpenAL"
exit "$status"
