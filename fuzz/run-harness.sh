#!/usr/bin/env bash
# Runs one libFuzzer harness for a while and says whether it held:
#   fuzz/run-harness.sh [--quiet] BUILD_DIR NAME SECONDS CORPUS_DIR
# The corpus grows in CORPUS_DIR, seeded by the round-trip files and by the inputs that
# once broke this harness (fuzz/regressions/NAME), which run first. A finding lands in
# BUILD_DIR/findings/NAME-*. Fails when the harness is missing, cannot start, finds
# something, or ends without having run a single input. The whole output is kept in
# BUILD_DIR/logs/NAME.log; --quiet shows only the outcome, and the log's end on failure.
set -uo pipefail

quiet=0
if [ "${1:-}" = --quiet ]; then
    quiet=1
    shift
fi
if [ $# -ne 4 ]; then
    echo "usage: $0 [--quiet] BUILD_DIR NAME SECONDS CORPUS_DIR" >&2
    exit 2
fi
build=$1 name=$2 seconds=$3 corpus=$4
source_root=$(cd "$(dirname "$0")/.." && pwd)
harness=$build/fuzz_$name
log=$build/logs/$name.log

show_log_end() {
    # Progress lines would bury the report that explains the failure.
    [ $quiet = 1 ] && [ -f "$log" ] && grep -v -E '^#[0-9]+' "$log" | tail -n 60 >&2
}
fail() {
    echo "FAILED fuzz_$name: $*" >&2
    exit 1
}

[ -x "$harness" ] || fail "no harness at $harness (is it listed in fuzz/CMakeLists.txt?)"
mkdir -p "$corpus" "$build/findings" "$build/logs" || fail "cannot create $corpus or $build/findings"

# libFuzzer gives up at once on a corpus folder that does not exist, and git keeps no
# empty folders, so a harness without saved findings has no fuzz/regressions/NAME.
dirs=("$corpus")
for seeds in "$source_root/tests/data/roundtrip" "$source_root/fuzz/regressions/$name"; do
    if [ -d "$seeds" ]; then dirs+=("$seeds"); fi
done

args=(-max_total_time="$seconds" -max_len=8192 -timeout=10 -print_final_stats=1
      -artifact_prefix="$build/findings/$name-" "${dirs[@]}")
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}

echo "== fuzz_$name for $seconds s"
if [ $quiet = 1 ]; then
    "$harness" "${args[@]}" >"$log" 2>&1
    status=$?
else
    "$harness" "${args[@]}" 2>&1 | tee "$log"
    status=${PIPESTATUS[0]}
fi

if [ "$status" -ne 0 ]; then
    show_log_end
    finding=$(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)
    [ -n "$finding" ] && fail "finding saved as $finding (log: $log)"
    fail "exit status $status (log: $log)"
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
if ! [ "${runs:-0}" -gt 0 ] 2>/dev/null; then
    show_log_end
    fail "ended without running a single input (log: $log)"
fi
took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
echo "fuzz_$name: $runs runs in ${took:-$seconds} s, no findings"
