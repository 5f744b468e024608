#!/usr/bin/env bash
# Checks that fuzz/run-harness.sh passes a harness that runs and fails one that is
# missing or stops at start, so that a broken harness cannot slip through `./dev test`.
# Stand-in harnesses play libFuzzer's part; none of them has a fuzz/regressions folder.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Behaves as libFuzzer does: a corpus folder that does not exist ends it at once.
cat >"$work/fuzz_runs" <<'EOF'
#!/usr/bin/env bash
for arg; do
    case $arg in
        -*) ;;
        *) [ -d "$arg" ] || { echo "No such file or directory: $arg; exiting"; exit 1; } ;;
    esac
done
echo "Done 42 runs in 1 second(s)"
echo "stat::number_of_executed_units: 42"
EOF
printf '#!/bin/sh\necho "==1==ERROR: AddressSanitizer: SEGV" >&2\nexit 1\n' >"$work/fuzz_dies"
printf '#!/bin/sh\nexit 0\n' >"$work/fuzz_quits"
chmod +x "$work"/fuzz_*

failed=0
while read -r name expected; do
    if "$here/run-harness.sh" --quiet "$work" "$name" 1 "$work/corpus/$name" >"$work/out" 2>&1
    then got=passes; else got=fails; fi
    if [ "$got" != "$expected" ]; then
        echo "run-harness.sh $got for the harness '$name', expected it $expected:" >&2
        cat "$work/out" >&2
        failed=1
    fi
done <<'EOF'
runs passes
dies fails
quits fails
absent fails
EOF
[ $failed = 0 ] && echo "run-harness.sh: passes a running harness, fails a missing or broken one"
exit $failed
