#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs one target, or every one in turn, for SECONDS each:
#
#     bash scripts/fuzz.sh [TARGET|all] [SECONDS]      (default: all, 600 s)
#
# Targets: log report project datetime numbers batch endtoend xmp import. Each starts from its seeds in
# fuzz/corpus/TARGET and the corpus earlier runs grew in build-fuzz/corpus/TARGET, with
# fuzz/TARGET.dict when there is one. An input that fails is kept in build-fuzz/artifacts/TARGET;
# the script then says which and exits non-zero. Extra libFuzzer options can be given in
# ZQAR_FUZZ_OPTIONS, for example ZQAR_FUZZ_OPTIONS=-runs=10000000.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
target=${1:-all}
seconds=${2:-600}
all_targets=(log report project datetime numbers batch endtoend xmp import)

build=$root/build-fuzz
if [ "${ZQAR_FUZZ_SKIP_BUILD:-0}" != 1 ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQAR_FUZZ=ON \
        -DZQAR_WITH_QT=OFF -DZQAR_WITH_BENCH=OFF >/dev/null
fi

if [ "$target" = all ]; then
    targets=("${all_targets[@]}")
else
    targets=("$target")
fi
present=()
for t in "${targets[@]}"; do
    if [ -f "fuzz/$t.cpp" ]; then
        present+=("$t")
    elif [ "$target" != all ]; then
        echo "fuzz.sh: no fuzz target $t (fuzz/$t.cpp)" >&2
        exit 2
    fi
done
if [ "${ZQAR_FUZZ_SKIP_BUILD:-0}" != 1 ]; then
    cmake --build "$build" -j"$(nproc)" --target "${present[@]/#/fuzz_}"
fi

passed=0
failed=0
for t in "${present[@]}"; do
    corpus=$build/corpus/$t
    artifacts=$build/artifacts/$t
    mkdir -p "$corpus" "$artifacts"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1
             -artifact_prefix="$artifacts/")
    [ -f "fuzz/$t.dict" ] && options+=(-dict="$root/fuzz/$t.dict")
    # shellcheck disable=SC2206
    extra=(${ZQAR_FUZZ_OPTIONS:-})
    echo "== fuzz $t for $seconds s"
    log=$build/fuzz-$t.log
    set +e
    "$build/fuzz/fuzz_$t" "${options[@]}" "${extra[@]}" "$corpus" "$root/fuzz/corpus/$t" \
        >"$log" 2>&1
    result=$?
    set -e
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" || true
    if [ $result -ne 0 ]; then
        echo "fuzz $t FAILED (exit $result); the end of $log:"
        tail -n 40 "$log"
        ls -1 "$artifacts"
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ $failed -eq 0 ]
