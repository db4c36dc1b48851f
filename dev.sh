#!/usr/bin/env bash
# Tovanix developer entry point.
#   ./dev.sh test   install what is missing, build both presets, run every test
#   ./dev.sh run    build, then start Tovanix beside the stand-in chat client
#   ./dev.sh setup  only install what is missing and prepare SQLite
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
BUILD=$ROOT/build

APT_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  libsqlite3-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
  wine wine64 xvfb xauth x11-utils imagemagick
  fonts-wqy-zenhei locales tcl xz-utils dpkg-dev python3
)

log() { printf '== %s\n' "$*" >&2; }

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo "$@"; else "$@"; fi
  else
    "$@"
  fi
}

ensure_deb_src() {
  # The cross build compiles SQLite from Debian's own source package.
  if grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ 2>/dev/null ||
     grep -qs '^deb-src' /etc/apt/sources.list 2>/dev/null; then
    return 1
  fi
  local src=/etc/apt/sources.list.d/debian.sources
  local suite=bookworm comp=main uri=http://deb.debian.org/debian
  if [ -f "$src" ]; then
    uri=$(awk '/^URIs:/{print $2; exit}' "$src")
    suite=$(awk '/^Suites:/{print $2; exit}' "$src")
    comp=$(awk '/^Components:/{print $2; exit}' "$src")
  fi
  log "adding a deb-src entry for $suite/$comp"
  need_root tee /etc/apt/sources.list.d/tovanix-src.sources >/dev/null <<SRC
Types: deb-src
URIs: $uri
Suites: $suite
Components: $comp
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  return 0
}

ensure_packages() {
  local missing=()
  for p in "${APT_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  local src_added=0
  ensure_deb_src && src_added=1
  if [ ${#missing[@]} -gt 0 ] || [ $src_added -eq 1 ]; then
    log "installing: ${missing[*]:-(sources only)}"
    need_root apt-get update -q
    [ ${#missing[@]} -gt 0 ] && need_root env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    log "generating the zh_CN.UTF-8 locale"
    need_root sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | need_root tee -a /etc/locale.gen >/dev/null
    need_root locale-gen >/dev/null
  fi
}

ensure_sqlite_amalgamation() {
  # Generated once into the build tree; later builds reuse it.
  local out=$BUILD/sqlite
  [ -f "$out/sqlite3.c" ] && [ -f "$out/sqlite3.h" ] && return 0
  log "generating the SQLite amalgamation from Debian's source package"
  local work=$BUILD/sqlite-src
  rm -rf "$work" && mkdir -p "$work" "$out"
  (cd "$work" && apt-get source --download-only -q sqlite3 >/dev/null)
  local tarball
  tarball=$(ls "$work"/sqlite3_*.orig.tar.* | head -n 1)
  tar -xf "$tarball" -C "$work"
  local dir
  dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)
  (cd "$dir" && ./configure -q >/dev/null && make -s sqlite3.c >/dev/null)
  cp "$dir/sqlite3.c" "$dir/sqlite3.h" "$out/"
  rm -rf "$work"
}

configure_and_build() {
  cmake --preset host >/dev/null
  cmake --build --preset host
  cmake --preset windows >/dev/null
  cmake --build --preset windows
}

cmd_test() {
  ensure_packages
  ensure_sqlite_amalgamation
  configure_and_build
  local rc=0
  log "host tests"
  ctest --preset host || rc=1
  log "windows tests (under the Wine bed)"
  ctest --preset windows || rc=1
  return $rc
}

cmd_run() {
  ensure_packages
  ensure_sqlite_amalgamation
  configure_and_build
  exec "$ROOT/tests/bed/show.sh" "$BUILD/windows"
}

case "${1:-}" in
  test) cmd_test ;;
  run) cmd_run ;;
  setup) ensure_packages; ensure_sqlite_amalgamation ;;
  *) echo "usage: $0 test|run" >&2; exit 2 ;;
esac
