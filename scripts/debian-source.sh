#!/usr/bin/env bash
# Debian's own source packages, for the libraries the Windows and web builds make themselves.
#
#   scripts/debian-source.sh versions NAME...   one line per NAME: "NAME VERSION..." newest first
#   scripts/debian-source.sh fetch NAME VERSION...
#                                               downloads the first VERSION listed that the
#                                               mirrors serve (the security suite may list one it
#                                               does not) and prints "VERSION FOLDER"; the folder
#                                               holds the upstream tarball and is kept for the
#                                               next build
#   scripts/debian-source.sh unpack FOLDER DEST  unpacks the upstream tarball fetch left in
#                                               FOLDER into DEST (Debian's patches are packaging)
#
# A private apt configuration asks only the machine's own mirrors (its source list with deb-src
# entries; no host name is written here), and the lists and downloads live in a cache outside
# the tree (UNDERTOW_SOURCE_CACHE, default ~/.cache/undertow-sources). Progress goes to stderr.
set -euo pipefail

cache=${UNDERTOW_SOURCE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/undertow-sources}
apt_dir=$cache/apt

log() { echo "debian-source: $*" >&2; }

# The configuration, written afresh each time so it follows the machine's sources.
configure() {
  mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  local sources=$apt_dir/parts/undertow-src.sources file
  : >"$sources.new"
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -e "$file" ]] || continue
    sed -E 's/^Types:.*/Types: deb-src/' "$file" >>"$sources.new"
    echo >>"$sources.new"
  done
  mv "$sources.new" "$sources"
  if [[ -f /etc/apt/sources.list ]]; then
    sed -nE 's/^deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"$apt_dir/parts/undertow-src.list"
  fi
  apt_opts=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$apt_dir/parts"
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache")
  # apt's download sandbox user cannot write into a root's home folder.
  [[ $(id -u) -ne 0 ]] || apt_opts+=(-o APT::Sandbox::User=root)
}

# The source lists, fetched again once a day.
update_lists() {
  if [[ -z "$(find "$apt_dir/lists" -maxdepth 1 -name '*Sources*' -mmin -1440 2>/dev/null)" ]]; then
    log "updating the source lists"
    apt-get "${apt_opts[@]}" update -qq >&2
  fi
}

versions() {
  local name listed
  for name in "$@"; do
    mapfile -t listed < <(apt-cache "${apt_opts[@]}" showsrc "$name" | sed -n 's/^Version: //p' | sort -rV -u)
    [[ ${#listed[@]} -gt 0 ]] || { log "no source package $name in the machine's apt sources"; return 1; }
    echo "$name ${listed[*]}"
  done
}

fetch() {
  local name=$1 version folder
  shift
  for version in "$@"; do
    folder=$cache/$name/$version
    if [[ -f "$folder/.complete" ]]; then
      echo "$version $folder"
      return 0
    fi
    rm -rf "$folder"
    mkdir -p "$folder"
    log "downloading $name $version"
    if (cd "$folder" && apt-get "${apt_opts[@]}" source --download-only -qq "$name=$version" >&2); then
      touch "$folder/.complete"
      echo "$version $folder"
      return 0
    fi
    log "$name $version is listed but not served; trying an older one"
    rm -rf "$folder"
  done
  log "cannot download the source of $name"
  return 1
}

# Unpacks the upstream tarball of a downloaded source package.
unpack() {
  local folder=$1 dest=$2 tarball
  tarball=$(ls "$folder"/*.orig.tar.* | grep -v '\.asc$' | head -n1)
  rm -rf "$dest"
  mkdir -p "$dest"
  tar -xf "$tarball" -C "$dest" --strip-components=1
}

command=${1:-}
shift || true
if [[ "$command" == unpack ]]; then
  unpack "$@"
  exit 0
fi
mkdir -p "$cache"
configure
# One apt at a time on the shared cache: the Windows and web builds may run side by side.
exec 9>"$cache/.lock"
flock 9
case "$command" in
  versions) update_lists; versions "$@" ;;
  fetch) update_lists; fetch "$@" ;;
  *) echo "usage: $0 versions NAME... | fetch NAME VERSION... | unpack FOLDER DEST" >&2; exit 2 ;;
esac
