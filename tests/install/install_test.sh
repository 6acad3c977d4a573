#!/usr/bin/env bash
# `cmake --install` into a temporary DESTDIR, checked as a desktop and Debian's
# tools see it: desktop entry, metainfo, icons, manual pages, shell completion,
# the licence and changelog, the MIME types, and both programs run from the
# installed place.
#   install_test.sh BUILD_DIR SOURCE_DIR VERSION [MIME_TYPE_TOOL]
# MIME_TYPE_TOOL prints the type Qt's MIME database gives each file name.
set -u
build=$1
source=$2
version=$3
mime_type_tool=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr > "$work/install.log" 2>&1 || { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
usr=$root/usr
share=$usr/share

for f in bin/vaultsmith bin/vaultsmith-cli share/applications/vaultsmith.desktop \
         share/metainfo/org.vaultsmith.vaultsmith.metainfo.xml share/icons/hicolor/scalable/apps/vaultsmith.svg \
         share/man/man1/vaultsmith.1.gz share/man/man1/vaultsmith-cli.1.gz \
         share/bash-completion/completions/vaultsmith-cli 'share/vaultsmith/data/item(Kor).txt' \
         share/vaultsmith/data/subtypes.txt share/mime/packages/vaultsmith.xml \
         share/doc/vaultsmith/copyright share/doc/vaultsmith/changelog.gz; do
  [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
done
for f in bin/vaultsmith bin/vaultsmith-cli; do
  [ -x "$usr/$f" ] || fail "/usr/$f is not executable"
done

# The desktop entry and the metainfo, as Debian's validators judge them.
desktop-file-validate "$share/applications/vaultsmith.desktop" > "$work/desktop.log" 2>&1 \
  || fail "desktop-file-validate: $(cat "$work/desktop.log")"
[ -s "$work/desktop.log" ] && fail "desktop-file-validate had remarks: $(cat "$work/desktop.log")"
grep -qx 'Exec=vaultsmith %f' "$share/applications/vaultsmith.desktop" || fail "the entry does not pass the file to the program"
grep -qx 'Icon=vaultsmith' "$share/applications/vaultsmith.desktop" || fail "the entry names no icon of the theme"
metainfo=$share/metainfo/org.vaultsmith.vaultsmith.metainfo.xml
appstreamcli validate --no-net "$metainfo" > "$work/appstream.log" 2>&1 || fail "appstreamcli validate: $(cat "$work/appstream.log")"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$metainfo" || fail "the metainfo names no release $version"
grep -q '<launchable type="desktop-id">vaultsmith.desktop</launchable>' "$metainfo" || fail "the metainfo launches no vaultsmith.desktop"

# Icons: a PNG of each size, really that size, and the scalable one.
png_size() {  # the width and height in a PNG's header
  local bytes
  bytes=$(od -An -tx1 -j0 -N24 "$1" | tr -d ' \n')
  [ "${bytes:0:16}" = 89504e470d0a1a0a ] || { echo "not-png"; return; }
  echo "$((16#${bytes:32:8}))x$((16#${bytes:40:8}))"
}
for size in 16 22 24 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/vaultsmith.png
  if [ -f "$icon" ]; then
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
  else
    fail "no ${size}x${size} icon"
  fi
done
grep -q '<svg[^>]*viewBox="0 0 256 256"' "$share/icons/hicolor/scalable/apps/vaultsmith.svg" || fail "the SVG icon has no square viewBox"

# Both programs from the installed place: the version, and the data found from
# the program's real location (also through a link, and after the tree moved).
cli=$usr/bin/vaultsmith-cli
mkdir "$work/empty"
cd "$work/empty" || exit 1
[ "$("$cli" --version)" = "vaultsmith-cli $version" ] || fail "vaultsmith-cli --version: $("$cli" --version)"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/vaultsmith" --version)" = "vaultsmith $version" ] \
  || fail "vaultsmith --version"
env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/vaultsmith" --help > "$work/help.txt" 2>&1 || fail "vaultsmith --help exit $?"
grep -q '^Usage: vaultsmith \[--data DIR\] \[--storage FILE\]... \[FILE\]$' "$work/help.txt" || fail "vaultsmith --help: $(head -3 "$work/help.txt")"
env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/vaultsmith" one.txt two.txt > "$work/usage.out" 2> "$work/usage.err"
status=$?
[ $status -eq 2 ] || fail "vaultsmith with two files: exit $status"
[ "$(wc -l < "$work/usage.err")" -eq 1 ] || fail "vaultsmith bad usage wrote: $(cat "$work/usage.err")"
"$cli" --data "$source/data" catalog > "$work/expected.txt" || fail "catalog of the source data"
"$cli" catalog > "$work/installed.txt" 2> "$work/installed.err" || fail "installed vaultsmith-cli catalog exit $?"
[ -s "$work/installed.err" ] && fail "installed catalog wrote to stderr: $(cat "$work/installed.err")"
[ -s "$work/installed.txt" ] && cmp -s "$work/expected.txt" "$work/installed.txt" || fail "the installed CLI did not read the installed data"
ln -s "$cli" "$work/linked-cli"
"$work/linked-cli" catalog 2> /dev/null | cmp -s "$work/expected.txt" - || fail "a link to the CLI did not find the data"
mv "$root" "$work/moved"
"$work/moved/usr/bin/vaultsmith-cli" catalog 2> /dev/null | cmp -s "$work/expected.txt" - || fail "the moved tree's CLI did not find its data"
mv "$work/moved" "$root"

# Manual pages: rendered without a warning, naming every command, option and
# exit status the programs' own help texts name.
render() {  # page -> plain text; warnings to $work/man.err
  MANWIDTH=100 man --warnings -E UTF-8 -l "$1" 2> "$work/man.err" | col -b
}
render "$share/man/man1/vaultsmith-cli.1.gz" > "$work/cli.man"
[ -s "$work/man.err" ] && fail "vaultsmith-cli(1) warnings: $(cat "$work/man.err")"
render "$share/man/man1/vaultsmith.1.gz" > "$work/gui.man"
[ -s "$work/man.err" ] && fail "vaultsmith(1) warnings: $(cat "$work/man.err")"
grep -q "Vaultsmith $version" "$work/cli.man" || fail "vaultsmith-cli(1) does not carry the version"
grep -q "Vaultsmith $version" "$work/gui.man" || fail "vaultsmith(1) does not carry the version"
section() {  # the lines of one manual section
  awk -v name="$2" '/^[A-Z][A-Z ]*$/ { on = ($0 == name); next } on' "$1"
}
"$cli" --help > "$work/cli.help"
commands=$(awk '/^Commands:/ { on = 1; next } /^$/ { on = 0 } on { print $1 }' "$work/cli.help")
[ -n "$commands" ] || fail "no commands in vaultsmith-cli --help"
for command in $commands; do
  section "$work/cli.man" COMMANDS | grep -q "^       $command\b" || fail "vaultsmith-cli(1) has no command $command"
  "$cli" "$command" --help > "$work/command.help"
  for option in $(grep -o -- '\(^\|[[ |]\)-\{1,2\}[a-z][a-z-]*' "$work/command.help" | tr -d '[ |' | sort -u); do
    grep -q -- "$option\b" "$work/cli.man" || fail "vaultsmith-cli(1) does not name $command's option $option"
  done
  cat "$work/command.help" >> "$work/all.help"
done
for option in $(grep -o -- '^  --[a-z-]*' "$work/cli.help"); do
  section "$work/cli.man" OPTIONS | grep -q -- "^       $option\b" || fail "vaultsmith-cli(1) OPTIONS lacks $option"
done
cat "$work/cli.help" >> "$work/all.help"
for status in $(grep -A2 -i '^exit status' "$work/all.help" | grep -o '\b[0-9]\b' | sort -u); do
  section "$work/cli.man" "EXIT STATUS" | grep -q "^       $status\b" || fail "vaultsmith-cli(1) EXIT STATUS lacks $status"
done
for option in --data --help --version; do
  section "$work/gui.man" OPTIONS | grep -q -- "$option" || fail "vaultsmith(1) OPTIONS lacks $option"
done
for status in $(grep -i '^exit status' "$work/help.txt" | grep -o '\b[0-9]\b'); do
  section "$work/gui.man" "EXIT STATUS" | grep -q "^       $status\b" || fail "vaultsmith(1) EXIT STATUS lacks $status"
done

# Bash completion: commands, a command's options, option values and file names.
complete_line() {  # words of a command line, the last one being completed -> the candidates
  bash --norc --noprofile -c '
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _vaultsmith_cli vaultsmith-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    printf "%s\n" "${COMPREPLY[@]}" | sort' _ "$share/bash-completion/completions/vaultsmith-cli" "$@"
}
mkdir -p "$work/files/shops"
touch "$work/files/shop1.txt" "$work/files/shop2.txt" "$work/files/bag.txt"
cd "$work/files" || exit 1
[ "$(complete_line vaultsmith-cli '' | tr '\n' ' ')" = "catalog check db decode encode entries grid normalize search storage " ] \
  || fail "command completion: $(complete_line vaultsmith-cli '')"
[ "$(complete_line vaultsmith-cli --data . e | tr '\n' ' ')" = "encode entries " ] \
  || fail "command after --data DIR: $(complete_line vaultsmith-cli --data . e)"
[ "$(complete_line vaultsmith-cli normalize --t)" = "--tidy" ] || fail "normalize's options: $(complete_line vaultsmith-cli normalize --t)"
[ "$(complete_line vaultsmith-cli --v)" = "--version" ] || fail "program options: $(complete_line vaultsmith-cli --v)"
[ "$(complete_line vaultsmith-cli entries --encoding Sh)" = "Shift_JIS" ] || fail "encoding names"
[ "$(complete_line vaultsmith-cli encode --only s)" = "shop" ] || fail "--only values"
[ "$(complete_line vaultsmith-cli entries sh | tr '\n' ' ')" = "shop1.txt shop2.txt shops " ] \
  || fail "file names: $(complete_line vaultsmith-cli entries sh)"
[ "$(complete_line vaultsmith-cli --data sh)" = "shops" ] || fail "--data offers folders only: $(complete_line vaultsmith-cli --data sh)"
[ -z "$(complete_line vaultsmith-cli encode 1)" ] || fail "encode's numbers are not file names"
[ "$(complete_line vaultsmith-cli db '' | tr '\n' ' ')" = "check pull push " ] \
  || fail "db's actions: $(complete_line vaultsmith-cli db '')"
[ "$(complete_line vaultsmith-cli db push sqlite:x --account a --e)" = "--expect" ] \
  || fail "db push's options: $(complete_line vaultsmith-cli db push sqlite:x --account a --e)"
[ "$(complete_line vaultsmith-cli db check sqlite:x --w)" = "--warehouses" ] \
  || fail "db check's options: $(complete_line vaultsmith-cli db check sqlite:x --w)"
for command in $commands; do
  complete_line vaultsmith-cli '' | grep -qx "$command" || fail "completion lacks the command $command"
  for option in $(grep -o -- '\(^\|[[ |]\)-\{1,2\}[a-z][a-z-]*' <("$cli" "$command" --help) | tr -d '[ |' | sort -u); do
    complete_line vaultsmith-cli "$command" - | grep -qx -- "$option" || fail "completion of $command lacks $option"
  done
done

# The licence: MIT in the source tree's LICENSE, the same text in Debian's
# machine-readable copyright file (where MIT is called Expat), and in the metainfo.
copyright=$share/doc/vaultsmith/copyright
grep -qx '<project_license>MIT</project_license>' <(sed 's/^ *//' "$metainfo") || fail "the metainfo's project_license is not MIT"
[ "$(head -1 "$source/LICENSE")" = "MIT License" ] || fail "LICENSE does not start with 'MIT License'"
[ "$(head -1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] \
  || fail "the copyright file's first line is not the machine-readable Format: $(head -1 "$copyright")"
grep -qx 'Files: \*' "$copyright" || fail "the copyright file has no 'Files: *' paragraph"
grep -qx 'License: Expat' "$copyright" || fail "the copyright file names no Expat licence"
if /usr/bin/python3 -c 'import debian.copyright' 2> /dev/null; then
  # python3-debian's parser of the format, strict: a malformed field, a Files
  # paragraph without Copyright or License, or an unknown Format fails it.
  /usr/bin/python3 - "$copyright" "$source/LICENSE" > "$work/copyright.log" 2>&1 <<'PYTHON' || fail "the copyright file: $(cat "$work/copyright.log")"
import logging, re, sys
from debian import copyright as dep5

logging.basicConfig(level=logging.WARNING)
warnings = []
class Collect(logging.Handler):
    def emit(self, record):
        warnings.append(record.getMessage())
logging.getLogger('debian.copyright').addHandler(Collect())

try:
    with open(sys.argv[1], encoding='utf-8') as f:
        c = dep5.Copyright(f, strict=True)
except (dep5.Error, ValueError) as e:
    sys.exit('not in the machine-readable format: %s: %s' % (type(e).__name__, e))
problems = list(warnings)
if c.header.upstream_name != 'Vaultsmith':
    problems.append('Upstream-Name is %r' % c.header.upstream_name)
files = c.find_files_paragraph('src/app/main.cpp')
if files is None or files.files != ('*',):
    problems.append('no "Files: *" paragraph covers the sources')
else:
    if files.license.synopsis != 'Expat':
        problems.append('Files: * is under %r, not Expat' % files.license.synopsis)
    text = files.license.text
    if not text:
        standalone = [p.license for p in c.all_license_paragraphs() if p.license.synopsis == 'Expat']
        text = standalone[0].text if standalone else ''
    with open(sys.argv[2], encoding='utf-8') as f:
        licence = f.read()
    words = lambda s: re.sub(r'\s+', ' ', s).strip()
    notice = re.search(r'^Copyright \(c\) (.*)$', licence, re.M)
    body = licence[licence.find('Permission is hereby granted'):]
    if not text or words(text) != words(body):
        problems.append("the Expat text is not LICENSE's permission notice")
    if not notice or files.copyright.strip() != notice.group(1).strip():
        problems.append('Copyright: %r is not LICENSE\'s holder %r'
                        % (files.copyright, notice.group(1) if notice else None))
for p in problems:
    print(p)
sys.exit(1 if problems else 0)
PYTHON
else
  echo "note: python3-debian is missing; the copyright file's paragraphs and its licence text were not parsed"
fi

# The changelog: gzip -9n (no name, no time: the same bytes from every build),
# in Debian's changelog format, and naming this version.
changelog=$share/doc/vaultsmith/changelog.gz
if gzip -t "$changelog" 2> /dev/null; then
  header=$(od -An -tx1 -N10 "$changelog" | tr -d ' \n')
  [ "${header:6:2}" = 00 ] || fail "changelog.gz keeps the file's name (flags ${header:6:2}): not gzip -n"
  [ "${header:8:8}" = 00000000 ] || fail "changelog.gz keeps a time stamp: not gzip -n"
  [ "${header:16:2}" = 02 ] || fail "changelog.gz is not compressed with gzip -9"
  zcat "$changelog" > "$work/changelog"
  if dpkg-parsechangelog -l "$work/changelog" > "$work/changelog.parsed" 2> "$work/changelog.err"; then
    [ -s "$work/changelog.err" ] && fail "dpkg-parsechangelog warnings: $(cat "$work/changelog.err")"
    grep -qx 'Source: vaultsmith' "$work/changelog.parsed" || fail "the changelog is not vaultsmith's"
    grep -qx "Version: $version" "$work/changelog.parsed" || fail "the changelog's last entry is not $version: $(grep '^Version' "$work/changelog.parsed")"
  else
    fail "dpkg-parsechangelog: $(cat "$work/changelog.err")"
  fi
else
  fail "changelog.gz is not gzip"
fi

# The MIME types: the installed XML merged with the system's as Debian's
# trigger does it (update-mime-database, here into a folder of our own), then
# file names asked of GLib (xdg-mime, which runs `gio info` on a GNOME desktop)
# and of Qt. Each name is a file holding a shop line: gio also reads the file.
shop_type=application/x-vaultsmith-shop
bag_type=application/x-vaultsmith-itembag
mime=$work/mime
mkdir -p "$mime/mime/packages" "$work/mime-home" "$work/mime-files"
cp /usr/share/mime/packages/*.xml "$mime/mime/packages/" 2> /dev/null
cp "$share/mime/packages/vaultsmith.xml" "$mime/mime/packages/"
XDG_DATA_DIRS=$mime update-mime-database "$mime/mime" > "$work/update-mime.log" 2>&1 || fail "update-mime-database: $(cat "$work/update-mime.log")"
[ -s "$work/update-mime.log" ] && fail "update-mime-database had remarks: $(cat "$work/update-mime.log")"
for type in $shop_type $bag_type; do
  grep -qx "$type" "$mime/mime/types" || fail "the MIME database has no $type"
  grep -qx "$type text/plain" "$mime/mime/subclasses" || fail "$type is no kind of text/plain"
done
# The desktop entry and the metainfo name the new types, and only types that exist.
mimetypes=$(sed -n 's/^MimeType=//p' "$share/applications/vaultsmith.desktop")
[ "$mimetypes" = "$shop_type;$bag_type;" ] || fail "the desktop entry's MimeType is '$mimetypes'"
for type in $(echo "$mimetypes" | tr ';' ' ') $(sed -n 's|.*<mediatype>\(.*\)</mediatype>.*|\1|p' "$metainfo"); do
  grep -qx "$type" "$mime/mime/types" || fail "$type (named by the entry or the metainfo) is not in the MIME database"
done
grep -q "<mediatype>$shop_type</mediatype>" "$metainfo" || fail "the metainfo does not name $shop_type"
grep -q "<mediatype>$bag_type</mediatype>" "$metainfo" || fail "the metainfo does not name $bag_type"
# Names as the server's files have them, and the program's rule: "shop" before "bag".
expect_types=(
  shop1.txt "$shop_type"  Shop12.TXT "$shop_type"  shop.txt "$shop_type"  SHOP99.txt "$shop_type"
  EventItemBag4.txt "$bag_type"  ItemBag.txt "$bag_type"  bag0.txt "$bag_type"
  BagShop7.txt "$shop_type"
  notes.txt text/plain  shop1.pdf application/pdf  CMakeLists.txt text/x-cmake
)
names=()
for ((i = 0; i < ${#expect_types[@]}; i += 2)); do
  names+=("${expect_types[i]}")
  echo '0 1 0 0 0 1 0 // Short Sword' > "$work/mime-files/${expect_types[i]}"
done
if command -v xdg-mime > /dev/null && command -v gio > /dev/null; then
  for ((i = 0; i < ${#expect_types[@]}; i += 2)); do
    got=$(cd "$work/mime-files" && XDG_DATA_HOME=$work/mime-home XDG_DATA_DIRS=$mime XDG_CURRENT_DESKTOP=GNOME \
      xdg-mime query filetype "${expect_types[i]}" 2> /dev/null)
    [ "$got" = "${expect_types[i + 1]}" ] || fail "xdg-mime query filetype ${expect_types[i]}: '$got', not ${expect_types[i + 1]}"
  done
else
  fail "xdg-mime (xdg-utils) or gio (libglib2.0-bin) is missing: tools/ensure-packages installs them"
fi
if [ -n "$mime_type_tool" ]; then
  XDG_DATA_HOME=$work/mime-home XDG_DATA_DIRS=$mime "$mime_type_tool" "${names[@]}" > "$work/qt-types.txt" 2> "$work/qt-types.err" \
    || fail "$mime_type_tool: $(cat "$work/qt-types.err")"
  for ((i = 0; i < ${#expect_types[@]}; i += 2)); do
    got=$(sed -n "$((i / 2 + 1))p" "$work/qt-types.txt")
    [ "$got" = "${expect_types[i + 1]}" ] || fail "Qt's MIME type of ${expect_types[i]}: '$got', not ${expect_types[i + 1]}"
  done
fi

if [ $failures -gt 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "installed layout checked"
