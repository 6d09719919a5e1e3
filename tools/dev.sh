#!/usr/bin/env bash
# Sets up a Debian/Ubuntu machine, builds Quillary and either starts it or runs the tests.
#   tools/dev.sh run    install what is missing, build, start the program
#   tools/dev.sh test   install what is missing, check the formatting, build, run the whole test suite
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLARY_BUILD_DIR:-$here/build}
packages=(build-essential cmake ninja-build pkg-config qtbase5-dev libqt5sql5-sqlite libqt5svg5-dev
          qttools5-dev-tools qttranslations5-l10n sqlite3 xvfb xauth xdotool xclip python3
          lintian bash-completion clang-format git libqt5sql5-psql postgresql postgresql-contrib)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# Every tracked C++ file as .clang-format lays it out; names the files that differ.
check_format() {
    local files differ=()
    files=$(git -C "$here" ls-files '*.cpp' '*.h')
    while IFS= read -r f; do
        [ -f "$here/$f" ] || continue # deleted in the working tree
        clang-format --dry-run --Werror "$here/$f" >/dev/null 2>&1 || differ+=("$f")
    done <<<"$files"
    [ ${#differ[@]} -eq 0 ] && return 0
    echo "Not formatted as .clang-format says (clang-format -i fixes them):" >&2
    printf '  %s\n' "${differ[@]}" >&2
    return 1
}

build() { # $@: the targets to build, all of them if none
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" ${1:+--target "$@"}
}

case "${1:-}" in
run)
    install_missing
    build quillary
    exec "$build/bin/quillary"
    ;;
test)
    install_missing
    check_format
    build
    cd "$build"
    # The end-to-end cases need a real X server and clipboard: give them one of their
    # own, and make a missing one (or a missing PostgreSQL server) a failure here rather than a quiet skip.
    QUILLARY_E2E_REQUIRED=1 QUILLARY_PG_REQUIRED=1 xvfb-run -a ctest --output-on-failure --timeout 600
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
