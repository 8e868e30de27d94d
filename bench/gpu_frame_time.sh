#!/usr/bin/env bash
# Frame time of every quality preset on the machine's own GPU: the same table as run_benchmarks.sh,
# but through the vendor's GLX (NVIDIA by default) under a private Xvfb instead of Mesa's llvmpipe.
# Usage: bench/gpu_frame_time.sh [build dir] [frames]   (from the repository root). The build dir is
# configured and built here: the benchmark finds the staged game by its absolute path.
# Needs Xvfb and the vendor's GL driver; set GLX_VENDOR to another glvnd vendor name if not NVIDIA.
set -euo pipefail

build="${1:-build-gpu}"
frames="${2:-600}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_frame_time >/dev/null

number=$(for n in $(seq 150 199); do [[ -e /tmp/.X11-unix/X$n ]] || { echo "$n"; break; }; done)
Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=":$number"
export __GLX_VENDOR_LIBRARY_NAME="${GLX_VENDOR:-nvidia}"
unset LIBGL_ALWAYS_SOFTWARE GALLIUM_DRIVER
sleep 1

log=$(mktemp)
for quality in high medium low; do
    "$build/bench/bench_frame_time" "$frames" "$quality" | tee -a "$log"
    echo
done
echo "Quality presets side by side; load $(cut -d' ' -f1-3 /proc/loadavg); $(grep -m1 '^Frame time' "$log")"
grep -m1 '^| frame ' "$log"
grep -m1 '^|---' "$log"
grep -E '^\| (real game, quality|empty frame|trivial program)' "$log"
rm -f "$log"
