#!/bin/sh
# Sets up a Debian 12 machine for Korvane, builds it, and runs the program
# on a demo database ("run"), the test suite ("test") or the benchmark
# ("bench"). Installs missing packages with apt-get (run as root).
set -e
cd "$(dirname "$0")/.."

PACKAGES="cmake g++ make pkg-config poppler-utils qt6-base-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libsqlcipher-dev libgl1-mesa-dev fonts-dejavu-core xvfb xauth clang libclang-rt-14-dev"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y --no-install-recommends $missing || { apt-get update && apt-get install -y --no-install-recommends $missing; }
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"

case "${1:-run}" in
run)
    [ -f build/bin/Korvane.MDB ] || build/bin/korvane-tool demo
    if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
        echo "No display: starting under xvfb-run (set DISPLAY to use your desktop)."
        exec xvfb-run -a build/bin/Korvane
    fi
    exec build/bin/Korvane
    ;;
test)
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir build --output-on-failure -j"$(nproc)" ${KORVANE_LONG_TESTS:+-L long}
    ;;
bench)
    shift
    exec build/bench/bench_korvane "$@"
    ;;
*)
    echo "usage: tools/dev.sh run|test|bench" >&2
    exit 2
    ;;
esac
