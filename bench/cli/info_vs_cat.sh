#!/bin/sh
# `vorlane-cli info --json` over many distinct 64 KiB images in one call, against `cat` of the
# same files to /dev/null, with a warm page cache for both. Targets: at most 2x the time of cat,
# and a peak resident set under 8 MiB. A third command, a bare reader with one reused buffer,
# shows the floor: GNU cat maps a fresh buffer for every file, which costs it more than reading.
#
#   info_vs_cat.sh VORLANE_CLI MAKE_BENCH_ROMS READ_FILES WORK_FOLDER [COUNT] [RUNS]
#
# Needs hyperfine and GNU time (Debian packages hyperfine, time); python3, when present, prints
# the ratio of the medians.
set -eu

absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
cli=$(absolute "$1")
make_roms=$(absolute "$2")
read_files=$(absolute "$3")
work=$4
count=${5:-2000}
runs=${6:-40}

mkdir -p "$work"
rm -f "$work"/r*.rom
"$make_roms" "$work" "$count"
cd "$work"
files=$(ls r*.rom | tr '\n' ' ')
# Warm the cache so that both commands read from memory.
cat $files >/dev/null

hyperfine --shell=none --warmup 5 --runs "$runs" --export-json timing.json \
    --command-name cat "cat $files" \
    --command-name "bare read" "$read_files $files" \
    --command-name "vorlane-cli info --json" "$cli info --json $files"

if command -v python3 >/dev/null 2>&1; then
    python3 - timing.json <<'PY'
import json, statistics, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
cat, bare, cli = results["cat"], results["bare read"], results["vorlane-cli info --json"]
for name, r in (("cat", cat), ("bare read", bare), ("info --json", cli)):
    print(f"{name:12s} median {r['median'] * 1000:7.2f} ms  stddev {r['stddev'] * 1000:5.2f} ms"
          f"  min {r['min'] * 1000:7.2f} ms  max {r['max'] * 1000:7.2f} ms")
ratio = cli["median"] / cat["median"]
print(f"ratio of medians: {ratio:.2f} (target at most 2.00); "
      f"against the bare read {cli['median'] / bare['median']:.2f}")
PY
fi

peak() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'
}
cli_kib=$(peak "$cli" info --json $files)
cat_kib=$(peak cat $files)
echo "peak RSS: vorlane-cli $cli_kib KiB, cat $cat_kib KiB (target under 8192 KiB)"
status=0
[ "$cli_kib" -lt 8192 ] || status=1
"$cli" info --json $files | wc -l | sed 's/^/JSON lines: /'
exit $status
