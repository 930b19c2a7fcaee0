#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and runs the installed bash completion of zemo as
# bash-completion loads it: from the prefix's share/bash-completion/completions, on the first
# completion of a zemo command line. Then completes command lines and checks the words offered.
#   completion_test.sh BUILD_DIR
set -eu
build=$1
tmp=$(mktemp -d "${TMPDIR:-/tmp}/zemo-completion-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 || {
  cat "$tmp/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
}
loader=/usr/share/bash-completion/bash_completion
[ -f "$loader" ] || {
  echo "FAIL: $loader is missing (scripts/setup installs bash-completion)" >&2
  exit 1
}

# A tool whose help names a command and options that the installed one does not have: the
# completion follows the help, with nothing to add for a new command.
fake=$tmp/fake
mkdir -p "$fake"
cat >"$fake/zemo" <<'EOF2'
#!/bin/sh
case "$1 $2" in
  "--help ") printf 'usage: zemo COMMAND [OPTIONS]\n\ncommands:\n  init     create\n  migrate  move a data file to this version\n\nEvery command takes --home DIR.\n' ;;
  "migrate --help") printf 'usage: zemo migrate FILE [--level N] [--dry-run] [--home DIR]\n\n  --level N          the format level\n  --mode MODE|other  a mode\n  --dry-run          only say what would change\n  --home DIR         the program folder\n  --help             show this help\n' ;;
  *) exit 2 ;;
esac
EOF2
chmod 755 "$fake/zemo"

# A folder to complete file and folder names in.
work=$tmp/work
mkdir -p "$work/CD_SYS" "$work/CD_ADD"
touch "$work/CD_DATA.ZMO" "$work/shop.csv" "$work/CD_SYS/CD_SHUF.ZMO"

cat >"$tmp/run.bash" <<'EOF'
. "$LOADER"
# Completes the words given, the last one being the one under the cursor, and prints the
# offered words sorted on one line.
offered() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  local completion
  completion=$(complete -p zemo 2>/dev/null) || {
    # As bash does before its first completion of a command without one.
    __load_completion zemo
    completion=$(complete -p zemo 2>/dev/null) || { echo "no completion for zemo"; return; }
  }
  local function=${completion#*-F }
  function=${function%% *}
  "$function" zemo "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//'
  echo
}
failures=0
expect() { # EXPECTED WORD...
  local expected=$1 actual
  shift
  actual=$(offered "$@")
  if [ "$actual" != "$expected" ]; then
    echo "FAIL: zemo ${*:2}<TAB>: offered \"$actual\", expected \"$expected\"" >&2
    failures=$((failures + 1))
  fi
}
complete -p zemo >/dev/null 2>&1 && { echo "FAIL: zemo has a completion before it is loaded" >&2; exit 1; }
offered zemo "" >/dev/null
completion=$(complete -p zemo 2>/dev/null) || { echo "FAIL: the installed completion was not loaded" >&2; exit 1; }
[ "$completion" = "complete -F _zemo zemo" ] || { echo "FAIL: complete -p zemo: $completion" >&2; failures=$((failures + 1)); }

# The commands are those that zemo --help lists.
commands=$(zemo --help | sed -n '/^commands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
for c in init show export import plan list search label; do
  case " $commands " in *" $c "*) ;; *) echo "FAIL: zemo --help does not list $c" >&2; failures=$((failures + 1)) ;; esac
done
expect "$commands" zemo ""
expect "search show" zemo s
expect "--help --version" zemo -
# Each command's options, as its help names them.
expect "--encoding --help --home --kind --memo" zemo import shop.csv --
expect "-o" zemo import shop.csv -o
expect "--help --home" zemo init --
expect "--csv --help --home --password" zemo show CD_DATA.ZMO --
expect "--password --pdf --plus-only" zemo label CD_DATA.ZMO --p
expect "--check --control --csv-layout" zemo plan CD_DATA.ZMO --c
expect "--from" zemo list CD_DATA.ZMO --f
expect "--partial --password" zemo search CD_DATA.ZMO --item artist --text X --pa
# The values of --item, --age, --action and --encoding, also joined with "=".
expect "artist artist-code barcode entry-date open-date sale-date user-code" zemo search CD_DATA.ZMO --item ""
expect "sale-date" zemo search CD_DATA.ZMO --item sa
expect "30 60 90 future" zemo search CD_DATA.ZMO --age ""
expect "half none shuffle-a shuffle-ab shuffle-b" zemo plan CD_DATA.ZMO --action ""
expect "shuffle-a shuffle-ab shuffle-b" zemo label CD_DATA.ZMO --action shuffle-
expect "cp932 utf-8" zemo import shop.csv --encoding ""
expect "cp932 utf-8" zemo import shop.csv --encoding = ""
expect "cp932" zemo import shop.csv --encoding = c
expect "0 1" zemo plan CD_DATA.ZMO --plus-only ""
# A free value gets no words.
expect "" zemo plan CD_DATA.ZMO --run ""
expect "" zemo search CD_DATA.ZMO --text ""
# File names for FILE and the outputs, folders for --home.
expect "CD_ADD CD_DATA.ZMO CD_SYS shop.csv" zemo show ""
expect "CD_DATA.ZMO" zemo plan CD_D
expect "CD_SYS/CD_SHUF.ZMO" zemo label CD_SYS/
expect "shop.csv" zemo import sh
expect "CD_ADD CD_SYS" zemo init --home ""
expect "CD_SYS" zemo show CD_DATA.ZMO --home CD_S
expect "CD_ADD CD_SYS" zemo show CD_DATA.ZMO --home = ""
expect "CD_ADD CD_DATA.ZMO CD_SYS shop.csv" zemo export CD_DATA.ZMO -o ""
expect "CD_DATA.ZMO" zemo label CD_DATA.ZMO --pdf CD_D
expect "CD_DATA.ZMO" zemo plan CD_SYS/CD_SHUF.ZMO --control CD_D
# Once FILE is given, the command's options; after "--" file names again.
expect "--csv --help --home --password" zemo show CD_DATA.ZMO ""
expect "CD_DATA.ZMO" zemo show -- CD_D
# The fake tool's new command, its options and their values.
expect "init migrate" "$FAKE/zemo" ""
expect "migrate" "$FAKE/zemo" m
expect "--dry-run --help --home --level --mode" "$FAKE/zemo" migrate CD_DATA.ZMO --
expect "CD_ADD CD_DATA.ZMO CD_SYS shop.csv" "$FAKE/zemo" migrate ""
expect "MODE other" "$FAKE/zemo" migrate CD_DATA.ZMO --mode ""
expect "" "$FAKE/zemo" migrate CD_DATA.ZMO --level ""
expect "CD_ADD CD_SYS" "$FAKE/zemo" migrate --home ""
exit "$failures"
EOF
status=0
(cd "$work" && env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$tmp" XDG_DATA_DIRS="$prefix/share" \
  LOADER="$loader" FAKE="$fake" bash --norc --noprofile "$tmp/run.bash") || status=$?
if [ "$status" -ne 0 ]; then
  echo "$status completion check(s) failed" >&2
  exit 1
fi
echo "the installed completion of zemo offers the expected words"
