#!/usr/bin/env bash
# The built vaultsmith-cli as a script sees it: exit statuses, streams, shipped
# data found beside the program, and every corpus file normalized.
set -u
cli=$(realpath "$1")
# Both may be given relative to the folder the test starts in.
corpus=$(realpath -m "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The shipped data is found beside the program when the working folder has none.
cd "$work"
out=$("$cli" encode --serial 1000 --exc 0,5 0 1 5 255 1 1 2) || fail "encode exit $?"
[ "$out" = $'vault 01AEFF000003E8210000\nshop 0 1 5 255 1 1 2\nbag 0 1 5 1 1 2' ] || fail "encode printed: $out"
"$cli" catalog > catalog.out 2> catalog.err || fail "catalog from beside the program exit $?"
grep -q $'^item\t0\t0\t' catalog.out || fail "catalog printed no items"
[ -s catalog.err ] && fail "catalog wrote to stderr"

# The working folder's data/ wins when it holds the catalog.
mkdir data
printf '0\r\n0 1 1 0 0 0 "Local Blade" 0 0 0 9\r\n' > 'data/ITEM(KOR).TXT'
: > data/subtypes.txt
[ "$("$cli" catalog)" = $'item\t0\t0\t1\t1\t9\tLocal Blade' ] || fail "working folder data/ not used"

# A malformed data file: exit 1, termination message on stderr, nothing on stdout.
printf '0\r\n0 1 1\r\n' > 'data/ITEM(KOR).TXT'
"$cli" search blade > bad.out 2> bad.err; status=$?
[ $status -eq 1 ] || fail "malformed data exit $status"
[ -s bad.out ] && fail "malformed data printed to stdout"
head -1 bad.err | grep -qx 'Error reading a required data file.  Program will terminate.' || fail "termination text: $(cat bad.err)"
rm -r data

# Bad usage: exit 2, one line on stderr, nothing on stdout.
"$cli" encode 0 0 0 0 0 0 9 > usage.out 2> usage.err; status=$?
[ $status -eq 2 ] || fail "bad usage exit $status"
[ -s usage.out ] && fail "bad usage printed to stdout"
[ "$(wc -l < usage.err)" -eq 1 ] || fail "bad usage wrote $(wc -l < usage.err) lines"
printf '0 0 0 20 0 0 0\r\n' > shop1.txt
"$cli" check --layout shop-9 shop1.txt > usage.out 2> usage.err; status=$?
[ $status -eq 2 ] || fail "unknown layout exit $status"
[ -s usage.out ] && fail "unknown layout printed to stdout"
grep -qx "vaultsmith-cli: unknown layout 'shop-9' (known: .*bag-sections)" usage.err || fail "unknown layout: $(cat usage.err)"

# check goes on past a file it cannot read or of no kind: each is a finding, status 3.
printf 'x\r\n' > notes.txt
mkdir bagdir
"$cli" check shop1.txt notes.txt missing_shop.txt bagdir shop1.txt > check.out 2> check.err; status=$?
[ $status -eq 3 ] || fail "check past unreadable files exit $status"
[ "$(cat check.out)" = "notes.txt: error: the name tells neither a shop nor an item-bag file [unknown-kind]
missing_shop.txt: error: cannot be read: no such file [unreadable]
bagdir: error: cannot be read: it is a folder [unreadable]" ] || fail "check past unreadable files printed: $(cat check.out)"
[ "$(grep -c '^shop1.txt: layout' check.err)" -eq 2 ] || fail "the readable files were not both checked: $(cat check.err)"
tail -n 1 check.err | grep -qx '3 errors, 0 warnings in 5 files' || fail "check count: $(tail -n 1 check.err)"
grep -rq 'Open>' check.out check.err && fail "a message carries the window's prefix"
"$cli" check > /dev/null 2>&1; [ $? -eq 2 ] || fail "check without a file is not bad usage"

# Every --json output is JSON, read by a parser of its own where one is installed.
json_ok() { python3 -c 'import json, sys; json.load(open(sys.argv[1], encoding="utf-8"))' "$1" 2>/dev/null; }
if command -v python3 > /dev/null; then
  "$cli" storage new --hex vault.txt || fail "storage new exit $?"
  "$cli" storage set vault.txt 9 "$("$cli" encode --only vault --name 'short sword' 2> /dev/null)" || fail "storage set of an encoded name"
  printf '// caf\xe9 "q" \\\r\n0 0 0 20 0 0 0 //\x01\r\n' > shop2.txt
  for args in "check --json shop1.txt notes.txt missing_shop.txt" "search --json sword" "decode --json 01AEFF000003E8210000" \
              "entries --json shop2.txt" "grid --json shop2.txt" "storage list --json vault.txt"; do
    # shellcheck disable=SC2086
    "$cli" $args > out.json 2> /dev/null
    json_ok out.json || fail "$args printed no JSON: $(head -c 300 out.json)"
  done
else
  echo "SKIP: python3 not found; --json outputs not parsed here (the unit tests parse them)"
fi

# Every corpus file normalizes to its own bytes; the result is stable and ends as its kind demands.
if [ -d "$corpus" ]; then
  count=0
  for f in "$corpus"/*; do
    "$cli" normalize "$f" -o "$work/once.txt" || { fail "normalize $f exit $?"; continue; }
    "$cli" normalize "$work/once.txt" > /dev/null 2>&1   # a name without shop/bag is refused
    [ $? -eq 2 ] || fail "normalize of a name without shop or bag was not refused"
    cp "$work/once.txt" "$work/again-$(basename "$f")"
    "$cli" normalize "$work/again-$(basename "$f")" > "$work/twice.txt" || fail "renormalize $f"
    cmp -s "$work/once.txt" "$work/twice.txt" || fail "normalizing $f twice changed it"
    # Nothing is lost: the saved file holds the original bytes, and a shop file ends with an end line.
    head -c "$(stat -c %s "$f")" "$work/once.txt" | cmp -s - "$f" || fail "normalize changed the bytes of $f"
    case "$(basename "$f" | tr A-Z a-z)" in
      *shop*) tr '\r' '\n' < "$work/once.txt" | grep -v '^[[:space:]]*$' | tail -n 1 | grep -qix '[[:space:]]*end[[:space:]]*' \
                || fail "$f does not end with an end line" ;;
      *) cmp -s "$work/once.txt" "$f" || fail "normalize changed $f" ;;
    esac
    # One tidy pass settles: tidying the tidied file changes nothing.
    cat "$f" > "$work/tidy-$(basename "$f")"
    "$cli" normalize --tidy "$work/tidy-$(basename "$f")" -o "$work/tidy-$(basename "$f")" || fail "tidy $f"
    "$cli" normalize --tidy "$work/tidy-$(basename "$f")" | cmp -s - "$work/tidy-$(basename "$f")" \
      || fail "tidying $f twice changed it"
    count=$((count + 1))
  done
  echo "normalized $count corpus files"
  # check runs on every corpus file: 0 (no error) or 3 (an error), a count on stderr.
  for f in "$corpus"/*; do
    "$cli" check "$f" > "$work/check.out" 2> "$work/check.err"
    status=$?
    [ $status -eq 0 ] || [ $status -eq 3 ] || fail "check $f exit $status"
    grep -q " errors\?, .* warnings\? in 1 file$" "$work/check.err" || fail "check $f printed no count"
    head -n 1 "$work/check.err" | grep -q "^$f: layout \(shop-7\|shop-8\|bag-6\|bag-sections\) (" \
      || fail "check $f did not name its layout first: $(head -n 1 "$work/check.err")"
    [ $status -eq 0 ] || grep -q ": error: " "$work/check.out" || fail "check $f exit 3 without an error line"
  done
else
  echo "SKIP: corpus not found at $corpus; corpus normalization not checked"
fi

if [ $failures -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "cli program checks passed"
