#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks Miravellon as a Linux distribution installs it.
#
#   packaging_test.sh install <build dir> <cmake>
#       cmake --install into a scratch folder: the layout, the .desktop and
#       AppStream files of the program and of the editor (desktop-file-validate,
#       appstreamcli), the icons, and the four commands started through their
#       links on the PATH.
#   packaging_test.sh deb <build dir> <cpack>
#       cpack builds the Debian package; its control fields; its Depends
#       against the libraries the programs link and the plugins they load;
#       the package unpacked into a scratch root and the program started there
#       on its installed content.
#
# The program is started offscreen with MIRAVELLON_STARTUP_CHECK=1, which makes
# it go past its splash, load the first text and end, logging what it read.
set -uo pipefail

mode=${1:?mode: install or deb}
build=${2:?build dir}
tool=${3:?cmake or cpack}

app_id=es.miravellon.Miravellon
appdir=usr/lib/miravellon
icon_sizes=(16 22 24 32 48 64 128 256)

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
need() { command -v "$1" >/dev/null 2>&1 || { echo "FAIL: $1 is not installed (tools/setup.sh installs it)" >&2; exit 1; }; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The teacher's and the school's exercise folders of the machine running the
# test (~/.local/share/miravellon, /usr/share/miravellon...) stay out of it.
mkdir -p "$scratch/xdg-data-home" "$scratch/xdg-data-dirs"
export XDG_DATA_HOME="$scratch/xdg-data-home" XDG_DATA_DIRS="$scratch/xdg-data-dirs"

# Starts the installed program through its link on the PATH, from a folder that
# holds no content, and checks that it listed the installed exercises and read
# a text. $1: the root the package is installed in.
start_installed_program() {
    local root=$1 log="$scratch/startup.log"
    local expected
    expected=$(find "$root/$appdir/Ejercicios" -mindepth 1 -maxdepth 1 -type d | wc -l)
    mkdir -p "$scratch/elsewhere"
    (cd "$scratch/elsewhere" &&
        env PATH="$root/usr/bin:/usr/bin:/bin" QT_QPA_PLATFORM=offscreen \
            QT_LOGGING_RULES='miravellon.*=true' QT_DEBUG_PLUGINS=1 MIRAVELLON_STARTUP_CHECK=1 \
            timeout 60 miravellon) >"$scratch/stdout.log" 2>"$log"
    local rc=$?
    local line
    line=$(grep -F 'startup check:' "$log")
    local pattern='startup check: ([0-9]+) exercises in (.*) and ([0-9]+) words in the first text$'
    if [ $rc -eq 0 ] && [[ "$line" =~ $pattern ]] && [ "${BASH_REMATCH[1]}" = "$expected" ] &&
        [ "${BASH_REMATCH[2]}" = "$root/$appdir" ] && [ "${BASH_REMATCH[3]}" -gt 0 ] && [ "$expected" -gt 0 ]; then
        pass "the installed program started from the PATH on $root/$appdir: ${line#*: }"
    else
        fail "the installed program did not start on its installed content (exit $rc, expected $expected exercises in $root/$appdir):"
        cat "$log" >&2
    fi
    # The plugins it loaded, for the dependency check.
    sed -n 's/^qt.core.library: "\(.*\)" loaded library$/\1/p' "$log" >"$scratch/plugins.txt"
}

# Starts the installed teacher's view through its link on the PATH on a folder
# holding one results file, and checks that it read the row. $1: the root.
start_results_view() {
    local root=$1 folder="$scratch/resultados" log="$scratch/view.log"
    mkdir -p "$folder" "$scratch/elsewhere"
    printf '\xef\xbb\xbffecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;palabras_con_fallo;ayuda;fallos\r\n2026-03-09;10:00:00;Ana;01 Animales;1;s\xc3\xad;s\xc3\xad;30;2;0;no;\r\n' \
        >"$folder/2026-03-09_Ana_pc.csv"
    (cd "$scratch/elsewhere" &&
        env PATH="$root/usr/bin:/usr/bin:/bin" QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='miravellon.*=true' \
            MIRAVELLON_STARTUP_CHECK=1 timeout 60 miravellon-resultados "$folder") >/dev/null 2>"$log"
    local rc=$?
    if [ $rc -eq 0 ] && grep -q "startup check: 1 rows and 0 skipped lines in $folder" "$log"; then
        pass "the installed miravellon-resultados read a results folder"
    else
        fail "the installed miravellon-resultados did not read a results folder (exit $rc):"
        cat "$log" >&2
    fi
}

# Checks one installed menu entry: $1 the root, $2 its file name, $3 the
# command it starts.
check_desktop_entry() {
    local root=$1 name=$2 command=$3
    local desktop="$root/usr/share/applications/$name"
    if desktop-file-validate "$desktop"; then
        pass "desktop-file-validate accepts $name"
    else
        fail "desktop-file-validate rejects $name"
    fi
    grep -qx 'Categories=Education;.*' "$desktop" || fail "$name is not in the Education category"
    grep -qx 'Name\[es\]=.*' "$desktop" || fail "$name has no Spanish name"
    grep -qx 'Comment\[es\]=.*' "$desktop" || fail "$name has no Spanish comment"
    grep -qx "Icon=$app_id" "$desktop" || fail "$name does not name the installed icon"
    local exec
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ "$exec" = "$command" ] || fail "$name starts '$exec', not $command"
    [ -x "$root/usr/bin/$exec" ] || fail "$name starts '$exec', which is not in usr/bin"
}

