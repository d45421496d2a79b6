#!/usr/bin/env bash
# Builds the Debian package of this build tree, unpacks it into a scratch root and checks what a
# user gets from it: the files in their places, the desktop entry, the metainfo and the manual
# pages as their validators see them, maintainer scripts that register the library the package
# holds, a quorlin-cli that runs from the root, and its bash completion.
#
# usage: check_package.sh BUILD_DIR SOURCE_DIR VERSION LIBDIR ICON_SIZES
set -euo pipefail

build=$1 source=$2 version=$3 libdir=$4 icon_sizes=$5
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; exit 1; }
deb=$(echo "$scratch"/out/quorlin_*.deb)
[ -f "$deb" ] || { echo "no package in $scratch/out" >&2; exit 1; }
root=$scratch/root
dpkg -x "$deb" "$root"

# The control fields: the name, the version and dependencies that shlibdeps computed.
[ "$(dpkg-deb -f "$deb" Package)" = quorlin ] || fail "package name: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "version: $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in odbcinst libqt6sql6-odbc libqt6widgets6 libodbcinst2 libc6; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done

# The file list, exactly: a file that goes missing or lands elsewhere shows here.
expected=$scratch/expected
{
  printf '%s\n' usr/bin/quorlin usr/bin/quorlin-cli "usr/$libdir/odbc/libquorlin-odbc-text.so" \
    "usr/$libdir/quorlin/quorlin_sqlite.so" \
    usr/share/applications/org.quorlin.Quorlin.desktop \
    usr/share/metainfo/org.quorlin.Quorlin.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/org.quorlin.Quorlin.svg \
    usr/share/man/man1/quorlin.1.gz usr/share/man/man1/quorlin-cli.1.gz \
    usr/share/bash-completion/completions/quorlin-cli \
    usr/share/doc/quorlin/copyright usr/share/doc/quorlin/changelog.Debian.gz \
    usr/share/lintian/overrides/quorlin
  for size in $icon_sizes; do
    echo "usr/share/icons/hicolor/${size}x${size}/apps/org.quorlin.Quorlin.png"
  done
  (cd "$source" && find help samples -type f) | sed 's|^|usr/share/quorlin/|'
} | sort >"$expected"
(cd "$root" && find . -type f | sed 's|^\./||' | sort) >"$scratch/actual"
diff -u "$expected" "$scratch/actual" >&2 || fail "the package's files differ from the expected list"

# The freedesktop.org validators; a hint (such as two main categories, which is meant) passes.
desktop=$root/usr/share/applications/org.quorlin.Quorlin.desktop
desktop-file-validate "$desktop" >"$scratch/desktop.log" 2>&1 || { cat "$scratch/desktop.log" >&2; fail "desktop entry"; }
grep -E ': (error|warning):' "$scratch/desktop.log" >&2 && fail "desktop entry warnings"
grep -qx 'Exec=quorlin %f' "$desktop" || fail "desktop entry does not pass the file to quorlin"
grep -qx 'Categories=Office;Utility;' "$desktop" || fail "desktop entry categories"
grep -qx 'MimeType=text/csv;text/tab-separated-values;' "$desktop" ||
  fail "desktop entry claims other types than CSV and TSV: $(grep MimeType "$desktop")"
grep -qx 'License: GPL-3+' "$root/usr/share/doc/quorlin/copyright" || fail "the copyright file grants no licence"

# No path of the build or the source tree is compiled into the programs.
for binary in usr/bin/quorlin usr/bin/quorlin-cli "usr/$libdir/odbc/libquorlin-odbc-text.so"; do
  for path in "$build" "$source"; do
    ! strings "$root/$binary" | grep -qF "$path" || fail "$binary holds the path $path"
  done
done
metainfo=$root/usr/share/metainfo/org.quorlin.Quorlin.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
  { cat "$scratch/appstream.log" >&2; fail "metainfo"; }
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo lists no release $version"

# The manual pages render without a warning, as lintian renders them.
for page in quorlin quorlin-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
done
zcat "$root/usr/share/man/man1/quorlin-cli.1.gz" | grep -q '^\.SH EXIT STATUS' || fail "quorlin-cli.1 without exit status"

