#!/usr/bin/env bash
# Builds the fuzz targets (map files, and what a packet engine or TNC sends) with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/ and runs each briefly on
# mutations of its seed files. Fails when a sanitizer or an invariant check finds something; the input that did it is kept in build-fuzz/findings/.
# FUZZ_SECONDS sets the time per target (default 8).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build-fuzz"
seconds=${FUZZ_SECONDS:-8}

# clang and its libFuzzer runtime are optional packages: without them the fuzz run is skipped,
# said so, and does not fail ./test.
probe=$(mktemp -d)
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
    >"$probe/log" 2>&1; then
    echo "Fuzz targets SKIPPED: clang with libFuzzer is not installed (Debian packages clang and" \
        "libclang-rt-14-dev): $(head -n 1 "$probe/log")"
    rm -rf "$probe"
    exit 0
fi
rm -rf "$probe"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DSKYVANE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
fi
status=0
cmake --build "$build" -j2 --target fuzz_calibration fuzz_objects fuzz_picture fuzz_agwpe fuzz_kiss fuzz_ax25 \
    >"$build/build.log" 2>&1 || status=$?
grep -v -E '^\[ *[0-9]+%\]|^(make|gmake)\[[0-9]+\]: (Entering|Leaving)' "$build/build.log" || true
if [ "$status" -ne 0 ]; then
    echo "Fuzz target build failed (exit $status); full log: $build/build.log" >&2
    exit "$status"
fi

mkdir -p "$build/findings"
status=0
for kind in calibration objects picture agwpe kiss ax25; do
    corpus=$(mktemp -d)
    cp "$top/tests/fuzz/corpus/$kind/"* "$corpus/"
    if QT_QPA_PLATFORM=offscreen "$build/tests/fuzz/fuzz_$kind" "$corpus" -max_total_time="$seconds" \
        -max_len=65536 -rss_limit_mb=2048 -timeout=20 -print_final_stats=0 \
        -artifact_prefix="$build/findings/$kind-" >"$build/fuzz_$kind.log" 2>&1; then
        echo "fuzz_$kind: $(grep -E '^Done [0-9]+ runs' "$build/fuzz_$kind.log" || echo 'done')"
    else
        echo "fuzz_$kind FAILED; log: $build/fuzz_$kind.log"
        tail -n 30 "$build/fuzz_$kind.log"
        status=1
    fi
    rm -rf "$corpus"
done
exit $status
