#!/usr/bin/env bash
# Runs the exchange-file reader's fuzz target for a while on a writable copy of the seed corpus
# and the kept regressions. A crash fails the run; its input is left in <work>/artifacts.
# Usage: run-fuzz.sh <fuzzer> <folder holding corpus/, regressions/ and the dictionary> <work folder> <seconds>
set -euo pipefail
fuzzer=$1
seeds=$2
work=$3
seconds=$4

mkdir -p "$work/corpus" "$work/artifacts"
for folder in corpus regressions; do
  find "$seeds/$folder" -maxdepth 1 -type f ! -name '.*' -exec cp -f {} "$work/corpus/" \;
done
exec "$fuzzer" -dict="$seeds/xmlplan.dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus"
