#!/usr/bin/env bash
# Installs the built plug-in, its manual and tools for the current user, without root:
#   tools/install.sh [--vst-dir DIR] [--build-dir DIR]     install (again)
#   tools/install.sh --uninstall                           remove exactly what was installed
# The module goes to --vst-dir, else the first folder of $VST_PATH, else ~/.vst; the manual to
# $XDG_DATA_HOME/doc/orvane; the tools to ~/.local/bin; built LV2/VST3 bundles to ~/.lv2, ~/.vst3.
# Every file and every folder it creates is listed in a manifest; uninstalling removes those and
# nothing else, so settings and ECS files stay.
set -euo pipefail

usage() { # usage STATUS: the header comment, on stdout when asked for, else on stderr
    local text
    text="$(sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//')"
    if [ "$1" -eq 0 ]; then echo "$text"; else echo "$text" >&2; fi
    exit "$1"
}

die() {
    echo "install.sh: $*" >&2
    exit 1
}

[ -n "${HOME:-}" ] && [ "${HOME:0:1}" = / ] || die "HOME must be an absolute path"
data_home="$HOME/.local/share"
if [ -n "${XDG_DATA_HOME:-}" ] && [ "${XDG_DATA_HOME:0:1}" = / ]; then data_home="$XDG_DATA_HOME"; fi
manifest="$data_home/orvane/install-manifest"

source_root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="$source_root/build-release"
vst_dir=""
mode=install
while [ $# -gt 0 ]; do
    case "$1" in
        --vst-dir) [ $# -ge 2 ] || usage 2; vst_dir="$2"; shift 2 ;;
        --vst-dir=*) vst_dir="${1#*=}"; shift ;;
        --build-dir) [ $# -ge 2 ] || usage 2; build_dir="$2"; shift 2 ;;
        --build-dir=*) build_dir="${1#*=}"; shift ;;
        --uninstall) mode=uninstall; shift ;;
        -h|--help) usage 0 ;;
        *) echo "install.sh: unknown argument '$1'" >&2; usage 2 ;;
    esac
done

uninstall() {
    [ -f "$manifest" ] || { echo "Nothing to uninstall (no $manifest)."; return 0; }
    local kind path dirs
    while IFS=$'\t' read -r kind path; do
        if [ "$kind" = f ] && { [ -f "$path" ] || [ -L "$path" ]; }; then rm -f -- "$path"; fi
    done < "$manifest"
    dirs="$(grep $'^d\t' "$manifest" | cut -f2- | sort -r)" || true
    rm -f -- "$manifest"
    # Then the folders this script made, deepest first, and only those left empty.
    while IFS= read -r path; do
        [ -n "$path" ] && rmdir -- "$path" 2>/dev/null || true
    done <<<"$dirs"
    echo "Orvane removed; settings and ECS files are kept."
}

if [ "$mode" = uninstall ]; then
    uninstall
    exit 0
fi

if [ -z "$vst_dir" ] && [ -n "${VST_PATH:-}" ]; then vst_dir="${VST_PATH%%:*}"; fi
[ -n "$vst_dir" ] || vst_dir="$HOME/.vst"
case "$vst_dir" in /*) ;; *) vst_dir="$PWD/$vst_dir" ;; esac

module="$build_dir/Orvane.so"
manual="$build_dir/docs/manual/HK_Orvane_Manual.pdf"
for needed in "$module" "$manual" "$build_dir/orvane-render" "$build_dir/orvane-probe"; do
    [ -e "$needed" ] || die "$needed is missing; build first: cmake --build $build_dir"
done

# A second install replaces the first, wherever that one went.
uninstall >/dev/null
listing="$(mktemp)"

# Creates the folders of a path one by one, recording those that did not exist.
make_dirs() {
    local dir="$1" missing=()
    while [ ! -d "$dir" ]; do
        missing=("$dir" "${missing[@]}")
        dir="$(dirname "$dir")"
    done
    for dir in "${missing[@]}"; do
        mkdir -- "$dir"
        printf 'd\t%s\n' "$dir" >> "$listing"
    done
}

# The manifest is written last, also when a step fails, so --uninstall can undo any part.
finish() {
    make_dirs "$(dirname "$manifest")"
    mv -- "$listing" "$manifest"
}
trap finish EXIT

put() { # put MODE SOURCE TARGET
    make_dirs "$(dirname "$3")"
    install -m "$1" -- "$2" "$3"
    printf 'f\t%s\n' "$3" >> "$listing"
}

put 0644 "$module" "$vst_dir/Orvane.so"
put 0644 "$manual" "$data_home/doc/orvane/HK_Orvane_Manual.pdf"
put 0755 "$build_dir/orvane-render" "$HOME/.local/bin/orvane-render"
put 0755 "$build_dir/orvane-probe" "$HOME/.local/bin/orvane-probe"
for bundle in Orvane.lv2:.lv2 Orvane.vst3:.vst3; do # bundle:folder under $HOME
    [ -d "$build_dir/${bundle%%:*}" ] || continue
    (cd "$build_dir" && find "${bundle%%:*}" -type f) | sort | while IFS= read -r file; do
        perm=0644
        [ -x "$build_dir/$file" ] && perm=0755
        put "$perm" "$build_dir/$file" "$HOME/${bundle#*:}/$file"
    done
done
echo "Orvane installed:"
echo "  plug-in  $vst_dir/Orvane.so"
[ -d "$build_dir/Orvane.lv2" ] && echo "  LV2      $HOME/.lv2/Orvane.lv2"
[ -d "$build_dir/Orvane.vst3" ] && echo "  VST3     $HOME/.vst3/Orvane.vst3"
echo "  manual   $data_home/doc/orvane/HK_Orvane_Manual.pdf"
echo "  tools    $HOME/.local/bin/orvane-render, orvane-probe"
case ":$PATH:" in *":$HOME/.local/bin:"*) ;; *) echo "Note: $HOME/.local/bin is not on your PATH." ;; esac
