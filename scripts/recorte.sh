# Sourced by the screenshot scripts: recorte ID... prints the rectangle that holds all the
# windows given, as ImageMagick's -crop takes it (WIDTHxHEIGHT+X+Y).
recorte() {
    local x0=1000000 y0=1000000 x1=0 y1=0 X Y WIDTH HEIGHT WINDOW SCREEN
    for id in "$@"; do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        ((X < x0)) && x0=$X
        ((Y < y0)) && y0=$Y
        ((X + WIDTH > x1)) && x1=$((X + WIDTH))
        ((Y + HEIGHT > y1)) && y1=$((Y + HEIGHT))
    done
    echo "$((x1 - x0))x$((y1 - y0))+$x0+$y0"
}
