# bash completion for merovan
_merovan() {
    local current previous
    current=${COMP_WORDS[COMP_CWORD]}
    previous=${COMP_WORDS[COMP_CWORD-1]}
    local before=${COMP_WORDS[COMP_CWORD-2]:-}
    local requests="--text-report --table-report --swot-picture --tows-picture --strategy-picture --export --import --compare"
    # A comparison takes the older version, the newer one, then its output.
    local third=${COMP_WORDS[COMP_CWORD-3]:-}
    if [[ $previous == --compare || $before == --compare ]]; then
        _filedir swot
        return
    fi
    if [[ $third == --compare ]]; then
        _filedir '@(json|html|odt|docx|pdf)'
        return
    fi
    # The word after a request names the project; the next one its output.
    case $previous in
    --text-report | --table-report | --swot-picture | --tows-picture | --strategy-picture | --export)
        _filedir swot
        return
        ;;
    --import)
        _filedir '@(json|csv)'
        return
        ;;
    esac
    case $before in
    --text-report)
        _filedir '@(sxw|doc|pdf|odt|docx)'
        return
        ;;
    --table-report)
        _filedir '@(sxc|xls|pdf|ods|xlsx)'
        return
        ;;
    --swot-picture | --tows-picture | --strategy-picture)
        _filedir '@(svg|png)'
        return
        ;;
    --export)
        _filedir '@(json|csv)'
        return
        ;;
    --import)
        _filedir swot
        return
        ;;
    esac
    if [[ $current == -* ]]; then
        if ((COMP_CWORD == 1)); then
            mapfile -t COMPREPLY < <(compgen -W "-n --help --version $requests" -- "$current")
        else
            mapfile -t COMPREPLY < <(compgen -W "$requests" -- "$current")
        fi
        return
    fi
    ((COMP_CWORD == 1)) && _filedir swot
}
complete -F _merovan merovan