# A menu entry and its software-centre entry under the root $1, for the
# application id $2 started by the command $3: the entry as above, and the
# metainfo valid (appstreamcli), in Spanish, launching the entry.
check_entries() {
    local root=$1 id=$2 command=$3
    check_desktop_entry "$root" "$id.desktop" "$command"

    local metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
    if appstreamcli validate --no-net --strict "$metainfo"; then
        pass "appstreamcli validates $id.metainfo.xml"
    else
        fail "appstreamcli rejects $id.metainfo.xml"
    fi
    grep -q '<summary xml:lang="es">' "$metainfo" || fail "$id.metainfo.xml has no Spanish summary"
    grep -q '<p xml:lang="es">' "$metainfo" || fail "$id.metainfo.xml has no Spanish description"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "$id.metainfo.xml does not launch $id.desktop"
}

# The installed editor under the root $1 starts (offscreen, stopped after a
# few seconds) with a teacher's folder of its own.
start_installed_editor() {
    local root=$1
    mkdir -p "$scratch/editor-home"
    (cd "$scratch" && env PATH="$root/usr/bin:/usr/bin:/bin" QT_QPA_PLATFORM=offscreen \
        XDG_DATA_HOME="$scratch/editor-home" timeout 5 miravellon-editor) >"$scratch/editor.log" 2>&1
    local rc=$?
    # 124: still running when stopped, as a window waiting for its teacher is.
    if [ $rc -eq 124 ]; then
        pass "the installed miravellon-editor starts from the PATH"
    else
        fail "the installed miravellon-editor ended with $rc: $(cat "$scratch/editor.log")"
    fi
    rm -rf "$scratch/editor-home"
}

