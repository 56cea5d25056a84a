#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/captura.png, the screenshot of the README: the program on its
# bundled content in a 1024 x 768 X server of its own (Xvfb), played like a
# pupil with xdotool: a click past the splash, the exercise "10 B y V",
# two misspelt words of its first text corrected, a third word picked.
# Then docs/resultados.png: miravellon-resultados on a sample results folder
# of four pupils over three days, written here (one file cut short, as after
# a power cut, so that the note on skipped lines shows).
#
# Then the same program on three more screens, to see that nothing is cut,
# overlaps or blurs: docs/pantalla-1366x768.png, docs/pantalla-1920x1080.png
# and docs/pantalla-2560x1440-x2.png (QT_SCALE_FACTOR=2, as on a high-density
# screen). These are played from the keyboard, which needs no positions: the
# last exercise, a word picked with the arrows and Enter, a letter typed.
#
# Last docs/editor.png: miravellon-editor on a teacher's folder of its own
# holding one exercise that miravellon-crear writes, with a seed.
#
#     tools/screenshot.sh [build folder]     (default: build, built if needed)
#     SHOT=editor tools/screenshot.sh        (only the editor's)
#
# Needs the Debian packages xvfb, xauth, xdotool and imagemagick; installs
# those missing with apt-get, as tools/setup.sh does. The clicks of the README
# shot go to fixed positions of the 1024 x 768 screen; SHOT_STEPS=/tmp/paso
# also saves /tmp/paso-<word>.png after each correction, to adjust them when
# the layout or the text changes.
set -euo pipefail
cd "$(dirname "$0")/.."

width=1024
height=768

if [ "${1:-}" = --editor-inside-xvfb ]; then
    build=$2
    output=$3
    home=$(mktemp -d)
    trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$home"' EXIT
    exercise="$home/miravellon/Ejercicios/12 La granja"
    printf '%s\n' 'En la granja de mi abuela vive una {vaca|baca} blanca.' \
        'El burro bebe agua del río y las gallinas comen hierba.' \
        '¡Qué bonito es el campo en primavera!' |
        "$build/bin/miravellon-crear" --faltas 3 --semilla 12 "$exercise" >/dev/null
    XDG_DATA_HOME="$home" QT_QPA_PLATFORM=xcb "$build/bin/miravellon-editor" 2>/dev/null &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --pid "$pid" | head -n1)
    xdotool windowmove "$window" 0 0 windowsize "$window" "$width" "$height"
    sleep 2
    import -window root "$output"
    mogrify -strip "$output"
    echo "screenshot: $output"
    exit 0
fi

if [ "${1:-}" = --screen-inside-xvfb ]; then
    program=$2
    output=$3
    config=$(mktemp -d)   # the text size starts at the design's
    XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true; rm -rf "$config"' EXIT
    xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
    sleep 1
    read -r screen_width screen_height < <(xdotool getdisplaygeometry)
    xdotool mousemove $((screen_width / 2)) $((screen_height / 2)) click 1
    xdotool search --sync --onlyvisible --name '^MIRAVELLON$' >/dev/null
    sleep 1
    # The pointer out of the way, so that no tooltip covers the window.
    xdotool mousemove "$screen_width" "$screen_height"
    press() { xdotool key --delay 120 "$@"; sleep 0.5; }
    # Escape leaves the results log the start-up shows; the exercise text
    # has the focus, and the exercise list is five Tabs on. End chooses the
    # last exercise, whose text then takes the focus.
    press Escape
    press Tab Tab Tab Tab Tab
    press End
    sleep 1
    # Three words on with Control and the right arrow, picked with Enter; a
    # letter typed turns the word red.
    press ctrl+Right ctrl+Right ctrl+Right Return
    press x
    sleep 4   # the reward animation, if any, plays once
    import -window root "$output"
    mogrify -strip "$output"
    echo "screenshot: $output"
    exit 0
fi

