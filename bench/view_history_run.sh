#!/bin/sh
# Time and peak memory of ViewHistory through `vtx run` on a Part with 250
# and with 2,000 history objects. The viewer fills one view per history
# object with all of them; only the view shown may cost its objects, so 8x
# the history must cost about 8x the time (the limit: 12x) and stay under
# 200 MB. Usage: bench/view_history_run.sh [VTX] (default: the release build).
set -eu
vtx=${1:-build/release/vtx}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

scenario() {  # N -> a scenario on the demo model with N history objects
  python3 - "$1" <<'PY'
import json, sys
n = int(sys.argv[1])
objects = [{"class": "Part", "id": 1, "values": {"PART_NUMBER": "PN-1", "REVISION": "A"}}]
for i in range(n):
    objects.append({"class": "History", "id": 10 + i, "values": {"CN_HISTORY_NUMBER": "H%d" % i}})
    objects.append({"class": "Part_History", "id": 10 + n + i,
                    "values": {"CLASS_ID1": 100, "OBJECT_ID1": 1, "CLASS_ID2": 400, "OBJECT_ID2": 10 + i}})
print(json.dumps({"model": "builtin:demo", "objects": objects, "answers": {"modalViews": [None]},
                  "steps": [{"call": "Application.ViewHistory",
                             "args": {"FirstRec": {"recordList": [{"CLASS_ID": 100, "OBJECT_ID": 1}]}}}]}))
PY
}

measure() {  # N -> "seconds peak_kB"
  scenario "$1" > "$work/s$1.json"
  /usr/bin/time -v "$vtx" run "$work/s$1.json" --out "$work/t$1.json" 2> "$work/time$1.txt"
  elapsed=$(sed -n 's/.*Elapsed (wall clock) time.*: //p' "$work/time$1.txt" |
            awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time$1.txt")
  echo "$elapsed $peak"
}

set -- $(measure 250)
small_s=$1 small_kb=$2
set -- $(measure 2000)
large_s=$1 large_kb=$2
awk -v a="$small_s" -v b="$large_s" -v ka="$small_kb" -v kb="$large_kb" 'BEGIN {
  printf "250 history objects:   %.2f s, %.0f MB peak\n", a, ka / 1024
  printf "2,000 history objects: %.2f s, %.0f MB peak\n", b, kb / 1024
  ratio = b / (a > 0 ? a : 0.01)
  printf "time ratio %.1f (limit 12), peak %.0f MB (limit 200)\n", ratio, kb / 1024
  exit (ratio <= 12 && kb / 1024 < 200) ? 0 : 1
}'