# Checks the installed files under the root $1 (the same for both ways of
# installing).
check_tree() {
    local root=$1
    for command in miravellon miravellon-comprobar miravellon-crear miravellon-resultados miravellon-editor; do
        local link="$root/usr/bin/$command"
        if [ -L "$link" ] && [ "$(readlink "$link")" = "../lib/miravellon/$command" ] &&
            [ -x "$(readlink -f "$link")" ]; then
            pass "usr/bin/$command is a relative link to $appdir/$command"
        else
            fail "usr/bin/$command is not a relative link to an executable $appdir/$command"
        fi
    done
    for item in Ejercicios Graficos gifs sonidos fondo.gif; do
        [ -e "$root/$appdir/$item" ] || fail "$appdir/$item is missing: the content must lie beside the program"
    done
    # The program's and the editor's menu and software-centre entries, and
    # the teacher's view of the results in the same category.
    check_entries "$root" "$app_id" miravellon
    check_entries "$root" es.miravellon.Editor miravellon-editor
    check_desktop_entry "$root" es.miravellon.Resultados.desktop miravellon-resultados
    appstreamcli validate-tree --no-net "$root" || fail "appstreamcli rejects the installed tree"
    start_installed_editor "$root"

    local before=$failures
    for n in "${icon_sizes[@]}"; do
        local png="$root/usr/share/icons/hicolor/${n}x${n}/apps/$app_id.png"
        # The width and height of a PNG are the two big-endian words after "IHDR".
        local size
        size=$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null | awk '{print ($1*16777216+$2*65536+$3*256+$4) "x" ($5*16777216+$6*65536+$7*256+$8)}')
        [ "$size" = "${n}x${n}" ] || fail "icon ${n}x${n}: found '${size:-nothing}'"
    done
    grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" 2>/dev/null ||
        fail "the scalable icon is missing"
    [ $failures -eq "$before" ] && pass "icons at ${icon_sizes[*]} and scalable"

    local report
    report=$(cd "$scratch" && env PATH="$root/usr/bin:/usr/bin:/bin" miravellon-comprobar)
    local rc=$?
    if [ $rc -eq 0 ] && grep -q '^0 errores' <<<"$(tail -n1 <<<"$report")"; then
        pass "miravellon-comprobar from the PATH checks the installed content: $(tail -n1 <<<"$report")"
    else
        fail "miravellon-comprobar on the installed content: exit $rc, $(tail -n1 <<<"$report")"
    fi

    # miravellon-crear makes an item from a text in a scratch exercise folder.
    local made
    made=$(cd "$scratch" && printf 'Una {vaca|baca} come hierba en el prado.\n' |
        env PATH="$root/usr/bin:/usr/bin:/bin" miravellon-crear --faltas 1 --familia bv --semilla 1 "$scratch/crear/Mi ejercicio")
    rc=$?
    if [ $rc -eq 0 ] && grep -q '^línea 1: vaca → baca$' <<<"$made" &&
        [ "$(tail -c 2 "$scratch/crear/Mi ejercicio/correcto/1.txt" | od -An -tx1 | xargs)" = '0d 0a' ] &&
        [ -f "$scratch/crear/Mi ejercicio/incorrecto/1.txt" ]; then
        pass "miravellon-crear from the PATH writes an item: $(tr '\n' ' ' <<<"$made")"
    else
        fail "miravellon-crear from the PATH did not write an item (exit $rc): $made"
    fi
    rm -rf "$scratch/crear"
}

# The package of an installed file, following the merged /usr of Debian 12
# (libraries found in /usr/lib are registered under /lib and the other way).
package_of() {
    local file
    file=$(readlink -f "$1")
    local alt=${file#/usr}
    [ "$alt" = "$file" ] && alt=/usr$file
    { dpkg -S "$file" 2>/dev/null || dpkg -S "$alt" 2>/dev/null; } | head -n1 | cut -d: -f1
}

case "$mode" in
install)
    need desktop-file-validate
    need appstreamcli
    root="$scratch/root"
    if DESTDIR="$root" "$tool" --install "$build" --prefix /usr >"$scratch/install.log" 2>&1; then
        pass "cmake --install into a scratch folder"
    else
        cat "$scratch/install.log" >&2
        fail "cmake --install failed"
    fi
    check_tree "$root"
    start_installed_program "$root"
    start_results_view "$root"
    ;;
