# bash completion for quillary                             -*- shell-script -*-

_quillary()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --db | --import | --export | --init)
            _filedir
            return
            ;;
        --format)
            COMPREPLY=($(compgen -W 'txt ini' -- "$cur"))
            return
            ;;
        # Free text or a number: nothing sensible to offer.
        --find | --add | --text | --labels | --comment | --rating | --if-unchanged | \
            --limit | --print | --set | --delete)
            return
            ;;
        -h | --help | -v | --version)
            return
            ;;
    esac

    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '-h --help -v --version --find --list --count
            --json --null --limit --print --no-count --add --set --text --labels
            --comment --rating --if-unchanged --delete --import --export --format
            --init --db' -- "$cur"))
        return
    fi

    # The database the window opens.
    _filedir
} &&
    complete -F _quillary quillary

# ex: filetype=sh