if [ "${1:-}" = --inside-xvfb ]; then
    program=$2
    output=$3
    log=$(mktemp)
    QT_QPA_PLATFORM=xcb "$program" 2>"$log" &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true; rm -f "$log"' EXIT

    # The splash: a click anywhere on its picture.
    xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
    sleep 1
    xdotool mousemove $((width / 2)) $((height / 2)) click 1
    # The main window covers the screen from its top-left corner.
    xdotool search --sync --onlyvisible --name '^MIRAVELLON$' >/dev/null
    sleep 1

    # Positions in the main window at this screen size and with Liberation Sans
    # for Arial: the sixth exercise of the list (rows 18 pixels apart, the
    # first at y = 73), and words of its first text.
    click() { xdotool mousemove "$1" "$2" click 1; sleep 0.6; }
    correct() {  # $1 $2: where the word is; $3: its letters; $4: the correction
        click "$1" "$2"
        for _ in $(seq ${#3}); do xdotool key BackSpace; sleep 0.1; done
        xdotool type --delay 150 "$4"
        sleep 4   # the reward animation plays once
        if [ -n "${SHOT_STEPS:-}" ]; then import -window root "$SHOT_STEPS-$4.png"; fi
    }
    click 40 163                       # exercise "10 B y V"
    correct 548 82 baca vaca           # "...hay una baca blanca"
    correct 273 115 vurro burro        # "y negra, un vurro muy viejo"
    click 530 115                      # picks "cavras"
    sleep 1
    import -window root "$output"
    mogrify -strip "$output"   # no time stamps in the file
    echo "screenshot: $output"
    grep -E 'startup|cue' "$log" || true
    exit 0
fi

if [ "${1:-}" = --results-inside-xvfb ]; then
    program=$2
    output=$3
    scratch=$(mktemp -d)
    folder="$scratch/aula-3B/resultados"
    mkdir -p "$folder"
    trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
    header='fecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;palabras_con_fallo;ayuda;fallos'
    row() {  # $1 file, then the fields of the row
        local file="$folder/$1"
        shift
        [ -s "$file" ] || printf '\xef\xbb\xbf%s\r\n' "$header" >"$file"
        local IFS=';'
        printf '%s\r\n' "$*" >>"$file"
    }
    bv='10 B y V'
    may='01 A y a'
    hh='12 La H'
    row 2026-03-09_Ana-Ruiz_aula-pc01.csv 2026-03-09 10:05:12 'Ana Ruiz' "$bv" 1 sí sí 95 4 1 no 'vaca'
    row 2026-03-09_Ana-Ruiz_aula-pc01.csv 2026-03-09 10:09:40 'Ana Ruiz' "$bv" 2 sí no 260 5 2 sí 'burro cabras'
    row 2026-03-10_Ana-Ruiz_aula-pc03.csv 2026-03-10 10:02:03 'Ana Ruiz' "$hh" 1 sí sí 120 3 1 no 'hoy'
    row 2026-03-09_Bruno-Díaz_aula-pc02.csv 2026-03-09 10:04:55 'Bruno Díaz' "$bv" 1 sí sí 80 4 0 no ''
    row 2026-03-09_Bruno-Díaz_aula-pc02.csv 2026-03-09 10:08:21 'Bruno Díaz' "$may" 1 no no 140 1 2 no 'Madrid. Juan'
    row 2026-03-11_Bruno-Díaz_aula-pc02.csv 2026-03-11 10:15:00 'Bruno Díaz' "$hh" 2 sí no 300 4 3 sí 'hoy hierba huevo'
    row 2026-03-10_Carla-Gómez_aula-pc04.csv 2026-03-10 10:03:30 'Carla Gómez' "$bv" 1 sí sí 70 4 1 no 'vaca'
    row 2026-03-10_Carla-Gómez_aula-pc04.csv 2026-03-10 10:07:45 'Carla Gómez' "$bv" 2 sí sí 150 5 1 no 'cabras'
    row 2026-03-11_Daniel-Sanz_aula-pc05.csv 2026-03-11 10:01:10 'Daniel Sanz' "$bv" 1 sí no 210 4 2 sí 'vaca burro'
    row 2026-03-11_Daniel-Sanz_aula-pc05.csv 2026-03-11 10:06:02 'Daniel Sanz' "$may" 1 sí sí 90 3 1 no 'Madrid.'
    printf '2026-03-11;10:09:00;Daniel Sanz;06 B' >>"$folder/2026-03-11_Daniel-Sanz_aula-pc05.csv"

    QT_QPA_PLATFORM=xcb "$program" "$folder" 2>/dev/null &
    pid=$!
    xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
    sleep 2
    import -window root "$output"
    mogrify -strip "$output"
    echo "screenshot: $output"
    exit 0
fi

build=${1:-build}
program="$build/bin/miravellon"
output=docs/captura.png

missing=()
for tool in xvfb-run:xvfb xauth:xauth xdotool:xdotool import:imagemagick; do
    command -v "${tool%%:*}" >/dev/null 2>&1 || missing+=("${tool##*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    echo "Installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ ! -x "$program" ]; then
    [ "$build" = build ] || { echo "no program in $build/bin" >&2; exit 1; }
    tools/build.sh
fi

mkdir -p docs
if [ "${SHOT:-}" != editor ]; then
    xvfb-run -a -s "-screen 0 ${width}x${height}x24" "$0" --inside-xvfb "$program" "$output"
    for screen in 1366x768:1 1920x1080:1 2560x1440:2; do
        size=${screen%%:*}
        scale=${screen##*:}
        name=docs/pantalla-$size.png
        [ "$scale" = 1 ] || name=docs/pantalla-$size-x$scale.png
        QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 ${size}x24" "$0" --screen-inside-xvfb "$program" "$name"
    done
    xvfb-run -a -s "-screen 0 ${width}x${height}x24" "$0" --results-inside-xvfb "$build/bin/miravellon-resultados" \
        docs/resultados.png
fi
xvfb-run -a -s "-screen 0 ${width}x${height}x24" "$0" --editor-inside-xvfb "$build" docs/editor.png
