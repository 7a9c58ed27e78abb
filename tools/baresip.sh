# Shell helpers for baresip softphones, sourced by tools/sip_callers.sh (`make sip`) and
# tests/sip/sip_calls_test.sh. Each softphone lives in a folder of its own: its config,
# its accounts, and heard/ with what it heard (sndfile), its microphone a WAV file.

# Waits up to <seconds> for an extended regular expression in a file.
wait_for() {  # <pattern> <seconds> <file>
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do
        grep -qE "$1" "$3" 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}

# Writes a softphone's folder; the account lines are baresip's (`<sip:201@host>;...`).
baresip_folder() {  # <folder> <sip port> <control port> <microphone wav> <account lines...>
    local dir=$1 port=$2 ctrl=$3 mic=$4
    shift 4
    mkdir -p "$dir/heard"
    {
        printf 'sip_listen 127.0.0.1:%s\n' "$port"
        printf 'audio_player aubridge,%s\naudio_source aufile,%s\naudio_alert aubridge,alert\n' \
            "$(basename "$dir")" "$mic"
        printf 'module_path /usr/lib/baresip/modules\n'
        printf 'module %s\n' g711.so aufile.so aubridge.so sndfile.so
        printf 'module_app %s\n' account.so menu.so ctrl_tcp.so
        printf 'snd_path %s/heard\nctrl_tcp_listen 127.0.0.1:%s\n' "$dir" "$ctrl"
    } >"$dir/config"
    printf '%s\n' "$@" >"$dir/accounts"
    : >"$dir/contacts"
}

# Starts the softphone of a folder in the background, its log in <folder>/baresip.log.
baresip_start() {  # <folder>
    baresip -n 127.0.0.1 -f "$1" </dev/null >"$1/baresip.log" 2>&1 &
}

# One command over a softphone's control connection (netstrings of JSON).
baresip_do() {  # <control port> <command> <parameters>
    local cmd="{\"command\":\"$2\",\"params\":\"$3\",\"token\":\"$2\"}"
    exec 6<>"/dev/tcp/127.0.0.1/$1" && printf '%d:%s,' "${#cmd}" "$cmd" >&6
    exec 6>&-
}
