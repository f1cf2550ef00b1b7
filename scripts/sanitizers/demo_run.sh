#!/usr/bin/env bash
# A few seconds of the demo's main loop under the sanitizers, then a window close (SIGTERM).
# Fails on a non-zero status, a signal, or any sanitizer report in the output.
set -uo pipefail
demo=$1
log=$(mktemp /tmp/tarvik-sanitized-demo-XXXXXX)
"$demo" windowed mode=low >"$log" 2>&1 &
pid=$!
for _ in $(seq 1 600); do
  grep -q "^WINDOWED$" "$log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
sleep 5
kill -TERM "$pid" 2>/dev/null
wait "$pid"
status=$?
if [ "$status" -ne 0 ] || grep -qE "Sanitizer|runtime error:" "$log" || ! grep -q "^WINDOWED$" "$log"; then
  echo "sanitized demo run FAILED (status $status):"
  cat "$log"
  rm -f "$log"
  exit 1
fi
echo "sanitized demo run: status 0, main loop reached, no sanitizer report"
rm -f "$log"
