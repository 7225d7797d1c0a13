# bash completion for corvane-cli: its commands, each command's flags, and drive names from
# the drives it lists (test also takes device paths and image files).
_corvane_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} command="" flags drives i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        list | info | test | version)
            command=${COMP_WORDS[i]}
            break
            ;;
        esac
    done
    case $command in
    "")
        mapfile -t COMPREPLY < <(compgen -W "list info test version --help --version" -- "$cur")
        return
        ;;
    list) flags="--json --help" ;;
    info) flags="--json --help" ;;
    test) flags="--full --yes --format --allow-fixed --json --quiet --help" ;;
    *) flags="--help" ;;
    esac
    if [[ $cur == -* || $command == list || $command == version ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$flags" -- "$cur")
        return
    fi
    # The names as the program lists them, read from its JSON report.
    drives=$("${COMP_WORDS[0]}" list --json 2>/dev/null |
        sed -n 's/^ *"name": "\(.*\)",\{0,1\}$/\1/p')
    mapfile -t COMPREPLY < <(compgen -W "$drives" -- "$cur")
    if [[ $command == test ]]; then
        local files
        mapfile -t files < <(compgen -f -- "$cur")
        COMPREPLY+=("${files[@]}")
    fi
}
complete -F _corvane_cli corvane-cli
