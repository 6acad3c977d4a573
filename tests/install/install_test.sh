#!/usr/bin/env bash
# `cmake --install` into a temporary DESTDIR, checked as a desktop and Debian's
# tools see it: desktop entry, metainfo, icons, manual pages, shell completion,
# and both programs run from the installed place.
#   install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -u
build=$1
source=$2
version=$3
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
         share/vaultsmith/data/subtypes.txt; do
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
[ "$(complete_line vaultsmith-cli '' | tr '\n' ' ')" = "catalog check decode encode entries grid normalize search storage " ] \
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
for command in $commands; do
  complete_line vaultsmith-cli '' | grep -qx "$command" || fail "completion lacks the command $command"
  for option in $(grep -o -- '\(^\|[[ |]\)-\{1,2\}[a-z][a-z-]*' <("$cli" "$command" --help) | tr -d '[ |' | sort -u); do
    complete_line vaultsmith-cli "$command" - | grep -qx -- "$option" || fail "completion of $command lacks $option"
  done
done

if [ $failures -gt 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "installed layout checked"
