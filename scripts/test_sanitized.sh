#!/usr/bin/env bash
# Builds the library, the entry points and the tests with AddressSanitizer and UBSan into their
# own folder (./build-asan, or $TARVIK_SANITIZE_BUILD), then runs the whole test suite and a short
# demo run under Xvfb. Any finding in our code fails the run; leaks that the system libraries
# (Mesa, llvmpipe, SDL, D-Bus, X) keep until exit are suppressed by name in
# scripts/sanitizers/lsan.supp. Never builds the asset targets: ./music and ./data.vx stay as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${TARVIK_SANITIZE_BUILD:-build-asan}
bash scripts/setup.sh
# The compiler cache keys paths inside the clone relative to it, so another clone of the
# repository (CI's fresh one) reuses what this one compiled.
export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=true

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# Every program of this build keeps Mesa's driver loaded to the end, so leak reports can name it.
mkdir -p "$build"
dri_dir="$(pkg-config --variable=dridriverdir dri 2>/dev/null || true)"
[ -n "$dri_dir" ] || dri_dir="/usr/lib/$(gcc -print-multiarch)/dri"
keep="$(cd "$build" && pwd)/keep_libraries_loaded.o"
cc -c -O1 -fPIC -DDRI_DRIVER="\"$dri_dir/swrast_dri.so\"" scripts/sanitizers/keep_libraries_loaded.c -o "$keep.new"
# Replaced only when it changed, so that a second run does not relink every program.
if cmp -s "$keep.new" "$keep"; then rm "$keep.new"; else mv "$keep.new" "$keep"; fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined $keep" >/dev/null

# The three programs, every test program, and the programs tests start.
targets="tarvik tarvik-render tarvik-studio"
targets+=" $(for f in tests/*/test_*.cpp; do basename "$f" .cpp; done)"
targets+=" $(grep -rho 'builtProgram("[^"]*")' tests | sed 's/builtProgram("\(.*\)")/\1/' | sort -u)"
# shellcheck disable=SC2086
cmake --build "$build" -j"$(nproc)" --target $(echo $targets | tr ' ' '\n' | sort -u)
# New test files need the test list refreshed.
cmake -S . -B "$build" >/dev/null

# intercept_tls_get_addr=0: LeakSanitizer's tracer otherwise walks the dynamic TLS blocks it
# tracked, and with Mesa's libraries one of them holds a bogus range: the tracer crashes
# (signal 11) at the exit of a renderer, before any leak check. Static TLS is still scanned.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitizers/lsan.supp:print_suppressions=0"
export SDL_AUDIODRIVER=dummy

echo "sanitized: test suite"
# The ssh segments test is left to the plain run: an ssh login does not carry the sanitizer
# options (the suppression file for system libraries), so SDL's own allocations would be
# reported on the remote side.
xvfb-run -a -s "-screen 0 1280x720x24" ctest --test-dir "$build" --output-on-failure -j2 --timeout 900 \
  -E '^RenderVideo\.RemotesOverSsh.*$'

echo "sanitized: demo run"
xvfb-run -a -s "-screen 0 1280x720x24" bash scripts/sanitizers/demo_run.sh "$build/tarvik"
