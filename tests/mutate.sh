#!/usr/bin/env bash
# Shows which faults the test suite catches: applies the single-line faults of mutations.txt one
# at a time to a clean copy of a checkout's committed tree, builds, and runs the suite on each.
#
#   tests/mutate.sh [--commit REV] [--only ID...] CHECKOUT WORKDIR
#
# The copy goes to WORKDIR/src (made anew on every run) and is built in WORKDIR/build. A
# mutation is CAUGHT when the suite fails, MISSED when it passes, BUILD-FAILED when the faulty
# copy does not compile. Its own area of tests runs first; only when that passes does the rest
# of the suite run, so the whole suite decides. A run of every mutation first checks that the
# suite passes on the copy as it is. Results go to standard output and WORKDIR/results.txt,
# the output of each mutation's build and tests to WORKDIR/logs/ID.log. Not run by CI.
set -euo pipefail

usage() {
  echo "usage: $0 [--commit REV] [--only ID...] CHECKOUT WORKDIR" >&2
  exit 2
}

rev=HEAD
only=()
while [ $# -gt 2 ]; do
  case $1 in
    --commit) rev=$2; shift 2 ;;
    --only)
      shift
      while [ $# -gt 2 ] && [[ $1 != --* ]]; do only+=("$1"); shift; done ;;
    *) usage ;;
  esac
done
[ $# -eq 2 ] || usage
checkout=$1
mkdir -p "$2"
work=$(cd "$2" && pwd)
list=$(cd "$(dirname "$0")" && pwd)/mutations.txt
src=$work/src
build=$work/build
results=$work/results.txt

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1

# The mutations to run, one a line: id, ctest regex of the area, file, text to find, replacement
# and description, separated by tabs, as mutations.txt holds them.
# Passed on with the unit separator between fields, which read does not merge when two meet.
selected=$(grep -v '^#' "$list" | grep -v '^\s*$' | awk -v only=" ${only[*]-} " \
  'BEGIN { FS = "\t"; OFS = "\037" } only == "  " || index(only, " " $1 " ") { $1 = $1; print }')
if [ -z "$selected" ]; then
  echo "No mutation of $list matches: ${only[*]}" >&2
  exit 2
fi

echo "Copying $rev of $checkout to $src"
rm -rf "$src"
mkdir -p "$src" "$work/logs"
# Extracted with the time of now: every file is newer than what an earlier run built from it.
git -C "$checkout" archive "$rev" | tar -x -m -C "$src"

# apply FILE FIND REPLACE: replaces FIND, which must occur exactly once in FILE and lie within
# one line, by REPLACE; prints the number of the changed line.
apply() {
  python3 - "$@" <<'EOF'
import sys
path, find, replace = sys.argv[1:]
text = open(path, encoding="utf-8").read()
count = text.count(find)
if count != 1 or "\n" in find:
    sys.exit(f"{path}: '{find}' occurs {count} times, not once")
at = text.index(find)
open(path, "w", encoding="utf-8").write(text[:at] + replace + text[at + len(find):])
print(text.count("\n", 0, at) + 1)
EOF
}

# Every mutation is checked before the long run: its text found once, its area not empty.
bad=0
while IFS=$'\037' read -r -u 3 id area file find replace what; do
  cp "$src/$file" "$work/original"
  apply "$src/$file" "$find" "$replace" >/dev/null || { echo "$id: refused" >&2; bad=1; }
  cp -p "$work/original" "$src/$file"
done 3<<<"$selected"
[ "$bad" = 0 ] || exit 1

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
echo "Configuring and building in $build"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZINTREL_TESTS=ON -DZINTREL_BENCH=OFF \
  "${launcher[@]}" >"$work/logs/build.log"
cmake --build "$build" -j2 >>"$work/logs/build.log" 2>&1 ||
  { echo "The copy as it is does not build: see $work/logs/build.log" >&2; exit 1; }
while IFS=$'\037' read -r -u 3 id area _; do
  if ! ctest --test-dir "$build" -N -R "$area" | grep "Test *#" >/dev/null; then
    echo "$id: no test matches the area '$area'" >&2
    bad=1
  fi
done 3<<<"$selected"
[ "$bad" = 0 ] || exit 1

# suite ARGS...: runs the tests ctest selects with ARGS, to the first failure; on a failure
# prints the name of the failing test and returns 1. A test fails only when it fails three
# times running: the end-to-end checks drive a real window, and on a loaded machine one of them
# may miss an input now and then, which is no fault found.
suite() {
  local log status
  log=$(ctest --test-dir "$build" -j2 --stop-on-failure --repeat until-pass:3 "$@" 2>&1) &&
    status=0 || status=$?
  echo "$log" >>"$log_file"
  [ "$status" = 0 ] && return 0
  echo "$log" | sed -n '/The following tests FAILED:/,$ s/^\s*[0-9]* - \(.*\) ([^()]*)$/\1/p' |
    head -1 | sed 's/ *# GetParam.*//' | grep . || echo "(see the log)"
  return 1
}

if [ ${#only[@]} -eq 0 ]; then
  echo "Running the suite on the copy as it is"
  log_file=$work/logs/unchanged.log
  : >"$log_file"
  if failed=$(suite); then :; else
    echo "The suite fails without a mutation ($failed): see $log_file" >&2
    exit 1
  fi
fi

: >"$results"
caught=0 missed=0 broken=0
while IFS=$'\037' read -r -u 3 id area file find replace what; do
  log_file=$work/logs/$id.log
  cp "$src/$file" "$work/original"
  line=$(apply "$src/$file" "$find" "$replace")
  if ! cmake --build "$build" -j2 >"$log_file" 2>&1; then
    result=BUILD-FAILED by=""
    broken=$((broken + 1))
  elif by=$(suite -R "$area") && by=$(suite -E "$area"); then
    result=MISSED
    missed=$((missed + 1))
  else
    result=CAUGHT
    caught=$((caught + 1))
  fi
  # Written anew, so that the next build compiles the file again.
  cat "$work/original" >"$src/$file"
  printf '%s\t%s:%s\t%s\t%s\t%s\n' "$id" "$file" "$line" "$result" "$by" "$what" | tee -a "$results"
done 3<<<"$selected"

summary="$caught caught, $missed missed, $broken did not build, of $((caught + missed + broken))"
echo "$summary" | tee -a "$results"
[ "$missed" = 0 ] && [ "$broken" = 0 ]
