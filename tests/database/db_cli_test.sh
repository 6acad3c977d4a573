#!/usr/bin/env bash
# vaultsmith-cli db as a script sees it, against an SQLite file: pull, edit,
# push round trips; a push after someone else's change is refused (exit 4)
# and changes nothing; --force writes and says so; check's findings and
# counts; bad URLs, missing files and passwords are one line and exit 2.
set -u
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
command -v sqlite3 > /dev/null || { echo "sqlite3 is not installed; db CLI checks skipped"; exit 77; }
cd "$work"
unset VAULTSMITH_DB_PASSWORD

# One line on stderr, nothing on stdout, the exit status given.
expect_refusal() {  # STATUS TEXT COMMAND...
  local want=$1 text=$2; shift 2
  "$@" > refusal.out 2> refusal.err < /dev/null; local status=$?
  [ $status -eq "$want" ] || fail "$*: exit $status, not $want ($(cat refusal.err))"
  [ -s refusal.out ] && fail "$*: printed to stdout"
  [ "$(wc -l < refusal.err)" -eq 1 ] || fail "$*: $(wc -l < refusal.err) lines on stderr: $(cat refusal.err)"
  grep -qF -- "$text" refusal.err || fail "$*: no '$text' in: $(cat refusal.err)"
}
rows() { sqlite3 game.db "SELECT AccountID, hex(Items) FROM warehouse ORDER BY AccountID; SELECT Name, hex(Inventory) FROM Character ORDER BY Name;"; }

code() { "$cli" encode --only vault --name 'short sword' --serial "$1" 2> /dev/null; }
"$cli" storage new a.bin && "$cli" storage set a.bin 0 "$(code 11)" && "$cli" storage set a.bin 9 "$(code 12)" || fail "making a.bin"
"$cli" storage new b.bin && "$cli" storage set b.bin 4 "$(code 21)" || fail "making b.bin"
"$cli" storage new --inventory h.bin && "$cli" storage set h.bin 20 "$(code 31)" || fail "making h.bin"
sqlite3 game.db "CREATE TABLE warehouse (AccountID VARCHAR(10) PRIMARY KEY, Items BLOB);
                 CREATE TABLE Character (Name VARCHAR(10) PRIMARY KEY, Inventory BLOB);
                 INSERT INTO warehouse VALUES ('alice', readfile('a.bin')), ('bob', readfile('b.bin'));
                 INSERT INTO Character VALUES ('Hero', readfile('h.bin'));" || fail "making game.db"
url=sqlite:game.db
"$cli" db --help | grep -q "Usage: vaultsmith-cli db pull URL" || fail "db --help"
"$cli" --help | grep -q "^  db " || fail "db missing from --help"

# Pull, edit, push: byte for byte.
"$cli" db pull $url --account alice -o pulled.bin || fail "pull exit $?"
cmp -s pulled.bin a.bin || fail "pulled bytes differ from the row's"
"$cli" db pull $url --account alice -o pulled.hex --hex || fail "pull --hex exit $?"
[ "$(tr -d '\n' < pulled.hex)" = "$(sqlite3 game.db "SELECT hex(Items) FROM warehouse WHERE AccountID = 'alice'")" ] || fail "pull --hex digits"
"$cli" db pull $url --account alice > listing.out || fail "pull listing exit $?"
[ "$(cut -f1 listing.out | tr '\n' ' ')" = "0 9 " ] || fail "listing: $(cat listing.out)"
cp pulled.bin edited.bin && "$cli" storage set edited.bin 50 "$(code 13)" || fail "editing"
"$cli" db push $url --account alice edited.bin --expect pulled.bin 2> push.err || fail "push exit $? ($(cat push.err))"
"$cli" db pull $url --account alice -o again.bin && cmp -s again.bin edited.bin || fail "pushed bytes not read back"
"$cli" db pull $url --character Hero -o hero.bin && cmp -s hero.bin h.bin || fail "inventory pull"

