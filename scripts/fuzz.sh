#!/usr/bin/env bash
# Fuzzes the code that reads bytes from outside, the loaders and both tools' command lines:
# builds the libFuzzer targets of fuzz/ with clang, ASan and UBSan into ./build-fuzz (seed
# corpora from our own generated files), replays every saved finding under
# tests/fuzz_regressions/<target>/, then runs each target (or those FUZZ_TARGETS names) for
# SECONDS (default 60). Prints executions and findings per target; status 1 on any finding.
# New inputs that reach new code collect in build-fuzz/corpus/<target>/, findings in
# build-fuzz/findings/<target>/ (copy one to tests/fuzz_regressions/<target>/ once it is fixed).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build="$(pwd)/build-fuzz"  # absolute: the shader target works inside a folder of its own
targets=(${FUZZ_TARGETS:-pack_image mp3_decode sndfile_decode shader_includes command_line})
# Longest input per target: room for the largest seeds that still mutate quickly.
declare -A max_len=([pack_image]=16384 [mp3_decode]=16384 [sndfile_decode]=8192 [shader_includes]=16384 [command_line]=512)

bash scripts/setup.sh
export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=true
if [ ! -f data.vx ] || [ ! -f music/tarvik.mp3 ]; then
  echo "fuzz: generating ./data.vx and ./music/tarvik.mp3 first"
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target assets >/dev/null
fi
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$(pwd)/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
status=0
for target in "${targets[@]}"; do
  program="$build/fuzz_$target"
  log="$build/$target.log"
  regressions=("$(pwd)"/tests/fuzz_regressions/"$target"/*)
  if [ -e "${regressions[0]}" ] && ! "$program" -close_fd_mask=1 "${regressions[@]}" >"$log" 2>&1; then
    echo "fuzz: $target: a saved regression input fails again"
    tail -n 30 "$log"
    status=1
    continue
  fi
  findings="$build/findings/$target"
  rm -rf "$findings"
  mkdir -p "$findings" "$build/corpus/$target"
  dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="$(pwd)/fuzz/$target.dict")
  rc=0
  "$program" -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=10 -rss_limit_mb=2048 \
    -close_fd_mask=1 -print_final_stats=1 -artifact_prefix="$findings/" "${dict[@]}" \
    "$build/corpus/$target" "$build/seeds/$target" >"$log" 2>&1 || rc=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  found=$(find "$findings" -type f | wc -l)
  echo "fuzz: $target: ${executions:-0} executions in ${seconds} s, $found findings"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    grep -m 1 -A 25 -E "ERROR: (AddressSanitizer|libFuzzer)|runtime error:|==[0-9]+==" "$log" || tail -n 30 "$log"
    find "$findings" -type f -printf 'fuzz: finding %p\n'
    status=1
  fi
done
exit "$status"
