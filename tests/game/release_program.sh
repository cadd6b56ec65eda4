#!/usr/bin/env bash
# The release program carries no test machinery: no harness, no scheduled input, no pass
# limit, no manual clock, no headless audio device and no fault injection. Its symbols are
# read with nm.
set -euo pipefail
program=$1
symbols=$(nm -C "$program")
if [ -z "$symbols" ]; then
  echo "no symbols read from $program" >&2
  exit 1
fi
# The program's own symbols must be there, or the check proves nothing. The interface the
# program's calls ask whether to fail (FaultInjection) is allowed: only its implementations are
# test machinery, and a sanitized build names the interface's type info for its checks.
grep -q "TKestovForm" <<<"$symbols" || { echo "the game form is not in $program" >&2; exit 1; }
if found=$(grep -E "Harness|ManualClock|ScriptedInput|InjectedFaults|HeadlessAudio|InjectFaults|PassLimit|EveryPass|Schedul" <<<"$symbols"); then
  echo "test machinery in $program:" >&2
  echo "$found" >&2
  exit 1
fi
echo "no test machinery in $program"
