#!/usr/bin/env bash
# Installs the build into temporary prefixes and checks what a user meets:
#   user     a prefix in the user's home: layout, validators, first start,
#            install twice keeps the user's file, uninstall keeps user data
#   system   a root-owned prefix, read-only to a normal user who runs it
#   package  the .deb installed with apt, run by a normal user, removed
# Usage: install_test.sh user|system|package BUILD_DIR SOURCE_DIR
set -euo pipefail
mode=$1 build=$2 source=$3
work=$(mktemp -d /tmp/orvano-install-XXXXXX)
chmod 755 "$work"
manifest="$build/install_manifest.txt"
saved=""
cleanup() {
  # The developer's own install manifest is put back.
  if [ -n "$saved" ]; then mv "$saved" "$manifest"; elif [ -f "$work/no-manifest" ]; then rm -f "$manifest"; fi
  rm -rf "$work"
}
trap cleanup EXIT
if [ -f "$manifest" ]; then saved="$work/manifest.saved"; cp "$manifest" "$saved"; else touch "$work/no-manifest"; fi

fail() { echo "FAIL: $*" >&2; exit 1; }
check_file() { [ -f "$1" ] || fail "missing $1"; }

# The files every install holds, relative to its prefix.
installed_files() {
  echo bin/orvano bin/orvano-cli bin/orvano-today lib/orvano/libTodayOrvano.so
  echo share/orvano/data.cfg share/orvano/gazetteer.tsv share/orvano/help.html share/orvano/helpen.html
  echo share/orvano/methods/orvano.methods
  echo share/applications/org.orvano.Orvano.desktop share/applications/org.orvano.Orvano.Today.desktop
  echo share/metainfo/org.orvano.Orvano.metainfo.xml share/icons/hicolor/scalable/apps/org.orvano.Orvano.svg
  for s in 16 22 24 32 48 64 128 256; do echo share/icons/hicolor/${s}x${s}/apps/org.orvano.Orvano.png; done
  echo share/man/man1/orvano.1 share/man/man1/orvano-cli.1 share/man/man1/orvano-today.1
  echo share/doc/orvano/copyright
}

validate() {
  local prefix=$1
  for f in "$prefix"/share/applications/org.orvano.Orvano*.desktop; do
    desktop-file-validate "$f" || fail "desktop-file-validate $f"
  done
  appstreamcli validate --no-net "$prefix/share/metainfo/org.orvano.Orvano.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate"
  # Each catalogue's translations merged in, the French ones as they always read.
  grep -qx 'Comment\[fr\]=Heures des prières, position du Soleil et Qibla pour une ville' \
    "$prefix/share/applications/org.orvano.Orvano.desktop" || fail "no French comment in the entry"
  grep -q '^GenericName\[tr\]=Namaz Vakitleri$' "$prefix/share/applications/org.orvano.Orvano.desktop" ||
    fail "no Turkish name in the entry"
  grep -q '^Comment\[bn\]=' "$prefix/share/applications/org.orvano.Orvano.Today.desktop" ||
    fail "no Bengali comment in the strip's entry"
  grep -q '<summary xml:lang="ms">Waktu solat' "$prefix/share/metainfo/org.orvano.Orvano.metainfo.xml" ||
    fail "no Malay summary in the metainfo"
  for m in "$prefix"/share/man/man1/orvano*.1; do
    [ -e "$m" ] || continue  # a system that leaves manual pages out
    [ -z "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$m" 2>&1 >/dev/null)" ] || fail "man warnings in $m"
  done
}

# A normal user to run the programs as (CI runs as root, which ignores permissions).
normal_user() {
  if [ "$(id -u)" -ne 0 ]; then echo "SKIP: needs root to run as a normal user" >&2; exit 77; fi
  id orvano-test >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin orvano-test
  home="$work/home"
  mkdir -p "$home"
  chown orvano-test: "$home"
}
as_user() {
  runuser -u orvano-test -- env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen "$@"
}

