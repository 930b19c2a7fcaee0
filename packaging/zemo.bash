# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for zemo, the command-line tool of Zemoplan.
# The commands, their options and the arguments they take are read from the tool's own help
# ("zemo --help", "zemo COMMAND --help"), so a new command or option needs nothing here. Only
# the words an option's value may be, where the help names them in prose, are listed below.

# OPTION -> the words its value may be; fails for an option without such a list.
_zemo_values()
{
    case $1 in
        --item) echo "barcode user-code artist-code artist sale-date entry-date open-date" ;;
        --action) echo "none half shuffle-a shuffle-b shuffle-ab" ;;
        --encoding) echo "utf-8 cp932" ;;
        --age) echo "30 60 90 future" ;;
        *) return 1 ;;
    esac
}

# TOOL -> the commands that "zemo --help" lists, one a line.
_zemo_commands()
{
    "$1" --help 2>/dev/null | awk '
        /^commands:/ { on = 1; next }
        on && /^$/ { exit }
        on && /^  [a-z]/ { print $1 }'
}

# TOOL COMMAND -> "arg" when the command takes a file argument, then one line per option:
# the option, and after a blank the placeholder of its value when it takes one. Options come
# from the usage lines and from the first column of the option lines of "zemo COMMAND --help".
_zemo_syntax()
{
    "$1" "$2" --help 2>/dev/null | awk '
        function scan(text,   n, i, w, tok) {
            gsub(/[][(),]/, " ", text)
            n = split(text, w, " ")
            for (i = 1; i <= n; i++) {
                tok = w[i]
                if (tok !~ /^(-[a-zA-Z]|--[a-z][a-z0-9-]*)$/) continue
                if (!(tok in seen)) { seen[tok] = ""; order[++count] = tok }
                if (i < n && w[i + 1] ~ /^[A-Za-z0-9]/ && index(text, tok " " w[i + 1]))
                    seen[tok] = w[i + 1]
            }
        }
        /^usage:/ {
            usage = 1
            if ($4 != "" && $4 !~ /^[-[(]/) print "arg"
        }
        usage && /^$/ { usage = 0 }
        usage { scan($0); next }
        /^ +-/ {
            line = $0
            sub(/^ +/, "", line)
            if (match(line, /   */)) line = substr(line, 1, RSTART - 1)
            scan(line)
        }
        END { for (i = 1; i <= count; i++) print order[i] " " seen[order[i]] }'
}

_zemo_files()
{
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -f -- "$1")
}

_zemo_folders()
{
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$1")
}

_zemo_words() # WORDS CUR
{
    mapfile -t COMPREPLY < <(compgen -W "$1" -- "$2")
}

# OPTION PLACEHOLDER CUR: completes the value of an option.
_zemo_value()
{
    local words
    if words=$(_zemo_values "$1"); then
        _zemo_words "$words" "$3"
    elif [[ $2 == *"|"* ]]; then
        _zemo_words "${2//|/ }" "$3"
    elif [[ $2 == DIR ]]; then
        _zemo_folders "$3"
    elif [[ $2 == FILE || $2 == PATH || $2 == *.* ]]; then
        _zemo_files "$3"
    fi
}

_zemo()
{
    COMPREPLY=()
    local tool=${COMP_WORDS[0]} cword=$COMP_CWORD
    local cur=${COMP_WORDS[COMP_CWORD]}
    [[ $tool == "~/"* ]] && tool=$HOME/${tool#"~/"}

    if ((cword == 1)); then
        if [[ $cur == -* ]]; then
            _zemo_words "--help --version" "$cur"
        else
            _zemo_words "$(_zemo_commands "$tool")" "$cur"
        fi
        return
    fi

    local syntax
    syntax=$(_zemo_syntax "$tool" "${COMP_WORDS[1]}")
    if [[ -z $syntax ]]; then
        _zemo_files "$cur"
        return
    fi
    declare -A placeholder=()
    local takes_arg= option value
    while read -r option value; do
        if [[ $option == arg ]]; then
            takes_arg=1
        else
            placeholder[$option]=$value
        fi
    done <<<"$syntax"

    # --option=value: bash splits the word at "=".
    local before=${COMP_WORDS[cword - 1]}
    if [[ $cur == = && $before == -* && -n ${placeholder[$before]+set} ]]; then
        _zemo_value "$before" "${placeholder[$before]}" ""
        return
    fi
    if [[ $before == = ]] && ((cword >= 3)); then
        before=${COMP_WORDS[cword - 2]}
        if [[ $before == -* && -n ${placeholder[$before]} ]]; then
            _zemo_value "$before" "${placeholder[$before]}" "$cur"
            return
        fi
    elif [[ $before == -* && -n ${placeholder[$before]} ]]; then
        _zemo_value "$before" "${placeholder[$before]}" "$cur"
        return
    fi

    # The words so far: after "--" every one is a file; the file argument is the first word
    # that is neither an option nor an option's value.
    local i word args=0
    for ((i = 2; i < cword; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word == -- ]]; then
            _zemo_files "$cur"
            return
        elif [[ $word == -* ]]; then
            [[ -n ${placeholder[$word]} && ${COMP_WORDS[i + 1]} != = ]] && ((i++))
        elif [[ $word == = ]]; then
            ((i++))
        else
            ((args++))
        fi
    done
    if [[ $cur == -* ]]; then
        _zemo_words "${!placeholder[*]}" "$cur"
    elif [[ -n $takes_arg ]] && ((args == 0)); then
        _zemo_files "$cur"
    else
        _zemo_words "${!placeholder[*]}" "$cur"
    fi
}
complete -F _zemo zemo
