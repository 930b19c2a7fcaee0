#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The licence without building a package: the licence line at the top of every source file,
# script and CMake file (and scripts/spdx, which puts it there, on a tree of each kind), the
# licence text, the package's copyright file in the machine-readable format with its required
# fields, and the licence named where a user and a distribution look for it.
#   licence_test.sh SOURCE_DIR
set -eu
top=$1
tmp=$(mktemp -d "${TMPDIR:-/tmp}/zemo-licence-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
id="SPDX-License-Identifier: GPL-3.0-or-later"

# Every source file of the project carries its line.
sh "$top/scripts/spdx" --check "$top" >"$tmp/check.log" 2>&1 || {
  cat "$tmp/check.log" >&2
  fail "a source file has no licence line (run scripts/spdx)"
}

# scripts/spdx on a tree with a file of each kind: the line in the kind's comment syntax, after
# a "#!" line and an XML declaration, nothing else changed, the mode kept; a second run and
# --check find nothing to do; a data file, a text file and an unknown kind are left alone.
t=$tmp/tree
mkdir -p "$t/src/ui" "$t/scripts" "$t/data" "$t/build-x"
printf '#include <a.h>\n' >"$t/src/a.cpp"
printf '#pragma once\n' >"$t/src/a.h"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0"/>\n' >"$t/src/ui/f.ui"
printf 'project(X)\n' >"$t/CMakeLists.txt"
printf 'set(A 1)\n' >"$t/src/x.cmake"
printf '#!/bin/sh\necho run\n' >"$t/scripts/run"
printf '#!/usr/bin/env python3\nprint(1)\n' >"$t/data/make.py"
printf 'echo sourced\n' >"$t/scripts/lib.sh"
printf 'complete -F f x\n' >"$t/scripts/x.bash"
printf '#!binary\001\002' >"$t/data/seed.zmo"
printf 'plain text\n' >"$t/data/notes"
printf '#include <b.h>\n' >"$t/build-x/generated.cpp"
printf '// SPDX-License-Identifier: MIT\n#include <c.h>\n' >"$t/src/other.cpp"
printf '#!/bin/sh\n# Writes "SPDX-License-Identifier: X" lines.\n' >"$t/scripts/names-it"
chmod 755 "$t/scripts/run"
cp -R "$t" "$tmp/before"
sh "$top/scripts/spdx" --check "$t" >"$tmp/before.log" 2>&1 && fail "spdx --check passes a tree without licence lines"
sh "$top/scripts/spdx" "$t" >"$tmp/added.log" 2>&1 || fail "scripts/spdx failed: $(cat "$tmp/added.log")"
expect() { # FILE EXPECTED-CONTENT
  printf "$2" >"$tmp/expected"
  cmp -s "$tmp/expected" "$t/$1" || {
    diff -u "$tmp/expected" "$t/$1" >&2 || true
    fail "scripts/spdx made $1 wrong"
  }
}
expect src/a.cpp "// $id\n#include <a.h>\n"
expect src/a.h "// $id\n#pragma once\n"
expect src/ui/f.ui "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- $id -->\n<ui version=\"4.0\"/>\n"
expect CMakeLists.txt "# $id\nproject(X)\n"
expect src/x.cmake "# $id\nset(A 1)\n"
expect scripts/run "#!/bin/sh\n# $id\necho run\n"
expect data/make.py "#!/usr/bin/env python3\n# $id\nprint(1)\n"
expect scripts/lib.sh "# $id\necho sourced\n"
expect scripts/x.bash "# $id\ncomplete -F f x\n"
expect scripts/names-it "#!/bin/sh\n# $id\n# Writes \"SPDX-License-Identifier: X\" lines.\n"
for f in data/seed.zmo data/notes build-x/generated.cpp src/other.cpp; do
  cmp -s "$tmp/before/$f" "$t/$f" || fail "scripts/spdx changed $f"
done
[ "$(stat -c %a "$t/scripts/run")" = 755 ] || fail "scripts/spdx did not keep the mode of a script"
[ "$(wc -l <"$tmp/added.log")" = 10 ] || fail "scripts/spdx did not name the 10 files it changed: $(cat "$tmp/added.log")"
cp -R "$t" "$tmp/after"
sh "$top/scripts/spdx" "$t" >"$tmp/again.log" 2>&1 || fail "scripts/spdx failed on its own output"
[ -s "$tmp/again.log" ] && fail "a second run of scripts/spdx changed: $(cat "$tmp/again.log")"
diff -r "$tmp/after" "$t" >/dev/null || fail "a second run of scripts/spdx changed the tree"
# Only the file with another licence line is named by --check: that line is not replaced.
sh "$top/scripts/spdx" --check "$t" >"$tmp/check2.log" 2>/dev/null && fail "spdx --check passes src/other.cpp"
[ "$(cut -d: -f1 "$tmp/check2.log")" = src/other.cpp ] || fail "spdx --check after scripts/spdx: $(cat "$tmp/check2.log")"

# The licence text is the GPL version 3, as Debian ships it.
grep -q '^ *GNU GENERAL PUBLIC LICENSE$' "$top/LICENSE" && grep -q '^ *Version 3, 29 June 2007$' "$top/LICENSE" ||
  fail "LICENSE is not the GNU General Public License version 3"
if [ -f /usr/share/common-licenses/GPL-3 ]; then
  cmp -s /usr/share/common-licenses/GPL-3 "$top/LICENSE" || fail "LICENSE differs from /usr/share/common-licenses/GPL-3"
fi

# The copyright file in the machine-readable format: its header, a Files paragraph for every file
# naming the copyright holder and the licence, and that licence's text by the Debian path.
c=$top/packaging/copyright
field() { # PARAGRAPH-NUMBER FIELD -> its value (first line)
  awk -v want="$1" -v name="$2" 'BEGIN { RS = ""; FS = "\n" }
    NR == want { for (i = 1; i <= NF; i++) if (index($i, name ": ") == 1) { print substr($i, length(name) + 3); exit } }' "$c"
}
[ "$(field 1 Format)" = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
  fail "the copyright file's first paragraph has no Format field of the copyright format 1.0"
[ "$(field 1 Upstream-Name)" = Zemoplan ] || fail "the copyright file names no Upstream-Name Zemoplan"
[ "$(field 2 Files)" = "*" ] || fail "the copyright file's first Files paragraph is not for every file (Files: *)"
case $(field 2 Copyright) in
  [12][0-9][0-9][0-9]*" the Zemoplan developers") ;;
  *) fail "the copyright file's Copyright is not \"YEAR the Zemoplan developers\": $(field 2 Copyright)" ;;
