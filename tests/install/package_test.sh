#!/usr/bin/env bash
# The Debian package from this build: its name, its computed Depends, its
# documents, and that dpkg installs it (its MIME types reaching the system's
# database), the installed CLI works, and dpkg removes every file again.
# Installs into the running system, so it runs only as root; exit 77 = skipped.
#   package_test.sh BUILD_DIR VERSION [sanitize]
set -u
build=$1
version=$2
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing a package needs root; run the suite as root to check dpkg -i and dpkg -r"
  exit 77
fi
if [ "${3:-}" = sanitize ]; then
  echo "SKIP: the package is checked from the normal build, not the sanitizer build"
  exit 77
fi
if dpkg-query -W -f='${Status}' vaultsmith 2> /dev/null | grep -q 'installed'; then
  echo "SKIP: a vaultsmith package is installed on this machine already; it is left alone"
  exit 77
fi
work=$(mktemp -d)
installed=""
cleanup() {
  [ -n "$installed" ] && dpkg --purge vaultsmith > /dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# dpkg waits for nobody: another apt or dpkg run holding the lock is waited for.
dpkg_run() {
  local try
  for try in $(seq 1 60); do
    if dpkg "$@" > "$work/dpkg.log" 2>&1; then
      return 0
    fi
    grep -q 'lock' "$work/dpkg.log" || { cat "$work/dpkg.log"; return 1; }
    sleep 1
  done
  cat "$work/dpkg.log"
  return 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$work/out/vaultsmith_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no $(basename "$deb")"; exit 1; }

dpkg-deb --info "$deb" > "$work/info.txt" || fail "dpkg-deb --info"
depends=$(sed -n 's/^ Depends: //p' "$work/info.txt")
for library in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 libqt6sql6; do
  echo "$depends" | grep -q "\b$library\b" || fail "Depends lacks $library: $depends"
done
# The database drivers Qt loads as plugins, which no library dependency shows.
recommends=$(sed -n 's/^ Recommends: //p' "$work/info.txt")
for driver in libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-mysql libqt6sql6-odbc; do
  echo "$recommends" | grep -q "\b$driver\b" || fail "Recommends lacks $driver: $recommends"
done
echo "$depends" | grep -q '(>= ' || fail "Depends carries no computed versions: $depends"
grep -q '^ Version: '"$version"'$' "$work/info.txt" || fail "the package is not version $version"
dpkg-deb --contents "$deb" > "$work/contents.txt"
for f in ./usr/bin/vaultsmith ./usr/bin/vaultsmith-cli ./usr/share/applications/vaultsmith.desktop \
         ./usr/share/man/man1/vaultsmith.1.gz './usr/share/vaultsmith/data/item(Kor).txt' \
         ./usr/share/doc/vaultsmith/copyright ./usr/share/doc/vaultsmith/changelog.gz \
         ./usr/share/mime/packages/vaultsmith.xml; do
  grep -qF " $f" "$work/contents.txt" || fail "the package lacks $f"
done
# Debian's policy: the documents are plain files of root's, readable by all.
for f in ./usr/share/doc/vaultsmith/copyright ./usr/share/doc/vaultsmith/changelog.gz; do
  grep -qE "^-rw-r--r-- root/root .* $f\$" "$work/contents.txt" || fail "$f is not -rw-r--r-- root/root: $(grep -F " $f" "$work/contents.txt")"
done

dpkg_run -i "$deb" || { echo "FAIL: dpkg -i"; exit 1; }
installed=yes
dpkg-query -L vaultsmith > "$work/files.txt"
files=()
while IFS= read -r f; do
  [ -f "$f" ] && files+=("$f")
done < "$work/files.txt"
[ ${#files[@]} -ge 15 ] || fail "only ${#files[@]} files installed"
mkdir "$work/empty"
(cd "$work/empty" && /usr/bin/vaultsmith-cli search Katana) > "$work/search.out" 2>&1 || fail "installed CLI: $(cat "$work/search.out")"
grep -q Katana "$work/search.out" || fail "the installed CLI found no Katana in /usr/share/vaultsmith/data"
[ "$(env -u DISPLAY /usr/bin/vaultsmith --version)" = "vaultsmith $version" ] || fail "installed vaultsmith --version"
# dpkg's triggers: shared-mime-info rebuilds the MIME database and
# desktop-file-utils the desktop entries' MIME cache, with nothing in the package.
mime_checked=""
if dpkg-query -W -f='${Status}' shared-mime-info 2> /dev/null | grep -q 'ok installed'; then
  mime_checked=yes
  grep -q '^[0-9]*:application/x-vaultsmith-shop:\*shop1\.txt$' /usr/share/mime/globs2 \
    || fail "the installed package's MIME types are not in /usr/share/mime/globs2"
  if command -v xdg-mime > /dev/null; then
    mkdir "$work/home"
    echo '0 1 0 0 0 1 0 // Short Sword' > "$work/empty/EventItemBag4.txt"
    got=$(cd "$work/empty" && XDG_DATA_HOME=$work/home XDG_DATA_DIRS=/usr/share XDG_CURRENT_DESKTOP=GNOME \
      xdg-mime query filetype EventItemBag4.txt 2> /dev/null)
    [ "$got" = application/x-vaultsmith-itembag ] || fail "installed: xdg-mime query filetype EventItemBag4.txt gives '$got'"
  fi
fi
if dpkg-query -W -f='${Status}' desktop-file-utils 2> /dev/null | grep -q 'ok installed'; then
  grep -q '^application/x-vaultsmith-shop=\(.*;\)\?vaultsmith\.desktop;' /usr/share/applications/mimeinfo.cache \
    || fail "the desktop database does not open shop files with vaultsmith.desktop"
fi

dpkg_run -r vaultsmith || fail "dpkg -r"
installed=""
for f in "${files[@]}"; do
  [ -e "$f" ] && fail "left behind after dpkg -r: $f"
done
[ -d /usr/share/vaultsmith ] && fail "left behind after dpkg -r: /usr/share/vaultsmith"
dpkg-query -W -f='${Status}' vaultsmith 2> /dev/null | grep -q ' installed' && fail "still installed"
if [ -n "$mime_checked" ] && grep -q 'x-vaultsmith' /usr/share/mime/globs2; then
  fail "the MIME types stay in /usr/share/mime/globs2 after dpkg -r"
fi

if [ $failures -gt 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "$(basename "$deb") installed and removed cleanly; Depends: $depends"