# What a first start of each program makes, run as the normal user from `bin`.
first_start() {
  local bin=$1 share=$2
  as_user "$bin/orvano-cli" times >"$work/times.txt" || fail "orvano-cli times as a user"
  grep -q '^Algiers, Algeria' "$work/times.txt" || fail "unexpected times: $(cat "$work/times.txt")"
  cmp -s "$home/.config/orvano/data.cfg" "$share/data.cfg" || fail "no copy of data.cfg in the user's home"
  [ "$(stat -c %U "$home/.config/orvano/data.cfg")" = orvano-test ] || fail "data.cfg not the user's"
  as_user "$bin/orvano-cli" read >/dev/null || fail "orvano-cli read as a user"
  check_file "$home/.local/state/orvano/read_echo.cfg"
  as_user "$bin/orvano" --render 0 --png "$home/page.png" || fail "orvano --render as a user"
  check_file "$home/page.png"
  as_user "$bin/orvano-today" --silent --boxes-to-stderr --exit-after 1500 2>"$work/today.err" ||
    fail "orvano-today as a user: $(cat "$work/today.err")"
  grep -q 'Software\\Microsoft\\Today\\Items\\Orvano' "$home/.config/orvano/settings.ini" ||
    fail "the strip made no settings key"
}

case $mode in
user)
  home="$work/home" prefix="$work/home/.local"
  mkdir -p "$home"
  run() { env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME -u ORVANO_AUTOSTART_DIR HOME="$home" "$@"; }
  run "$source/tools/install-prefix" install "$build" "$prefix" >/dev/null
  for f in $(installed_files); do check_file "$prefix/$f"; done
  for b in bin/orvano bin/orvano-cli bin/orvano-today lib/orvano/libTodayOrvano.so; do
    ! readelf -S "$prefix/$b" | grep -Eq '\.(symtab|debug_info)' || fail "$b is not stripped"
  done
  autostart="$home/.config/autostart/org.orvano.Orvano.Today.desktop"
  check_file "$autostart"
  grep -qx "Exec=$prefix/bin/orvano-today" "$autostart" || fail "autostart Exec: $(cat "$autostart")"
  validate "$prefix"
  [ ! -e "$home/.config/orvano" ] || fail "installing made user files"
  # The manual names every command the tool has, and every option of each.
  page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$prefix/share/man/man1/orvano-cli.1" 2>/dev/null)
  commands=$(run "$prefix/bin/orvano-cli" --help | sed -n '/^Commands:/,$p' | awk 'NR > 1 && NF { print $1 }')
  [ -n "$commands" ] || fail "orvano-cli --help lists no commands"
  for c in $commands; do
    grep -Eq "^       $c( |$)" <<<"$page" || fail "orvano-cli(1) lacks the command $c"
    for o in $(run "$prefix/bin/orvano-cli" help "$c" | grep -Eo '^  (-h,)?--[a-z-]+' | sed 's/.*--/--/'); do
      [ "$o" = --help ] || grep -Fq -- "$o" <<<"$page" || fail "orvano-cli(1) lacks $c $o"
    done
  done

  run "$prefix/bin/orvano-cli" times >/dev/null
  cmp -s "$home/.config/orvano/data.cfg" "$prefix/share/orvano/data.cfg" || fail "no first-start copy"
  echo "mine" >"$home/.config/orvano/data.cfg"
  run cmake --install "$build" --prefix "$prefix" >/dev/null
  [ "$(cat "$home/.config/orvano/data.cfg")" = mine ] || fail "install twice replaced the user's data.cfg"

  # A second prefix, none of whose folders exist yet, is kept apart from the first.
  second="$work/elsewhere/opt/orvano-second"
  run "$source/tools/install-prefix" install "$build" "$second" >/dev/null
  run "$source/tools/install-prefix" uninstall "$build" "$prefix" >/dev/null
  for f in $(installed_files); do [ ! -e "$prefix/$f" ] || fail "uninstall left $f"; done
  for f in $(installed_files); do check_file "$second/$f"; done
  run "$source/tools/install-prefix" uninstall "$build" "$second" >/dev/null
  [ ! -e "$work/elsewhere" ] || fail "uninstall left folders it made: $(find "$work/elsewhere" | head -5)"
  for d in bin lib share; do [ ! -e "$prefix/$d" ] || fail "uninstall left the empty $d"; done
  [ ! -e "$autostart" ] || fail "uninstall left the autostart entry"
  [ ! -e "$prefix/share/orvano" ] && [ ! -e "$prefix/lib/orvano" ] || fail "uninstall left a folder"
  [ "$(cat "$home/.config/orvano/data.cfg")" = mine ] || fail "uninstall touched the user's data.cfg"
  ;;
