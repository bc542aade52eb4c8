# Bash completion for orvano-cli: commands, each command's options, town
# names and the values of --format. The commands and options are read from
# the tool's own help, so that they never fall behind it.

_orvano_cli_towns() {
    # The towns of the file the line names with --config, else the default one.
    local tool=$1 config= i
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == --config ]]; then
            config=${COMP_WORDS[i + 1]}
        fi
    done
    local args=(towns --names)
    [[ -n $config ]] && args+=(--config "${config/#\~/$HOME}")
    local name part lower=${2,,}
    while IFS= read -r name; do
        # A name several towns share comes as Country/Name; either part may be typed.
        part=${name#*/}
        part=${part,,}
        if [[ ${name,,} == "$lower"* || $part == "$lower"* ]]; then
            COMPREPLY+=("$(printf '%q' "$name")")
        fi
    done < <("$tool" "${args[@]}" 2>/dev/null)
}

_orvano_cli_commands() {
    local tool=$1 cur=$2 commands
    shift 2
    commands=$("$tool" --help 2>/dev/null |
        awk '/^Commands:/ { list = 1; next } list && /^  [a-z]/ { print $1 }')
    mapfile -t COMPREPLY < <(compgen -W "$commands $*" -- "$cur")
}

_orvano_cli() {
    local tool=$1 cur=${COMP_WORDS[COMP_CWORD]} prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()

    if ((COMP_CWORD == 1)); then
        _orvano_cli_commands "$tool" "$cur" --help --version
        return
    fi

    local command=${COMP_WORDS[1]}
    case $prev in
        --town)
            _orvano_cli_towns "$tool" "$cur"
            return ;;
        --format)
            mapfile -t COMPREPLY < <(compgen -W "csv ics" -- "$cur")
            return ;;
        --high-latitude)
            mapfile -t COMPREPLY < <(compgen -W "seventh middle angle none" -- "$cur")
            return ;;
        --hijri-adjust)
            mapfile -t COMPREPLY < <(compgen -W "-2 -1 0 1 2" -- "$cur")
            return ;;
        --config | --settings | --timetable)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return ;;
        --out)
            compopt -o filenames 2>/dev/null
            if [[ $command == calendar ]]; then
                mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            else
                mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            fi
            return ;;
    esac
    if [[ $command == help ]]; then
        ((COMP_CWORD == 2)) && _orvano_cli_commands "$tool" "$cur"
        return
    fi
    # An option that takes a value shows it in the help as "--name VALUE".
    local line option options=
    while IFS= read -r line; do
        option=${line%% *}
        options+=" ${option//,/ }"
        if [[ $prev == "$option" && $line =~ ^--[a-z-]+\ [^\ ] ]]; then
            return  # a value no list can offer (a date, a number)
        fi
    done < <("$tool" "$command" --help 2>/dev/null | sed -n 's/^  \(-[^ ]*\( [^ ]*\)\?\).*/\1/p')
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
}

complete -F _orvano_cli orvano-cli
