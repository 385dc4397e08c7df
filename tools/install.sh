#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the built plug-in, its manual and tools for the current user, without root:
#   tools/install.sh [--vst-dir DIR] [--build-dir DIR]     install (again)
#   tools/install.sh --uninstall                           remove exactly what was installed
# The module goes to --vst-dir, else the first folder of $VST_PATH, else ~/.vst; the manual to
# $XDG_DATA_HOME/doc/orvane; the tools to ~/.local/bin; the LV2, VST3 and CLAP plug-ins, when
# built, to ~/.lv2, ~/.vst3 and ~/.clap.
# Each is copied beside its place and renamed into it, so installing again never leaves it
# missing or half written; a link in its place is replaced, never written through. What it
# installs and every folder it creates are listed in a manifest; uninstalling removes those and
# nothing else (a link, never what it points to), so settings and ECS files stay.
set -euo pipefail

usage() { # usage STATUS: the header comment, on stdout when asked for, else on stderr
    local text
    text="$(sed -n '3,12p' "$0" | sed 's/^# \{0,1\}//')"
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
# The manifest's place does not follow XDG_DATA_HOME, which may differ when uninstalling;
# earlier installs kept it under $XDG_DATA_HOME, so it is looked for there too.
manifest="$HOME/.local/share/orvane/install-manifest"
manifests=("$manifest")
[ "$data_home" = "$HOME/.local/share" ] || manifests+=("$data_home/orvane/install-manifest")

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

# The entries of every manifest found, "KIND<tab>PATH" a line: f a file and b a bundle folder,
# each removed whole; d a folder made for them, removed once empty.
recorded() {
    local file
    for file in "${manifests[@]}"; do
        if [ -f "$file" ]; then cat -- "$file"; fi
    done
}

# Whether PATH lies inside one of the folders (a list, one a line) that has become a link.
behind_link() { # behind_link PATH FOLDERS
    local dir
    while IFS= read -r dir; do
        if [ -n "$dir" ] && [ -L "$dir" ]; then
            case "$1" in "$dir"/*) return 0 ;; esac
        fi
    done <<<"$2"
    return 1
}

# Removes the files and bundles among the entries. A link in their place is removed, never
# followed, and nothing is removed through one of the entries' folders that became a link.
remove_items() { # remove_items ENTRIES
    local kind path dirs
    dirs="$(grep $'^d\t' <<<"$1" | cut -f2-)" || true
    while IFS=$'\t' read -r kind path; do
        if [ -z "$path" ] || behind_link "$path" "$dirs"; then continue; fi
        if [ -L "$path" ] || { [ "$kind" = f ] && [ -f "$path" ]; }; then
            rm -f -- "$path"
        elif [ "$kind" = b ] && [ -d "$path" ]; then
            rm -rf -- "$path"
        fi
    done <<<"$1"
}

# The entries' folders that are left empty, deepest first.
remove_empty_dirs() { # remove_empty_dirs ENTRIES
    local path
    while IFS= read -r path; do
        if [ -n "$path" ]; then rmdir -- "$path" 2>/dev/null || true; fi
    done <<<"$(grep $'^d\t' <<<"$1" | cut -f2- | sort -r)"
}

if [ "$mode" = uninstall ]; then
    entries="$(recorded)"
    [ -n "$entries" ] || { echo "Nothing to uninstall (no $manifest)."; exit 0; }
    remove_items "$entries"
    rm -f -- "${manifests[@]}"
    remove_empty_dirs "$entries"
    echo "Orvane removed; settings and ECS files are kept."
    exit 0
fi

if [ -z "$vst_dir" ] && [ -n "${VST_PATH:-}" ]; then vst_dir="${VST_PATH%%:*}"; fi
[ -n "$vst_dir" ] || vst_dir="$HOME/.vst"
case "$vst_dir" in /*) ;; *) vst_dir="$PWD/$vst_dir" ;; esac

# What is installed, one line each: whether the build must have made it, the file or bundle
# folder in the build, and its place.
targets=()
target() { targets+=("$1"$'\t'"$2"$'\t'"$3"); }
target required Orvane.so "$vst_dir/Orvane.so"
target required docs/manual/HK_Orvane_Manual.pdf "$data_home/doc/orvane/HK_Orvane_Manual.pdf"
target required orvane-render "$HOME/.local/bin/orvane-render"
target required orvane-probe "$HOME/.local/bin/orvane-probe"
target optional Orvane.lv2 "$HOME/.lv2/Orvane.lv2"
target optional Orvane.vst3 "$HOME/.vst3/Orvane.vst3"
target optional Orvane.clap "$HOME/.clap/Orvane.clap"

for entry in "${targets[@]}"; do
    IFS=$'\t' read -r need source _ <<<"$entry"
    [ "$need" = optional ] || [ -e "$build_dir/$source" ] ||
        die "$build_dir/$source is missing; build first: cmake --build $build_dir"
done

previous="$(recorded)"
listing="$(mktemp)"
stage=""
complete=""

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

# The previous install's entries that this one did not put anew, in place or around them.
left_over() {
    local kind path put_kind put_path covered
    while IFS=$'\t' read -r kind path; do
        [ -n "$path" ] || continue
        covered=""
        while IFS=$'\t' read -r put_kind put_path; do
            [ "$put_kind" = d ] && continue
            case "$path" in "$put_path" | "$put_path"/*) covered=1 ;; esac
        done < "$listing"
        [ -n "$covered" ] || printf '%s\t%s\n' "$kind" "$path"
    done <<<"$previous"
}

# Runs also when a step fails: the manifest then lists this install's part and what is left of
# the previous one, so --uninstall can undo either; the previous install's other places go
# only once this one is complete.
finish() {
    [ -z "$stage" ] || rm -rf -- "$stage"
    previous="$(left_over)"
    [ -z "$complete" ] || remove_items "$previous"
    make_dirs "$(dirname "$manifest")"
    { cat -- "$listing"; [ -z "$previous" ] || printf '%s\n' "$previous"; } |
        while IFS=$'\t' read -r kind path; do
            if [ -e "$path" ] || [ -L "$path" ]; then printf '%s\t%s\n' "$kind" "$path"; fi
        done | sort -u > "$manifest.new"
    mv -T -- "$manifest.new" "$manifest"
    rm -f -- "$listing"
    for file in "${manifests[@]}"; do
        [ "$file" = "$manifest" ] || rm -f -- "$file"
    done
    remove_empty_dirs "$previous"
}
trap finish EXIT

# Copies SOURCE into a folder beside PLACE, then renames it into PLACE: a file replaces the old
# one in one step; a bundle folder right after the old one is moved aside (Linux renames a
# folder only over an empty one). A link in the place is replaced, never followed.
put() { # put SOURCE PLACE
    local source="$1" place="$2" kind=f
    [ -d "$source" ] && kind=b
    make_dirs "$(dirname "$place")"
    stage="$(mktemp -d "$(dirname "$place")/.orvane-install-XXXXXX")"
    cp -RL -- "$source" "$stage/new"
    chmod -R u=rwX,go=rX -- "$stage/new"
    if [ "$kind" = b ] && { [ -e "$place" ] || [ -L "$place" ]; }; then
        mv -T -- "$place" "$stage/old"
    fi
    if ! mv -T -- "$stage/new" "$place"; then
        if [ -e "$stage/old" ] || [ -L "$stage/old" ]; then mv -T -- "$stage/old" "$place"; fi
        die "cannot put $place in place"
    fi
    printf '%s\t%s\n' "$kind" "$place" >> "$listing"
    rm -rf -- "$stage"
    stage=""
}

for entry in "${targets[@]}"; do
    IFS=$'\t' read -r _ source place <<<"$entry"
    if [ -e "$build_dir/$source" ]; then put "$build_dir/$source" "$place"; fi
done
complete=1
echo "Orvane installed:"
grep -v $'^d\t' "$listing" | cut -f2- | sed 's/^/  /'
case ":$PATH:" in *":$HOME/.local/bin:"*) ;; *) echo "Note: $HOME/.local/bin is not on your PATH." ;; esac
