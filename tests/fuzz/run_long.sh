#!/bin/sh
# The long fuzzing run: builds the libFuzzer targets with clang and runs
# each for KORVANE_FUZZ_SECONDS (60) seconds on a copy of its seed corpus.
# Skipped (exit 77) unless KORVANE_LONG_TESTS=1.
#   run_long.sh SOURCE_DIR BUILD_DIR
set -e
if [ "${KORVANE_LONG_TESTS:-}" != 1 ]; then
    echo "long fuzzing run skipped (set KORVANE_LONG_TESTS=1)"
    exit 77
fi
src="$1"
out="$2"
seconds="${KORVANE_FUZZ_SECONDS:-60}"
compiler="$(command -v clang++-14 || command -v clang++)"
cmake -S "$src/tests/fuzz" -B "$out" -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
cmake --build "$out" -j"$(nproc)"
status=0
for target in "$out"/fuzz_*; do
    [ -x "$target" ] || continue
    name="$(basename "$target")"
    corpus="$out/corpus-${name#fuzz_}"
    mkdir -p "$corpus"
    cp "$src/tests/fuzz/corpus/${name#fuzz_}"/* "$corpus"/
    echo "== $name for $seconds s"
    if ! (cd "$out" && "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -max_len=4096 -print_final_stats=1 "$corpus" 2>"$out/$name.log"); then
        status=1
        echo "$name: finding, see $out/$name.log and the crash-* file in $out"
        tail -40 "$out/$name.log"
    fi
    grep -E "^(Done|stat::number_of_executed_units)" "$out/$name.log" || true
done
exit $status