# The maintainer scripts register and unregister the library the package installs.
dpkg-deb -e "$deb" "$scratch/control"
for script in postinst prerm postrm; do
  [ -x "$scratch/control/$script" ] || fail "$script missing or not executable"
  sh -n "$scratch/control/$script" || fail "$script is no valid shell script"
done
driver=$(sed -n 's/.*"\(\/[^"]*libquorlin-odbc-text\.so\)".*/\1/p' "$scratch/control/postinst" | head -n 1)
[ -n "$driver" ] && [ -f "$root$driver" ] || fail "postinst registers '$driver', which the package does not hold"
grep -q 'odbcinst -i -d' "$scratch/control/postinst" || fail "postinst does not register the driver"
grep -q 'odbcinst -u -d' "$scratch/control/prerm" || fail "prerm does not unregister the driver"

# Run against a scratch odbcinst.ini: a registration of the same name that was there before is
# counted, not replaced, and removing the package leaves it as it was; without one, the package
# registers its own library and takes it back.
odbc=$scratch/odbc
mkdir "$odbc"
name='Microsoft Text Driver (*.txt; *.csv)'
query() {
  local out
  out=$(ODBCSYSINI=$odbc odbcinst -q -d -n "$name" 2>/dev/null) && printf '%s\n' "$out"
  return 0
}
maintainer() { ODBCSYSINI=$odbc sh "$scratch/control/$1" "$2" >/dev/null 2>&1 || fail "$1 $2 failed"; }
printf '[%s]\nDescription=by hand\nDriver=/opt/text/libtext.so\nSetup=/opt/text/libtext.so\nUsageCount=1\n' \
  "$name" >"$odbc/odbcinst.ini"
before=$(query)
maintainer postinst configure
installed=$(query)
[[ $installed == *"Driver=/opt/text/libtext.so"* && $installed == *"UsageCount=2"* ]] ||
  fail "postinst replaced the existing registration: $installed"
maintainer prerm remove
maintainer postrm remove
[ "$(query)" = "$before" ] || fail "removal did not leave the existing registration: $(query)"
: >"$odbc/odbcinst.ini"
maintainer postinst configure
[[ $(query) == *"Driver=$driver"* ]] || fail "postinst did not register $driver: $(query)"
maintainer prerm remove
maintainer postrm remove
[ -z "$(query)" ] || fail "removal left a registration: $(query)"

# The installed command line program runs from the unpacked root.
"$root/usr/bin/quorlin-cli" --help | grep -q 'export' || fail "quorlin-cli --help"
[ "$("$root/usr/bin/quorlin-cli" --version)" = "$version" ] || fail "quorlin-cli --version"

# The packaged SQLite extension reads the samples in sqlite3.
[ "$(sqlite3 :memory: ".load $root/usr/$libdir/quorlin/quorlin_sqlite" "SELECT quorlin_attach('$source/samples')")" -gt 0 ] ||
  fail "the SQLite extension does not attach the samples"

# Bash completion offers the commands, the formats and the options of a command.
completions=$(bash -c '
  source /usr/share/bash-completion/bash_completion
  source "$1"
  complete_line() {
    read -ra COMP_WORDS <<<"$1"
    COMP_WORDS+=("$2")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$1 $2" COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quorlin_cli
    echo "${COMPREPLY[*]}"
  }
  complete_line "quorlin-cli" ""
  complete_line "quorlin-cli export data.csv --to" ""
  complete_line "quorlin-cli guess data.csv" "--s"
  complete_line "quorlin-cli dsn" ""
  complete_line "quorlin-cli export - --to sql --dialect" ""
' _ "$root/usr/share/bash-completion/completions/quorlin-cli")
expected_completions='preview guess schema report export dsn --version --help
csv space tab other dbf paradox xls html xml sql parquet xlsx jsonl
--sep --start --schema --section --save
add config remove tables open
sqlite postgresql ansi'
[ "$completions" = "$expected_completions" ] || fail "bash completion gave:
$completions"

# lintian, when it is there, finds no error.
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 ||
    { cat "$scratch/lintian.log" >&2; fail "lintian reports errors"; }
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "package $deb: all checks passed"
