#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it as a user gets it: lintian
# has nothing to say, and the program unpacked from it finds its data and completes.
#   test-package.sh CPACK BUILD_DIR
set -euo pipefail
cpack=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cpack" --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    fail "cpack"
}
deb=$(echo "$work"/quillary_*.deb)
# A warning fails as an error does: one that is right to accept gets an override with its reason.
lintian --fail-on error,warning "$deb" || fail "lintian"

root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/quillary
for data in new.db translations/Quillary_ru.qm Help_en/index.htm Help_ru/index.htm; do
    [ -f "$root/usr/share/quillary/$data" ] || fail "no usr/share/quillary/$data"
done
# A first use copies the starter database from the data folder into the documents folder.
mkdir "$work/home"
listed=$(env -u XDG_DOCUMENTS_DIR HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" "$program" --list) ||
    fail "--list on the starter database"
[ -n "$listed" ] || fail "the starter database has no phrases"

if [ -f /usr/share/bash-completion/bash_completion ]; then
    complete_line() { # $@: the words, the last one being completed
        (
            . /usr/share/bash-completion/bash_completion
            . "$root/usr/share/bash-completion/completions/quillary"
            COMP_WORDS=("$@")
            COMP_CWORD=$(($# - 1))
            COMP_LINE="$*"
            COMP_POINT=${#COMP_LINE}
            _quillary quillary "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
            echo "${COMPREPLY[*]}"
        )
    }
    # Every option of the help, and no other.
    known=$("$program" --help | grep -oE '^  (-[a-z], )?--[a-z-]+' | grep -oE -- '-{1,2}[a-z-]+' | sort)
    offered=$(complete_line quillary - | tr ' ' '\n' | sort)
    [ "$offered" = "$known" ] || fail "bash completes other options than --help names: ${offered//$'\n'/ }"
    [ "$(complete_line quillary --export="$work/hom")" = "$work/home" ] || fail "bash completes no file after --export="
fi
for option in $("$program" --help | grep -oE '^  (-[a-z], )?--[a-z-]+'); do
    grep -qE -- "['{,]${option%,}[=[},]" "$root/usr/share/zsh/vendor-completions/_quillary" ||
        fail "zsh does not complete ${option%,}"
done
echo "PASS: $(basename "$deb")"
