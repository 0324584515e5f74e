#!/usr/bin/env bash
# Checks of what `cmake --install` and the Debian package carry.
#   packaging_test.sh installed_tree|metainfo|desktop_entry|man_pages BUILD_DIR SOURCE_DIR
# Exit status 77: a checking tool is missing (the test is skipped).
set -euo pipefail
mode=$1 build=$2 source=$3
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || { echo "skipped: no $1" >&2; exit 77; }; }

# Width and height of a PNG from its IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }

case "$mode" in
installed_tree)
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  prefix=$work/prefix
  cmake --install "$build" --prefix "$prefix" >/dev/null
  for f in bin/velmoria bin/velmoria-drive bin/velmoria-frame libexec/velmoria/velmoria-demo-gen \
           share/applications/velmoria.desktop share/metainfo/org.velmoria.velmoria.metainfo.xml \
           share/icons/hicolor/scalable/apps/velmoria.svg; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
  done
  for size in 16 22 24 32 48 64 128 256 512; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/velmoria.png
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png")"
  done
  [ -d "$prefix/share/velmoria/translations" ] || fail "no translations folder"
  [ -s "$prefix/share/velmoria/translations/velmoria_en.qm" ] || fail "no English translation"
  for program in "$prefix"/bin/*; do
    name=$(basename "$program")
    [ -f "$prefix/share/man/man1/$name.1.gz" ] || fail "$name has no manual page"
  done

  export QT_QPA_PLATFORM=offscreen VELMORIA_MESSAGES=stderr ALSOFT_DRIVERS=null
  export SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0
  [ "$("$prefix/bin/velmoria" --version)" = "velmoria $version" ] || fail "velmoria --version"
  "$prefix/bin/velmoria-drive" --help >/dev/null || fail "velmoria-drive --help"

  # The installed program finds the installed generator and offers it (a headless run says
  # no), and writes nothing into its installation.
  mkdir -p "$work/empty" "$work/xdg"
  find "$prefix" | sort >"$work/before"
  status=0
  (cd "$work/empty" && XDG_DATA_HOME=$work/xdg/home XDG_DATA_DIRS=$work/xdg/system \
     "$prefix/bin/velmoria") 2>"$work/stderr" || status=$?
  [ "$status" = 1 ] || fail "velmoria in an empty folder ended with $status"
  grep -q '\[no\]' "$work/stderr" || fail "no demo offer: $(cat "$work/stderr")"
  find "$prefix" | sort >"$work/after"
  cmp -s "$work/before" "$work/after" || fail "the run wrote into the installation"
  # The installed program speaks English under an English locale.
  (cd "$work/empty" && env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=en_US.UTF-8 \
     XDG_CONFIG_HOME=$work/config "$prefix/bin/velmoria" --data .) 2>"$work/stderr" || true
  grep -q 'The program is not in the right place' "$work/stderr" ||
    fail "no English under LANG=en_US.UTF-8: $(cat "$work/stderr")"
  # Without the generator there is nothing to offer.
  rm "$prefix/libexec/velmoria/velmoria-demo-gen"
  (cd "$work/empty" && XDG_DATA_HOME=$work/xdg/home XDG_DATA_DIRS=$work/xdg/system \
     "$prefix/bin/velmoria") 2>"$work/stderr" || true
  ! grep -q '\[no\]' "$work/stderr" || fail "offered a generator that is not there"
  ;;
metainfo)
  need appstreamcli
  appstreamcli validate --no-net --pedantic "$build/packaging/org.velmoria.velmoria.metainfo.xml"
  ;;
desktop_entry)
  need desktop-file-validate
  out=$(desktop-file-validate "$source/app/desktop/velmoria.desktop" 2>&1) || fail "$out"
  [ -z "$out" ] || fail "$out"
  ;;
man_pages)
  need groff
  need man
  for page in "$build"/packaging/man/*.1; do
    warnings=$(LC_ALL=C.UTF-8 groff -man -K utf8 -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
  done
  # Every option a program's --help names is in its manual page.
  export ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
  for program in "$build/app/desktop/velmoria" "$build/app/drive/velmoria-drive"; do
    name=$(basename "$program")
    text=$(LC_ALL=C MANWIDTH=400 man -l "$build/packaging/man/$name.1" 2>/dev/null)
    for option in $("$program" --help | grep -o -E -- '--[a-z][a-z-]*' | sort -u); do
      grep -q -F -- "$option" <<<"$text" || fail "$name.1 does not describe $option"
    done
  done
  ;;
*)
  echo "usage: $0 installed_tree|metainfo|desktop_entry|man_pages BUILD_DIR SOURCE_DIR" >&2
  exit 2
  ;;
esac
echo "ok: $mode"
