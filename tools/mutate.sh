#!/usr/bin/env bash
# Puts one deliberate fault at a time into a copy of the sources, rebuilds and runs the tests:
# a fault that no test notices (SURVIVED) points at a missing test.
set -euo pipefail

usage() {
    cat <<'EOF'
usage: tools/mutate.sh [-j N] [--e2e] [--keep] [--only NAME] [MUTANTS_FILE]

Each line of MUTANTS_FILE (default tools/mutants.txt) is one fault:
  file<TAB>text before<TAB>text after<TAB>name<TAB>unit|e2e<TAB>what a user would lose
fixed strings; the text before must occur exactly once in the file, else the line is stale.
A fault marked e2e is also run against the end-to-end tests, under xvfb-run.
Lines starting with # and blank lines are ignored.

  -j N         ninja jobs (default 2)
  --e2e        run the end-to-end tests for every fault
  --keep       keep the temporary source and build folders
  --only NAME  run only the mutation of that name
MUTATE_TEST_TIMEOUT (default 180) is the time limit, in seconds, of tests that set none.

The tracked files (as they are in the working tree) are copied to a temporary folder; the
working tree is never changed. Needs the packages tools/dev.sh installs; it installs nothing.
Exits 1 if any mutation survived, 2 on a usage error or a failing unmutated suite.
EOF
}

repo=$(cd "$(dirname "$0")/.." && pwd)
list=$repo/tools/mutants.txt
jobs=2 e2e=0 keep=0 only=""
timeout=${MUTATE_TEST_TIMEOUT:-180}
while [ $# -gt 0 ]; do
    case "$1" in
    -j) jobs=${2:?-j needs a number}; shift ;;
    --e2e) e2e=1 ;;
    --keep) keep=1 ;;
    --only) only=${2:?--only needs a name}; shift ;;
    -h | --help) usage; exit 0 ;;
    -*) usage >&2; exit 2 ;;
    *) list=$(realpath "$1") ;;
    esac
    shift
done
[ -f "$list" ] || { echo "no mutation list: $list" >&2; exit 2; }
if [ -n "$only" ] && ! cut -f4 "$list" | grep -qxF -- "$only"; then
    echo "no fault named $only in $list" >&2; exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quillary-mutate.XXXXXX")
src=$work/src build=$work/build log=$work/log
cleanup() { if [ "$keep" = 1 ]; then echo "kept: $work"; else rm -rf "$work"; fi; }
trap cleanup EXIT
mkdir -p "$src" "$log"
# Tracked files only, so that an old build folder or local scraps cannot hide a fault.
git -C "$repo" ls-files -z | (cd "$repo" && tar --null --ignore-failed-read -T - -cf -) | tar -xf - -C "$src"

run_tests() { # $1: log file, $2: 1 to include the end-to-end tests; prints the first failing test and case
    local args=(--timeout "$timeout" --stop-on-failure --output-on-failure) status=0 test case
    if [ "$2" = 1 ]; then
        # Others' xvfb-run -a start looking at :99 too; starting elsewhere avoids racing them for it.
        (cd "$build" && QT_QPA_PLATFORM=offscreen QUILLARY_E2E_REQUIRED=1 \
            xvfb-run -a -n "$((100 + $$ % 800))" ctest "${args[@]}") >"$1" 2>&1 || status=$?
    else
        (cd "$build" && QT_QPA_PLATFORM=offscreen ctest -LE e2e "${args[@]}") >"$1" 2>&1 || status=$?
    fi
    [ "$status" = 0 ] && return 0
    test=$(sed -n '/\*\*\*Skipped/d; s/^.*Test *#[0-9]*: \([^ ]*\) .*\*\*\*.*$/\1/p' "$1" | head -n 1)
    # Qt Test prints "FAIL!  : Class::case(row)", the end-to-end script "FAIL: case: why".
    case=$(sed -n 's/^FAIL!  : \([^( ]*\).*$/\1/p; s/^FAIL: \([^:]*\):.*$/\1/p' "$1" | head -n 1)
    echo "${test:-?}${case:+ ($case)}"
    return 1
}

echo "building the unmutated copy in $build"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >"$log/configure.log" 2>&1 ||
    { echo "configure failed, see $log/configure.log" >&2; keep=1; exit 2; }
cmake --build "$build" -j "$jobs" >"$log/baseline-build.log" 2>&1 ||
    { echo "the unmutated copy does not build, see $log/baseline-build.log" >&2; keep=1; exit 2; }
# Faults are only measured against a suite that passes without them.
if ! first=$(run_tests "$log/baseline-test.log" 1); then
    echo "the unmutated suite fails ($first), see $log/baseline-test.log" >&2; keep=1; exit 2
fi

killed=0 survived=0 unbuilt=0 stale=0 survivors=""
# Split by hand: read would merge the two TABs around an empty replacement.
while IFS= read -r -u 3 line || [ -n "$line" ]; do
    case "$line" in '' | '#'*) continue ;; esac
    tabs=${line//[!$'\t']/}
    file=${line%%$'\t'*} line=${line#*$'\t'}
    search=${line%%$'\t'*} line=${line#*$'\t'}
    replace=${line%%$'\t'*} line=${line#*$'\t'}
    name=${line%%$'\t'*} line=${line#*$'\t'}
    scope=${line%%$'\t'*} loss=${line#*$'\t'}
    [ -n "$only" ] && [ "$name" != "$only" ] && continue
    target=$src/$file content="" found=0
    if [ "${#tabs}" = 5 ] && [ -n "$search" ] && [ -f "$target" ]; then
        IFS= read -r -d '' content <"$target" || true
        without=${content//"$search"/}
        found=$(((${#content} - ${#without}) / ${#search}))
    fi
    if [ "$found" != 1 ]; then
        printf '%-34s stale (%s: search text found %s times)\n' "$name" "$file" "$found"
        stale=$((stale + 1)); continue
    fi
    cp -p "$target" "$work/original"
    printf '%s' "${content/"$search"/"$replace"}" >"$target"
    slug=${name//[^A-Za-z0-9_-]/_}
    if ! cmake --build "$build" -j "$jobs" >"$log/$slug.build.log" 2>&1; then
        printf '%-34s did not build\n' "$name"; unbuilt=$((unbuilt + 1))
    elif first=$(run_tests "$log/$slug.test.log" "$([ "$scope" = e2e ] && echo 1 || echo "$e2e")"); then
        printf '%-34s SURVIVED\n' "$name"; survived=$((survived + 1))
        survivors+="  $name: $loss"$'\n'
    else
        printf '%-34s killed by %s\n' "$name" "$first"; killed=$((killed + 1))
    fi
    # A fresh time stamp, so the next build compiles the restored file again.
    cp "$work/original" "$target"
done 3<"$list"

echo "caught $killed of $((killed + survived + unbuilt + stale)) (survived $survived, did not build $unbuilt, stale $stale)"
[ -n "$survivors" ] && printf 'faults no test caught:\n%s' "$survivors"
[ "$survived" = 0 ]