system)
  normal_user
  prefix="$work/usr-local"
  ORVANO_AUTOSTART_DIR="$work/xdg-autostart" cmake --install "$build" --prefix "$prefix" >/dev/null
  chmod -R go-w "$prefix"
  first_start "$prefix/bin" "$prefix/share/orvano"
  [ -z "$(find "$prefix" -newer "$manifest" -print -quit)" ] || fail "a run wrote under the prefix"
  # A data.cfg the user cannot read is reported and kept as it is.
  user_cfg="$home/.config/orvano/data.cfg"
  chmod 000 "$user_cfg"
  status=0
  as_user "$prefix/bin/orvano-cli" times >/dev/null 2>"$work/err" || status=$?
  [ $status -eq 1 ] && grep -q "File open error: $user_cfg" "$work/err" || fail "unreadable data.cfg: $status $(cat "$work/err")"
  [ "$(stat -c %a "$user_cfg")" = 0 ] && cmp -s "$user_cfg" "$prefix/share/orvano/data.cfg" ||
    fail "the unreadable data.cfg was changed"
  # No folder for it at all: one message, then the installed file, read-only.
  as_user env XDG_CONFIG_HOME=/proc/orvano "$prefix/bin/orvano-cli" times >"$work/times.txt" 2>"$work/err" ||
    fail "no configuration folder: $(cat "$work/err")"
  [ "$(cat "$work/err")" = "orvano-cli: Cannot create /proc/orvano/orvano/data.cfg: No such file or directory; using $prefix/share/orvano/data.cfg read-only" ] ||
    fail "message without a configuration folder: $(cat "$work/err")"
  grep -q '^Algiers, Algeria' "$work/times.txt" || fail "not run on the installed file"
  # A prefix that is neither the user's nor /usr or /usr/local keeps its
  # autostart entry under itself, never in the machine's /etc/xdg.
  system_entry=/etc/xdg/autostart/org.orvano.Orvano.Today.desktop
  before=$(stat -c %Y "$system_entry" 2>/dev/null || echo none)
  opt="$work/opt"
  env -u ORVANO_AUTOSTART_DIR cmake --install "$build" --prefix "$opt" >/dev/null
  grep -qx "Exec=$opt/bin/orvano-today" "$opt/etc/xdg/autostart/org.orvano.Orvano.Today.desktop" ||
    fail "no autostart entry under the prefix $opt"
  [ "$(stat -c %Y "$system_entry" 2>/dev/null || echo none)" = "$before" ] ||
    fail "an install to $opt wrote $system_entry"
  ;;
package)
  if [ "${ORVANO_TEST_PACKAGE:-}" != 1 ]; then
    echo "SKIP: installs into the system; run with ORVANO_TEST_PACKAGE=1 after make package" >&2
    exit 77
  fi
  normal_user
  deb=$(ls "$build"/package/orvano_*.deb 2>/dev/null | head -n1)
  [ -n "$deb" ] || fail "no package in $build/package (make package)"
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -q "$deb" >"$work/apt.log" 2>&1 || fail "apt install: $(tail -5 "$work/apt.log")"
  dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }' >"$work/content.txt"
  for f in $(installed_files); do grep -qx "/usr/$f" "$work/content.txt" || fail "package lacks /usr/$f"; done
  grep -qx /etc/xdg/autostart/org.orvano.Orvano.Today.desktop "$work/content.txt" || fail "no autostart entry"
  maintainer=$(dpkg-deb -f "$deb" Maintainer)
  named='^[^<>]+ <[^@ <>]+@[^@ <>]+[.][^@ <>]+>$'
  [[ $maintainer =~ $named ]] && [[ $maintainer != *@localhost* ]] || fail "Maintainer: $maintainer"
  ls "$build"/package/orvano-dbgsym_*.ddeb >/dev/null 2>&1 || fail "no orvano-dbgsym package"
  zcat -f /usr/share/doc/orvano/copyright | head -1 |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "no machine-readable copyright file"
  dpkg -L orvano | sort >"$work/files.txt"
  validate /usr
  first_start /usr/bin /usr/share/orvano
  apt-get remove --purge -y -q orvano >"$work/apt.log" 2>&1 || fail "apt remove"
  while read -r f; do [ -d "$f" ] || [ ! -e "$f" ] || fail "left after removal: $f"; done <"$work/files.txt"
  ;;
*) fail "unknown mode $mode" ;;
esac
echo "install test $mode: passed"
