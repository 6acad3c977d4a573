#!/usr/bin/env bash
# The installed program on a real (virtual) X display: installed into a
# temporary DESTDIR, started under xvfb-run with a file on its command line, it
# shows its window with that file open, is photographed into the build folder
# (smoke-screenshot.png) and quits cleanly on SIGTERM. The CLI from the same
# tree finds its data and fills a warehouse, which the program then shows in
# its storage window (photographed into storage-screenshot.png).
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

# session.sh GRAB SHOT LOG TITLE SCOPE PROGRAM ARGS...: waits for the window
# TITLE, photographs the screen (SCOPE screen) or that window alone (window).
cat > "$work/session.sh" <<'EOF'
set -u
grab=$1 shot=$2 log=$3 title=$4 scope=$5
shift 5
"$@" > "$log.out" 2> "$log.err" &
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
window=""
[ "$scope" = window ] && window=$(xwininfo -name "$title" | sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p')
if ! "$grab" "$shot" $window; then
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
  bash "$work/session.sh" "$grab" "$build/smoke-screenshot.png" "$work/program" "Vaultsmith - shop1.txt" screen \
  "$root/usr/bin/vaultsmith" "$work/files/shop1.txt"
status=$?
echo "took $(($(date +%s) - start)) s; screenshot: $build/smoke-screenshot.png"
[ $status -eq 0 ] || { echo "FAIL: the session ended with $status"; exit 1; }

# A warehouse filled by the installed CLI, shown by --storage. Two items share
# a serial, so the picture shows how a problem is marked.
cli=$root/usr/bin/vaultsmith-cli
vault=$work/files/vault.txt
printf '0x%s\n' "$(printf 'F%.0s' $(seq 1 2400))" > "$vault"
put() {  # SLOT ENCODE-ARGUMENTS...
  local slot=$1
  shift
  "$cli" storage set "$vault" "$slot" "$("$cli" encode --only vault "$@")" > "$work/set.out" 2>&1 ||
    { echo "FAIL: storage set $slot: $(cat "$work/set.out")"; exit 1; }
}
put 0 --exc all 0 14 9 76 1 1 3
put 2 8 6 7 45 0 1 2
put 4 --exc 1,3 12 0 11 200 1 1 4
put 7 13 8 0 50 0 0 1
put 20 7 6 5 40 0 0 0
put 22 6 8 3 46 1 0 1
put 26 9 6 4 40 0 0 0
put 32 5 0 2 20 1 0 0
put 36 10 6 6 40 0 1 0
put 38 11 6 6 40 0 1 0
put 41 --exc 0 4 3 8 32 1 1 2
put 51 14 6 0 1 0 0 0
put 52 14 0 0 1 0 0 0
put 53 14 12 0 1 0 0 0
put 54 14 18 0 1 0 0 0
put 60 13 14 0 1 0 0 0
put 61 15 4 0 1 0 0 0
put 71 12 6 0 1 0 0 0
put 80 --serial 1234 0 2 4 28 0 0 0
put 82 --serial 1234 0 1 4 24 0 0 0
before=$(cat "$vault")
start=$(date +%s)
timeout 60 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  bash "$work/session.sh" "$grab" "$build/storage-screenshot.png" "$work/storage" "Warehouse - vault.txt" window \
  "$root/usr/bin/vaultsmith" --storage "$vault"
status=$?
echo "took $(($(date +%s) - start)) s; screenshot: $build/storage-screenshot.png"
[ $status -eq 0 ] || { echo "FAIL: the storage session ended with $status"; exit 1; }
[ "$(cat "$vault")" = "$before" ] || { echo "FAIL: showing the warehouse changed its file"; exit 1; }
