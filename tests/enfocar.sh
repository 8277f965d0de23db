# Sourced by the window tests: enfocar TITLE [TRIES] [PAUSE] gives the keyboard to the visible
# window of that title once it has appeared, trying every tenth of a second; windows that come
# and go meanwhile (pop-ups) only make it try again. PAUSE lets the window settle after.
enfocar() {
    local intentos=${2:-200} pausa=${3:-0.3} id
    for _ in $(seq "$intentos"); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
        if [ -n "$id" ] && xdotool windowfocus --sync "$id" 2>/dev/null; then
            sleep "$pausa"
            return 0
        fi
        sleep 0.1
    done
    echo "no apareció la ventana $1"
    return 1
}
