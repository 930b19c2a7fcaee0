#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what a user gets there: the file list, the
# desktop entry, the AppStream metadata and the manual pages under their validators, the manual
# pages against the programs' own help, and the installed desktop program's help and folder.
#   install_tree_test.sh BUILD_DIR WITH_GUI(0|1)
set -eu
build=$1
gui=$2
tmp=$(mktemp -d "${TMPDIR:-/tmp}/zemo-install-XXXXXX")
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 || {
  cat "$tmp/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
}

# The file list.
{
  echo bin/zemo
  echo share/bash-completion/completions/zemo
  echo share/doc/zemoplan/copyright
  echo share/man/man1/zemo.1.gz
  if [ "$gui" = 1 ]; then
    echo bin/zemoplan
    echo share/applications/zemoplan.desktop
    echo share/icons/hicolor/scalable/apps/zemoplan.svg
    echo share/man/man1/zemoplan.1.gz
    echo share/metainfo/org.zemoplan.zemoplan.metainfo.xml
    echo share/zemoplan/translations/zemoplan_en.qm
  fi
} | LC_ALL=C sort >"$tmp/expected"
(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$tmp/actual"
diff -u "$tmp/expected" "$tmp/actual" >&2 || fail "the installed files differ (- expected, + installed)"

for tool in appstreamcli desktop-file-validate man; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup installs it)"
done

# The manual pages: shown without warnings, with the version of the programs, naming every command
# and every option that the programs' help names.
version=$("$prefix/bin/zemo" --version | sed 's/^zemo //')
man_text() { # PAGE -> rendered text; fails on any warning
  LC_ALL=C MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$1.1.gz" >"$tmp/$1.txt" 2>"$tmp/$1.err" ||
    fail "man $1 failed"
  if [ -s "$tmp/$1.err" ]; then
    cat "$tmp/$1.err" >&2
    fail "man $1 warns"
  fi
  grep -q "Zemoplan $version" "$tmp/$1.txt" || fail "$1(1) does not carry the version $version"
}
options_of() { # help text on stdin -> its options, one a line
  grep -o -- '--[a-z][a-z0-9-]*\|^ *-[a-zA-Z]\b' | sed 's/^ *//' | sort -u
}
check_options() { # PAGE HELPFILE
  for option in $(options_of <"$2"); do
    grep -q -- "$option" "$tmp/$1.txt" || fail "$1(1) does not name $option"
  done
}
man_text zemo
"$prefix/bin/zemo" --help >"$tmp/zemo.help"
check_options zemo "$tmp/zemo.help"
grep -q '/usr/share/bash-completion/completions/zemo' "$tmp/zemo.txt" || fail "zemo(1) does not name its bash completion"
for command in $(sed -n '/^commands:/,/^$/s/^  \([a-z]*\) .*/\1/p' "$tmp/zemo.help"); do
  grep -q "^   $command\$" "$tmp/zemo.txt" || fail "zemo(1) has no section for $command"
  "$prefix/bin/zemo" "$command" --help >"$tmp/zemo-$command.help" || fail "zemo $command --help"
  check_options zemo "$tmp/zemo-$command.help"
done
[ "$(grep -c '^   [a-z]*$' "$tmp/zemo.txt")" = "$(sed -n '/^commands:/,/^$/p' "$tmp/zemo.help" | grep -c '^  [a-z]')" ] ||
  fail "zemo(1) has a section for a command that zemo --help does not list"

if [ "$gui" = 1 ]; then
  out=$(desktop-file-validate "$prefix/share/applications/zemoplan.desktop" 2>&1) ||
    fail "desktop-file-validate failed"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
  # Not even a pedantic remark.
  appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/org.zemoplan.zemoplan.metainfo.xml" >"$tmp/as.log" 2>&1 || {
    cat "$tmp/as.log" >&2
    fail "appstreamcli validate"
  }
  if grep -q '^[EWIP]: ' "$tmp/as.log"; then
    cat "$tmp/as.log" >&2
    fail "appstreamcli validate --pedantic remarks on the metainfo"
  fi
  # Its release is this version, dated.
  grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"/>" \
    "$prefix/share/metainfo/org.zemoplan.zemoplan.metainfo.xml" || fail "the metainfo has no dated release $version"
  # The metainfo's launchable is the installed desktop entry, its icon the installed one.
  grep -q '<launchable type="desktop-id">zemoplan.desktop</launchable>' \
    "$prefix/share/metainfo/org.zemoplan.zemoplan.metainfo.xml" || fail "the metainfo does not launch zemoplan.desktop"
  grep -qx 'Exec=zemoplan' "$prefix/share/applications/zemoplan.desktop" || fail "the menu entry does not start zemoplan"
  grep -qx 'Icon=zemoplan' "$prefix/share/applications/zemoplan.desktop" || fail "the menu entry has another icon"

  man_text zemoplan
  "$prefix/bin/zemoplan" --help >"$tmp/zemoplan.help" || fail "zemoplan --help"
  check_options zemoplan "$tmp/zemoplan.help"
  grep -q -- '-Dn' "$tmp/zemoplan.txt" || fail "zemoplan(1) does not name -Dn"
  for text in 'ZEMOCTRL.DAT' '$XDG_DATA_HOME/zemoplan' '~/.local/share/zemoplan' '$ZEMOPLAN_HOME'; do
    grep -qF -- "$text" "$tmp/zemoplan.help" || fail "zemoplan --help does not name $text"
    grep -qF -- "$text" "$tmp/zemoplan.txt" || fail "zemoplan(1) does not name $text"
  done
  [ "$("$prefix/bin/zemoplan" --version)" = "zemoplan $version" ] || fail "zemoplan --version"

  # Started without options as the menu entry starts it, the installed program works in the
  # user's data folder: its own folder holds no control file and cannot be written by a user.
  home=$tmp/home
  folder=$home/.local/share/zemoplan
  "$prefix/bin/zemo" init --home "$folder" >/dev/null 2>&1 || fail "zemo init"
  mkdir -m 700 "$tmp/sockets"
  env -u ZEMOPLAN_HOME -u XDG_DATA_HOME HOME="$home" TMPDIR="$tmp/sockets" XDG_RUNTIME_DIR="$tmp/sockets" \
    QT_QPA_PLATFORM=offscreen \
    "$prefix/bin/zemoplan" 2>"$tmp/zemoplan.err" &
  pid=$!
  tries=0
  until [ -n "$(find "$tmp/sockets" -type s 2>/dev/null)" ] || [ $tries -ge 600 ]; do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
    tries=$((tries + 1))
  done
  kill -TERM "$pid" 2>/dev/null || true
  status=0
  wait "$pid" || status=$?
  pid=
  [ "$status" = 0 ] || {
    cat "$tmp/zemoplan.err" >&2
    fail "the installed zemoplan ended with status $status"
  }
  [ -f "$folder/WZEMO.INI" ] || fail "the installed zemoplan did not work in $folder"
  [ "$(ls "$prefix/bin")" = "$(printf 'zemo\nzemoplan')" ] || fail "the installed zemoplan wrote beside itself"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "the installed tree is complete and valid"
