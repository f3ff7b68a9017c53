#!/bin/sh
# Builds the libFuzzer harnesses with clang and runs each for SECONDS
# (default 60). The corpus grows in build/fuzz/corpus, seeded from
# fuzz/corpus; an input that breaks a harness is kept in build/fuzz/findings
# and the script fails. For a long run: scripts/fuzz.sh 3600.
# usage: scripts/fuzz.sh [SECONDS] [HARNESS...]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELLANDO_FUZZ=ON -DPELLANDO_TESTS=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)"
harnesses=${*:-$(sed -n 's/^  \([a-z_]*_fuzz\)$/\1/p' fuzz/CMakeLists.txt)}
mkdir -p build/fuzz/findings
status=0
for harness in $harnesses; do
  corpus=build/fuzz/corpus/$harness
  mkdir -p "$corpus"
  echo "=== $harness, $seconds s"
  if ! build/fuzz/bin/$harness -max_total_time="$seconds" -timeout=20 -max_len=16384 \
      -print_final_stats=1 -artifact_prefix=build/fuzz/findings/$harness- \
      "$corpus" "fuzz/corpus/$harness" >"build/fuzz/$harness.log" 2>&1; then
    status=1
    tail -n 40 "build/fuzz/$harness.log"
  fi
  grep -E '^stat::number_of_executed_units|^Done' "build/fuzz/$harness.log" || true
done
exit $status
