#!/usr/bin/env bash
# Deliberate single faults, one at a time: does the test suite notice each?
#
#   scripts/mutation.sh [--list FILE] [--only N[,N...]] [--jobs N]
#
# Every entry of the list (scripts/mutations.txt by default) names a file, an
# exact text that occurs once in it, its replacement, the area it belongs to,
# the tests that must notice (a ctest -R regular expression) and what the
# fault is. The sources are copied to build/mutation/tree (only files that
# changed since the last run are copied again, so builds stay incremental);
# each fault is put into the copy, the copy is built in build/mutation/build
# (Debug, no sanitizers, ccache when installed), the entry's tests run
# (PostgreSQL ones left out) and the file is put back; the copy is checked at
# the end to be as it was. The working tree is never written. A fault is caught when one of its tests fails; the score is
# printed per area. Exit status: 0 when every fault was caught, 1 when one
# survived, 2 when an entry no longer applies or the unchanged sources fail
# their tests.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/scripts/mutations.txt
only=
jobs=2
while (($#)); do
  case $1 in
    --list) list=$2; shift 2 ;;
    --only) only=,$2,; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    *) sed -n '2,17p' "$0"; exit 2 ;;
  esac
done

work=$root/build/mutation
tree=$work/tree
build=$work/build
log=$work/log
mkdir -p "$tree" "$build" "$log"

# The copy: tracked and new files of the working tree, as they are now.
copy_sources() {
  (cd "$root" && git ls-files --cached --others --exclude-standard) | while IFS= read -r f; do
    [[ -f $root/$f ]] || continue
    if ! cmp -s "$root/$f" "$tree/$f"; then
      mkdir -p "$(dirname "$tree/$f")"
      cp "$root/$f" "$tree/$f"  # a fresh mtime: the build sees the change
    fi
  done
}

# Entries: blocks of "key: value" lines, separated by blank lines; lines
# starting with # are comments. In find and replace, \n stands for a line
# break and leading spaces are kept after the one following the colon.
declare -a files finds replaces areas tests whats
parse_list() {
  local key value n=-1 fresh=1
  while IFS= read -r line || [[ -n $line ]]; do
    [[ $line == \#* ]] && continue
    if [[ -z ${line//[[:space:]]/} ]]; then fresh=1; continue; fi
    key=${line%%:*}
    value=${line#*:}
    value=${value# }
    if ((fresh)); then n=$((n + 1)); fresh=0; fi
    case $key in
      file) files[n]=$value ;;
      find) finds[n]=$value ;;
      replace) replaces[n]=$value ;;
      area) areas[n]=$value ;;
      tests) tests[n]=$value ;;
      what) whats[n]=$value ;;
      *) echo "$list: unknown key '$key' in entry $((n + 1))" >&2; exit 2 ;;
    esac
  done <"$list"
}

# Replaces the one occurrence of $2 in file $1 by $3; fails when it does not
# occur exactly once.
mutate() {
  python3 - "$@" <<'EOF'
import sys
path, find, replace = sys.argv[1:]
find, replace = find.replace("\\n", "\n"), replace.replace("\\n", "\n")
with open(path, encoding="utf-8") as f:
    text = f.read()
count = text.count(find)
if count != 1:
    sys.exit(f"{path}: the text to replace occurs {count} times")
with open(path, "w", encoding="utf-8") as f:
    f.write(text.replace(find, replace))
EOF
}