esac
[ "$(field 2 License)" = GPL-3.0-or-later ] || fail "the copyright file's Files paragraph is not GPL-3.0-or-later"
[ "$(field 3 License)" = GPL-3.0-or-later ] || fail "the copyright file has no paragraph with the licence GPL-3.0-or-later"
grep -q '^ .*/usr/share/common-licenses/GPL-3' "$c" || fail "the copyright file does not name /usr/share/common-licenses/GPL-3"
grep -q '^ .*either version 3 of the License, or$' "$c" && grep -q '^ .*(at your option) any later version\.$' "$c" ||
  fail "the copyright file's licence paragraph does not say version 3 or any later version"
# A field on its own line, a continuation line starting with a blank, paragraphs apart by one empty line.
awk 'NF && !/^[A-Z][A-Za-z-]*: ./ && !/^ ./ { print FILENAME ":" NR ": " $0; bad = 1 } END { exit bad }' "$c" >&2 ||
  fail "the copyright file has a line that is neither a field nor a continuation"

# The licence named in the README, the AppStream metadata and both manual pages.
grep -q 'GPL-3.0-or-later' "$top/README.md" || fail "README.md does not name the licence"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$top/packaging/org.zemoplan.zemoplan.metainfo.xml" ||
  fail "the metainfo has no project_license GPL-3.0-or-later"
for page in zemo zemoplan; do
  grep -q '^\.SH COPYRIGHT' "$top/packaging/man/$page.1" && grep -q 'GPL\\-3\.0\\-or\\-later' "$top/packaging/man/$page.1" ||
    fail "$page(1) does not name the licence in its COPYRIGHT section"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "every source file carries its licence line; the licence and the copyright file are complete"
