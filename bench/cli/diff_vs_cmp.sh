#!/bin/sh
# `vorlane-cli diff --json` against `cmp -l` on the same pairs of 64 KiB images that differ in
# about 50 scattered bytes, one process per pair for both, with a warm page cache. Target: the
# median of diff at most 2x that of cmp -l. A third command runs /bin/true per pair: the cost of
# starting the processes alone, which both others pay too.
#
#   diff_vs_cmp.sh VORLANE_CLI MAKE_DIFF_PAIRS WORK_FOLDER [PAIRS] [RUNS]
#
# Needs hyperfine and cmp (Debian packages hyperfine, diffutils); python3, when present, prints
# the ratio of the medians.
set -eu

absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
cli=$(absolute "$1")
make_pairs=$(absolute "$2")
work=$3
pairs=${4:-1000}
runs=${5:-15}

mkdir -p "$work"
rm -f "$work"/a*.rom "$work"/b*.rom
"$make_pairs" "$work" "$pairs"
cd "$work"
cat a*.rom b*.rom >/dev/null

# Runs COMMAND A B for every pair, one process each; the exit status 1 of a difference is no
# failure here.
cat >each_pair.sh <<'SH'
for a in a*.rom; do "$@" "$a" "b${a#a}" >/dev/null; done
exit 0
SH

hyperfine --shell=none --warmup 2 --runs "$runs" --export-json timing.json \
    --command-name "cmp -l" "sh each_pair.sh cmp -l" \
    --command-name "vorlane-cli diff --json" "sh each_pair.sh $cli diff --json" \
    --command-name "true" "sh each_pair.sh /bin/true"

if command -v python3 >/dev/null 2>&1; then
    python3 - timing.json "$pairs" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
pairs = int(sys.argv[2])
cmp, cli, floor = results["cmp -l"], results["vorlane-cli diff --json"], results["true"]
for name, r in (("cmp -l", cmp), ("diff --json", cli), ("true", floor)):
    print(f"{name:12s} median {r['median'] * 1000:8.1f} ms ({r['median'] * 1e6 / pairs:6.1f} us "
          f"per pair)  stddev {r['stddev'] * 1000:6.1f} ms  "
          f"cv {100 * r['stddev'] / r['mean']:4.1f} %")
ratio = cli["median"] / cmp["median"]
print(f"ratio of medians: {ratio:.2f} (target at most 2.00)")
PY
fi

# The pairs really differ as intended: diff counts what cmp -l lists.
counted=$("$cli" diff --json a0000.rom b0000.rom | sed 's/.*"bytesDiffering":\([0-9]*\).*/\1/') || true
listed=$(cmp -l a0000.rom b0000.rom | wc -l) || true
echo "first pair: diff counts $counted differing bytes, cmp -l lists $listed"
[ "$counted" = "$listed" ]