# The file being changed is kept beside the copy and put back from there
# (with a fresh mtime, so that the next build compiles it again).
mutated=
restore() {
  if [[ -n $mutated ]]; then
    cp "$work/original" "$tree/$mutated"
    mutated=
  fi
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

# Builds what the tests $2 (a ctest -R expression) run, or everything
# without $2: a fault is built into those programs only.
build_copy() {
  local targets=()
  [[ -n ${2:-} ]] && read -ra targets <<<"$(programs_of "$2")"
  cmake --build "$build" -j "$jobs" ${targets[@]:+--target "${targets[@]}"} >"$1" 2>&1
}

# The programs of the build that the tests $1 run, by target name.
programs_of() {
  (cd "$build" && ctest -R "$1" -N --show-only=json-v1) | python3 -c '
import json, os, sys
build = sys.argv[1]
names = set()
for test in json.load(sys.stdin).get("tests", []):
    for word in test.get("command", []):
        path = word.split("=", 1)[-1]
        if path.startswith(build) and os.access(path, os.X_OK) and os.path.isfile(path):
            names.add(os.path.basename(path))
print(" ".join(sorted(names)))' "$build"
}

run_tests() {
  (cd "$build" && ctest -R "$1" -LE postgresql -j "$jobs" --timeout 300 >"$2" 2>&1)
}

parse_list
count=${#files[@]}
start=$SECONDS

copy_sources
sums=$(cd "$tree" && sha1sum "${files[@]}")
if [[ ! -f $build/CMakeCache.txt ]]; then
  launcher=()
  command -v ccache >/dev/null &&
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  linker=()
  command -v ld.lld >/dev/null &&
    linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld)
  cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVTX_SANITIZE=OFF \
    -DVTX_BUILD_BENCH=OFF "${launcher[@]}" "${linker[@]}" >"$log/configure.txt"
fi

# The unchanged sources must pass every test the entries name.
all=
for ((i = 0; i < count; i++)); do
  [[ -z $only || $only == *,$((i + 1)),* ]] || continue
  all+=${all:+|}${tests[i]}
done
for ((i = 0; i < count; i++)); do
  [[ -z $only || $only == *,$((i + 1)),* ]] || continue
  if [[ -n ${files[i]:-} && -n ${tests[i]:-} && -n ${areas[i]:-} && -n ${finds[i]:-} ]]; then
    continue
  fi
  echo "$list: entry $((i + 1)) lacks file, find, area or tests" >&2
  exit 2
done
echo "building the unchanged sources ..."
build_copy "$log/build-unchanged.txt" || { echo "the unchanged sources do not build: $log/build-unchanged.txt"; exit 2; }
run_tests "$all" "$log/tests-unchanged.txt" ||
  { echo "the unchanged sources fail their tests: $log/tests-unchanged.txt"; exit 2; }
echo "unchanged sources: built and tested in $((SECONDS - start)) s"
for ((i = 0; i < count; i++)); do
  [[ -z $only || $only == *,$((i + 1)),* ]] || continue
  if (cd "$build" && ctest -R "${tests[i]}" -LE postgresql -N) | grep -q '^Total Tests: 0$'; then
    echo "entry $((i + 1)): no test matches ${tests[i]}" >&2
    exit 2
  fi
done

declare -A caught total
survived=0
broken=0
for ((i = 0; i < count; i++)); do
  n=$((i + 1))
  [[ -z $only || $only == *,$n,* ]] || continue
  area=${areas[i]}
  total[$area]=$((${total[$area]:-0} + 1))
  t0=$SECONDS
  cp "$tree/${files[i]}" "$work/original"
  if ! mutate "$tree/${files[i]}" "${finds[i]}" "${replaces[i]}" 2>"$log/$n.txt"; then
    printf '%3d  %-9s %-6s %s: %s\n' "$n" "STALE" "$area" "${files[i]}" "$(cat "$log/$n.txt")"
    broken=$((broken + 1))
    continue
  fi
  mutated=${files[i]}
  if ! build_copy "$log/$n.txt" "${tests[i]}"; then
    verdict="NO BUILD"
    broken=$((broken + 1))
  elif run_tests "${tests[i]}" "$log/$n.txt"; then
    verdict=SURVIVED
    survived=$((survived + 1))
  else
    verdict=caught
    caught[$area]=$((${caught[$area]:-0} + 1))
  fi
  restore
  printf '%3d  %-9s %-6s %s (%s s)\n' "$n" "$verdict" "$area" "${whats[i]}" $((SECONDS - t0))
done

# Back to the unchanged sources, so that the next run starts from them.
build_copy "$log/build-restored.txt" || true
(cd "$tree" && sha1sum --check --quiet <<<"$sums") || { echo "the copy was left changed" >&2; exit 2; }

echo
for area in $(printf '%s\n' "${!total[@]}" | sort); do
  c=${caught[$area]:-0}
  printf '%-6s %2d/%-2d caught (%d%%)\n' "$area" "$c" "${total[$area]}" $((100 * c / total[$area]))
done
echo "wall time: $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s; logs in $log"
((broken == 0)) || exit 2
((survived == 0)) || exit 1