# Someone else writes the row in between: refused, exit 4, nothing changed.
"$cli" db pull $url --account bob -o bob.bin
sqlite3 game.db "UPDATE warehouse SET Items = readfile('a.bin') WHERE AccountID = 'bob'"
before=$(rows)
cp bob.bin bob-edit.bin && "$cli" storage clear bob-edit.bin 4
expect_refusal 4 "changed since bob.bin was read; nothing written" "$cli" db push $url --account bob bob-edit.bin --expect bob.bin
[ "$(rows)" = "$before" ] || fail "a refused push changed a row"
"$cli" db push $url --account bob bob-edit.bin --force 2> force.err || fail "push --force exit $?"
grep -qF -- "--force" force.err || fail "--force does not say so: $(cat force.err)"
"$cli" db pull $url --account bob -o bob-now.bin && cmp -s bob-now.bin bob-edit.bin || fail "--force did not write"

# Refusals: one line, exit 2, nothing written.
before=$(rows)
expect_refusal 2 "of no kind known" "$cli" db pull mssql://sa@host/db --account alice
expect_refusal 2 "no such file" "$cli" db pull sqlite:missing.db --account alice
[ -e missing.db ] && fail "a missing SQLite file was made"
expect_refusal 2 "no row of table warehouse has AccountID = 'x' OR '1'='1'; nothing written" "$cli" db push $url --account "x' OR '1'='1" edited.bin --force
expect_refusal 2 "no row of table warehouse has AccountID = 'nobody'" "$cli" db pull $url --account nobody
expect_refusal 2 "--expect ORIGINAL" "$cli" db push $url --account alice edited.bin
expect_refusal 2 "not a warehouse" "$cli" db push $url --account alice h.bin --force
expect_refusal 2 "--table must be a letter" "$cli" db pull $url --account alice --table "warehouse;--"
expect_refusal 2 "no password" "$cli" db pull odbc:NoSuchSource --account alice
VAULTSMITH_DB_PASSWORD=x expect_refusal 2 "cannot connect to MySQL at sa@127.0.0.1:1/game" "$cli" db pull mysql://sa@127.0.0.1:1/game --account alice
[ "$(rows)" = "$before" ] || fail "a refusal changed a row"

# check: the findings over every row, duplicates across kinds, exit 3.
"$cli" storage new dup.bin && "$cli" storage set dup.bin 3 "$(code 31)"
sqlite3 game.db "INSERT INTO warehouse VALUES ('carol', readfile('dup.bin'))"
"$cli" db check $url > check.out 2> check.err; status=$?
[ $status -eq 3 ] || fail "check exit $status"
[ "$(cat check.out)" = "carol:3: error: serial 31 is also used by character Hero slot 20 [duplicate-serial]" ] ||
  [ "$(cat check.out)" = "Hero:20: error: serial 31 is also used by account carol slot 3 [duplicate-serial]" ] ||
  fail "check printed: $(cat check.out)"
[ "$(cat check.err)" = "1 error, 0 warnings in 3 warehouses and 1 inventory" ] || fail "check counted: $(cat check.err)"
"$cli" db check $url --warehouses --json > check.json 2> /dev/null; status=$?
[ $status -eq 0 ] && [ "$(cat check.json)" = "[]" ] || fail "warehouses alone: exit $status, $(cat check.json)"
sqlite3 game.db "DELETE FROM warehouse"
"$cli" db check $url --warehouses > empty.out 2> empty.err; status=$?
[ $status -eq 0 ] && [ ! -s empty.out ] || fail "empty table: exit $status"
grep -qF "no warehouses (table warehouse is empty)" empty.err || fail "empty table: $(cat empty.err)"
# An owner name holding a line break and an escape: one line per finding, the bytes shown as \xNN.
sqlite3 game.db "INSERT INTO warehouse VALUES ('x' || char(10) || '0:0: error: forged' || char(27), x'00')"
"$cli" db check $url --warehouses > forged.out 2> /dev/null; status=$?
[ $status -eq 3 ] || fail "a row holding no storage: exit $status"
[ "$(wc -l < forged.out)" -eq 1 ] && grep -qF 'x\x0A0:0: error: forged\x1B:0: error:' forged.out \
  || fail "control bytes in an owner's name: $(cat -A forged.out)"

[ $failures -eq 0 ] && echo "db commands behave"
exit $((failures > 0))
