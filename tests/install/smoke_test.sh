#!/usr/bin/env bash
# The installed program on a real (virtual) X display: installed into a
# temporary DESTDIR, started under xvfb-run with a file on its command line, it
# shows its window with that file open, is photographed into the build folder
# (smoke-screenshot.png) and quits cleanly on SIGTERM. The CLI from the same
# tree finds its data.
#   smoke_test.sh BUILD_DIR SCREEN_GRAB VERSION [sanitize]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$1
grab=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr > "$work/install.log" 2>&1 || { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
mkdir -p "$work/files" "$work/empty" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
printf '// goods\r\n0 3 0 40 0 0 0 //Katana\r\nend\r\n' > "$work/files/shop1.txt"
cd "$work/empty" || exit 1

# The CLI from the installed tree, in a folder without data.
[ "$("$root/usr/bin/vaultsmith-cli" --version)" = "vaultsmith-cli $version" ] || { echo "FAIL: installed CLI version"; exit 1; }
"$root/usr/bin/vaultsmith-cli" search Katana > "$work/search.out" 2>&1 || { echo "FAIL: installed CLI: $(cat "$work/search.out")"; exit 1; }
grep -q 'Katana' "$work/search.out" || { echo "FAIL: installed CLI found no Katana in its data"; exit 1; }

export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
# Under the sanitizers, leaks of the desktop's libraries are not the program's.
[ "${4:-}" = sanitize ] && export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$here/x11-leaks.supp:print_suppressions=0

cat > "$work/session.sh" <<'EOF'
set -u
program=$1 file=$2 grab=$3 shot=$4 log=$5
title="Vaultsmith - $(basename "$file")"
"$program" "$file" > "$log.out" 2> "$log.err" &
pid=$!
shown=""
for _ in $(seq 1 150); do
  if ! kill -0 $pid 2> /dev/null; then
    wait $pid
    echo "FAIL: the program ended at start with status $?: $(cat "$log.err")"
    exit 1
  fi
  if xwininfo -name "$title" 2> /dev/null | grep -q 'Map State: IsViewable'; then
    shown=yes
    break
  fi
  sleep 0.1
done
if [ -z "$shown" ]; then
  kill -KILL $pid
  echo "FAIL: no window \"$title\" was shown"
  xwininfo -root -tree | grep '"' | head -20
  exit 1
fi
sleep 0.5  # let it paint
if ! "$grab" "$shot"; then
  kill -KILL $pid
  echo "FAIL: no screenshot"
  exit 1
fi
kill -TERM $pid
wait $pid
status=$?
[ $status -eq 0 ] || { echo "FAIL: after SIGTERM the program exited with $status:"; head -40 "$log.err"; exit 1; }
if [ -s "$log.err" ]; then
  echo "FAIL: the program wrote to stderr:"
  cat "$log.err"
  exit 1
fi
echo "window \"$title\" shown, photographed and closed"
EOF
start=$(date +%s)
timeout 60 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  bash "$work/session.sh" "$root/usr/bin/vaultsmith" "$work/files/shop1.txt" "$grab" "$build/smoke-screenshot.png" "$work/program"
status=$?
echo "took $(($(date +%s) - start)) s; screenshot: $build/smoke-screenshot.png"
[ $status -eq 0 ] || { echo "FAIL: the session ended with $status"; exit 1; }