deb)
    need desktop-file-validate
    need appstreamcli
    need dpkg-deb
    need dpkg-shlibdeps
    if (cd "$scratch" && "$tool" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out") >"$scratch/cpack.log" 2>&1; then
        pass "cpack built $(cd "$scratch/out" && ls ./*.deb)"
    else
        cat "$scratch/cpack.log" >&2
        fail "cpack failed"
        exit 1
    fi
    deb=$(ls "$scratch"/out/*.deb)
    field() { dpkg-deb -f "$deb" "$1"; }

    # Debian's own checks of a package: a copyright file, a changelog, a
    # manual page for each command, and the rest of the policy.
    need lintian
    if lintian_out=$(lintian --fail-on error,warning "$deb" 2>&1); then
        pass "lintian finds no error and no warning"
    else
        fail "lintian:"
        printf '%s\n' "$lintian_out" >&2
    fi
    [ "$(field Package)" = miravellon ] || fail "Package is '$(field Package)'"
    [ "$(field Section)" = education ] || fail "Section is '$(field Section)'"
    [ -n "$(field Maintainer)" ] || fail "the package has no maintainer"
    depends=$(field Depends)
    echo "Depends: $depends"

    # Every dependency is a Debian package installed here, at a version that
    # satisfies the package's constraint.
    declare -A depended=()
    IFS=',' read -ra clauses <<<"$depends"
    for clause in "${clauses[@]}"; do
        clause=$(xargs <<<"$clause")
        name=${clause%% *}
        depended[$name]=1
        installed=$(dpkg-query -W -f='${Status} ${Version}' "$name" 2>/dev/null)
        if [[ "$installed" != "install ok installed "* ]]; then
            fail "dependency $name is not an installed Debian package"
            continue
        fi
        version=${installed##* }
        if [[ "$clause" =~ \(([<>=]+)\ (.*)\) ]]; then
            op=${BASH_REMATCH[1]}
            want=${BASH_REMATCH[2]}
            case "$op" in '>=') op=ge ;; '<=') op=le ;; '=') op=eq ;; '>>') op=gt ;; '<<') op=lt ;; esac
            dpkg --compare-versions "$version" "$op" "$want" || fail "$name $version does not satisfy $clause"
        fi
    done

    root="$scratch/root"
    dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
    check_tree "$root"

    # Every library the installed programs link comes from a package the
    # Debian package depends on.
    before=$failures
    for binary in "$root/$appdir/miravellon" "$root/$appdir/miravellon-comprobar" "$root/$appdir/miravellon-crear" \
        "$root/$appdir/miravellon-resultados" "$root/$appdir/miravellon-editor"; do
        for lib in $(objdump -p "$binary" | awk '/NEEDED/ {print $2}'); do
            path=$(ldconfig -p | awk -v lib="$lib" '$1 == lib && /x86-64/ {print $NF; exit}')
            package=$(package_of "$path")
            if [ -z "$package" ] || [ -z "${depended[$package]:-}" ]; then
                fail "$(basename "$binary") links $lib from '${package:-no package}', which is not in Depends"
            fi
        done
    done
    [ $failures -eq "$before" ] && pass "every linked library comes from a package in Depends"

    start_installed_program "$root"
    start_results_view "$root"
    # Every plugin the program loaded comes from a package in Depends.
    before=$failures
    [ -s "$scratch/plugins.txt" ] || fail "no loaded plugin was reported"
    while read -r plugin; do
        package=$(package_of "$plugin")
        if [ -z "$package" ] || [ -z "${depended[$package]:-}" ]; then
            fail "the program loaded $plugin from '${package:-no package}', which is not in Depends"
        fi
    done <"$scratch/plugins.txt"
    [ $failures -eq "$before" ] &&
        pass "every loaded plugin comes from a package in Depends: $(xargs -n1 basename <"$scratch/plugins.txt" | xargs)"
    grep -q "^fonts-liberation" <<<"$(tr ',' '\n' <<<"$depends" | xargs -n1)" ||
        fail "fonts-liberation (the Arial of the windows) is not in Depends"
    ;;
*)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
