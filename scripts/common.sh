# Shared by scripts/run and scripts/test: packages, build, virtual display.
# shellcheck shell=bash

SKYRINGS_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SKYRINGS_BUILD="${SKYRINGS_BUILD:-$SKYRINGS_ROOT/build}"
SKYRINGS_PACKAGES=(
    build-essential cmake pkg-config
    libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev cimg-dev
    libfreetype-dev libcairo2-dev fonts-dejavu-core
    libopenal-dev libsndfile1-dev libasound2-dev libcli11-dev nlohmann-json3-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth libgl1-mesa-dri xdotool x11-utils imagemagick
    lintian groff-base
)

# Installs whatever is missing (as root), or prints the exact command and stops.
ensure_packages() {
    local missing=()
    for package in "${SKYRINGS_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# SKYRINGS_LINE_TABLES_ONLY=1 (set by CI, which builds everything twice from nothing): debug information
# down to line tables, enough for every backtrace and sanitizer report, and a quarter less compile time.
configure_skyrings() {
    local debug_info=()
    if [ -n "${SKYRINGS_LINE_TABLES_ONLY:-}" ]; then
        debug_info=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG")
    fi
    cmake -S "$SKYRINGS_ROOT" -B "$SKYRINGS_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${debug_info[@]}" "$@" >/dev/null
}

# Everything: the game, its tools, the tests and the benchmarks.
build_skyrings() {
    configure_skyrings "$@"
    cmake --build "$SKYRINGS_BUILD" -j"$(nproc)"
}

# Only what a player needs: the game, the staged shaders and config.txt, the generated resources and
# the course list with its par times.
build_game() {
    configure_skyrings "$@"
    cmake --build "$SKYRINGS_BUILD" -j"$(nproc)" --target skyrings skyrings_stage skyrings_assets skyrings_courses
}

# Starts a private Xvfb and exports its DISPLAY; it is stopped when the script exits.
start_virtual_display() {
    local number
    for number in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
        # -noreset: by default the server resets whenever its last client leaves, and a test that
        # connects during that reset fails to open its display.
        Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        SKYRINGS_XVFB_PID=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$number" ] && break
            sleep 0.1
        done
        export DISPLAY=":$number"
        trap 'kill "$SKYRINGS_XVFB_PID" 2>/dev/null' EXIT
        return 0
    done
    echo "No free display number for Xvfb" >&2
    exit 1
}
