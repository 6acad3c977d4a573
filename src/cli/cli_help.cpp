#include "cli/cli_help.h"

namespace vs::cli {

namespace {

constexpr std::string_view kOverview =
    R"(Usage: vaultsmith-cli [--data DIR] [--encoding NAME] COMMAND [ARGS...]

Composes and reads item codes, and reads and writes shop and item-bag files,
as the Vaultsmith editor does.

Commands:
  encode     compose the vault, shop and bag codes of an item
  decode     read the fields of a 20-digit vault code
  entries    list the entries of a shop or item-bag file
  normalize  rewrite a shop or item-bag file as the editor saves it
  catalog    print the item catalog and the subtype table
  search     find items and named subtypes by name
  check      report what the server will make of shop and item-bag files
  grid       show where the server puts a shop's goods
  storage    list, check and edit an inventory or warehouse file
  db         pull, push and check the storages in the server's database

Options:
  --data DIR  folder holding item(Kor).txt and subtypes.txt (default: ./data
              when it holds the catalog, else the data shipped with the program)
  --encoding NAME
              print entry texts and item names as UTF-8, reading them in the
              code page NAME unless the file is UTF-8 (entries, decode, catalog
              and search); without it they are printed as the bytes they are.
              NAME: windows-1252, windows-949, GBK, Big5, Shift_JIS,
              windows-1251 or UTF-8 (also cp1252, cp949, cp1251, sjis, any case)
  --help      show this text; 'vaultsmith-cli COMMAND --help' shows a command's
  --version   print the program's version

File layouts (entries, normalize, check and grid tell a file's layout from
its lines; --layout NAME chooses one):
  shop-7        Type Index Level Durab Skill Luck Option
  shop-8        Type Index Level Durab Skill Luck Option EXC
  bag-6         Type Index Level Skill Exc AddOption
  bag-sections  section 0 (drop places), 1 (the event) and 2 (the items:
                Type Index MinLevel MaxLevel Skill Luck AddOption Exitemflag),
                each closed by "end"

--json (entries, search, decode, check, grid and storage list) prints one
JSON array of objects, every field named; texts are UTF-8 with --encoding,
otherwise a text that is not UTF-8 is given byte for byte as the characters
U+0000..U+00FF. --backup (normalize -o, storage set, clear and move) keeps a
file about to be replaced as FILE.bak beside it.

Exit status: 0 success, 1 the data files failed to load, 2 bad usage,
3 check, storage check or db check found an error, 4 db push found the
row changed since it was read.
)";

constexpr std::string_view kEncode =
    R"(Usage: vaultsmith-cli encode [--serial N] [--exc LIST] [--only vault|shop|bag]
                            CLASS INDEX LEVEL DUR SKILL LUCK OPTION
       vaultsmith-cli encode --name NAME [--level N] [--dur N] [--skill 0|1]
                            [--luck 0|1] [--option N] [--encoding NAME]
                            [--serial N] [--exc LIST] [--only vault|shop|bag]

Prints the item's codes, one per line:
  vault <20 hex digits>
  shop <class index level dur skill luck option>
  bag <class index level skill luck option>

Ranges: CLASS 0..15, INDEX 0..31, LEVEL 0..12, DUR 0..255, SKILL 0|1, LUCK 0|1,
OPTION 0..4.
  --serial N    serial number, -2147483648..2147483647 (default 0)
  --exc LIST    excellent options: comma list of 0..5, or 'all'
  --only KIND   print only that code, without its label

With --name the item is chosen by its catalog name, as the editor's search
box finds it (parts of names, any letter case, the first three words; a word
beginning with '-' excludes): the item or named subtype whose whole name NAME
is, else the one name holding every word of NAME. A subtype's name gives its
level. The choice is named on standard error:
  --name 'NAME': CLASS INDEX LEVEL NAME      (LEVEL - for an item's own name)
A name that chooses several items is bad usage listing them (CLASS INDEX
LEVEL NAME, at most 20), and so is one that chooses none. The other fields
come from options:
  --level N     0..12 (default: the subtype's level, else 0)
  --dur N       0..255 (default: the catalog's durability, limited to 0..255)
  --skill 0|1, --luck 0|1, --option N (0..4)   (default 0)
  --encoding NAME  NAME is typed as UTF-8 and looked for in names read in the
                   code page NAME (see 'vaultsmith-cli --help')
--level, --dur, --skill, --luck, --option and --encoding go with --name only.
)";

constexpr std::string_view kDecode =
    R"(Usage: vaultsmith-cli decode [--encoding NAME] [--json] HEX

Reads a 20-digit vault code (either letter case) and prints class, index, level,
dur, skill, luck, option, serial and exc (ascending list or 'none'), one per line,
then the item's name when the catalog loads: "Excellent " in front when an
excellent option is set, "+Luck" when luck is.
  --encoding NAME  print the name as UTF-8, read in the code page NAME unless
                   the catalog's names are UTF-8 (see 'vaultsmith-cli --help')
  --json           print an array of one object {class, index, level, dur,
                   skill, luck, option, serial, exc (an array of the options
                   set), name (null without a catalog)}
)";

constexpr std::string_view kEntries =
    R"(Usage: vaultsmith-cli entries [--encoding NAME] [--layout NAME] [--json] FILE

Reads FILE as File > Open does (a shop file when its name holds "shop", an
item-bag file when it holds "bag") and prints one line per entry: the kind
(0 blank, 1 item, 2 comment), a tab and the entry text, its control bytes
shown as \xNN. The layout read is named on standard error:
  FILE: layout NAME (COLUMNS)
  --encoding NAME  print the texts as UTF-8: as they are when the whole file is
                   UTF-8 holding a byte above 127, else read in the code page
                   NAME (see 'vaultsmith-cli --help')
  --layout NAME    read FILE in the layout NAME, not the one told from it:
                   shop-7, shop-8, bag-6 or bag-sections (see 'vaultsmith-cli
                   --help'); another name is bad usage
  --json           print one JSON array of {line (the file's line, from 1),
                   kind (0, 1 or 2), kindName (blank, item or comment), text
                   (as the file holds it, control bytes included)}
)";

constexpr std::string_view kNormalize =
    R"(Usage: vaultsmith-cli normalize [--tidy] [--layout NAME] FILE
                               [-o OUT [--backup]]

Reads FILE as File > Open does and writes the exact bytes File > Save writes
for that list, to OUT (replaced atomically; OUT may be FILE) or to standard
output. An untouched file comes back as it was, with an "end" line added to a
shop file lacking one.

  --tidy           write every entry in the file's layout (item fields
                   separated by single blanks or tabs, "//" before a comment,
                   nothing for an empty one), as Save writes an edited entry;
                   a tidy file stays as it is when tidied again
  --backup         keep an existing OUT as it was beside it, as OUT.bak
                   (replacing an older one); no OUT.bak when OUT is new
  --layout NAME    read FILE in the layout NAME, not the one told from it:
                   shop-7, shop-8, bag-6 or bag-sections (see 'vaultsmith-cli
                   --help'); another name is bad usage
)";

constexpr std::string_view kCatalog =
    R"(Usage: vaultsmith-cli catalog [--encoding NAME]

Loads the data files as the editor does at start-up and prints
  item<TAB>CLASS<TAB>INDEX<TAB>WIDTH<TAB>HEIGHT<TAB>DUR<TAB>NAME
for every catalog item in class and index order, then
  subtype<TAB>ID<TAB>LEVEL<TAB>NAME
for every subtype row in table order.
  --encoding NAME  print the names as UTF-8, read in the code page NAME unless
                   the catalog's names (all of them together) are UTF-8
)";

constexpr std::string_view kCheck =
    R"(Usage: vaultsmith-cli check [--json] [--names] [--layout NAME] FILE...

Reads each shop or item-bag file as File > Open does, in the layout told from
it, and reports what the server will make of it, one finding a line, in file
then line order (control bytes in a message shown as \xNN):
  FILE:LINE: error: MESSAGE [CODE]
  FILE:LINE: warning: MESSAGE [CODE]
A file that cannot be read, or whose name holds neither "shop" nor "bag", is
one error of its own, without a line, and the other files are checked all the
same:
  FILE: error: cannot be read: REASON [unreadable]
  FILE: error: the name tells neither a shop nor an item-bag file [unknown-kind]
Errors: missing-fields and extra-fields (fewer or more columns than the
layout's), not-a-number, out-of-range, level-range (MinLevel above MaxLevel),
unknown-item, after-end (an item after a shop's or a section's "end", which
the server never reads), not-text (bytes that are no text: the one finding for
the file); in shop files not-sold (the item does not fit the 8 x 15 grid) and
bad-size; in files in sections unknown-section, section-not-closed,
settings-columns (a settings row with another number of values than its
section's columns) and outside-section (an item before any section).
Warnings: level-shown-as-12, number-notation (a fraction, exponent or &H / &O
number), stray-text (a line that is neither an item nor a // comment).
Standard error names each file's layout, FILE: layout NAME (COLUMNS), and a
last line counts the errors and warnings.

  --json           print one JSON array of {file, layout, line, severity,
                   code, message}; layout and line are null for an
                   unreadable or unknown-kind finding
  --names          also warn when an item's comment does not hold the display
                   name its fields describe (comment-not-name)
  --layout NAME    read FILE in the layout NAME, not the one told from it:
                   shop-7, shop-8, bag-6 or bag-sections (see 'vaultsmith-cli
                   --help'); another name is bad usage

Exit status: 0 no error, 3 an error (one that cannot be read counts), 1 the
data files failed to load, 2 bad usage (no FILE, an unknown option).
)";

constexpr std::string_view kGrid =
    R"(Usage: vaultsmith-cli grid [--map | --json] [--layout NAME] FILE

Lays out a shop file's item entries as the server does: in file order, each
at the first place (rows from the top, columns from the left) where its
catalog width x height fits the 8 x 15 grid. Prints one line per item entry:
  LINE<TAB>X<TAB>Y<TAB>WIDTH<TAB>HEIGHT<TAB>NAME
X and Y are the 0-based column and row of its top-left cell, or - and - when
it is not placed. An item after the shop's "end" is not sold: never placed.

  --map            print the 15 rows of 8 cells instead, each the number of
                   the item entry covering it (or .), then the items not placed
  --json           print one JSON array of {line, x, y (null when not
                   placed), width, height, name, placed (true or false), fate
                   (placed, no-room, unknown-item, bad-size or after-end)}
  --layout NAME    read FILE in the layout NAME, not the one told from it:
                   shop-7, shop-8, bag-6 or bag-sections (see 'vaultsmith-cli
                   --help'); another name is bad usage

An item-bag file has no grid: bad usage (exit status 2).
)";

constexpr std::string_view kStorage =
    R"(Usage: vaultsmith-cli storage new [--warehouse | --inventory] [--hex] FILE
       vaultsmith-cli storage list [--json] FILE
       vaultsmith-cli storage map FILE
       vaultsmith-cli storage check FILE...
       vaultsmith-cli storage set FILE SLOT CODE [-o OUT] [--backup]
       vaultsmith-cli storage clear FILE SLOT [-o OUT] [--backup]
       vaultsmith-cli storage move FILE SLOT X Y [-o OUT] [--backup]
       vaultsmith-cli storage sql FILE (--account NAME | --character NAME)
                                  [--table NAME] [--column NAME]

Reads a warehouse (120 slots, an 8 x 15 grid) or an inventory (12 equipped
slots, then an 8 x 8 grid) of 10-byte slots: the raw bytes (1,200 or 760) or
text holding their hexadecimal digits, either case, with or without a leading
0x, blanks and line breaks allowed between them. An item lies in the slot of
its top-left cell; the cells its catalog width x height covers hold empty
slots (ten FF bytes). Slot s of a warehouse is column s mod 8, row s div 8;
inventory slot 12 + s is column s mod 8, row s div 8.

  new    make FILE an empty storage: a warehouse, or an inventory with
         --inventory; its raw bytes, or with --hex one line of its
         hexadecimal digits. An existing FILE is refused (bad usage) and
         left as it is.
  list   one line per item: SLOT<TAB>X<TAB>Y<TAB>CODE<TAB>NAME (X and Y are -
         for an equipped slot); with --json one JSON array of {slot, x, y
         (null for an equipped slot), code, name}
  map    the grid, each cell the slot of the item covering it (. when free),
         an inventory's equipped slots by name (- when empty), then a line
         misplaced: SLOT NAME (WHY) for each item that leaves the grid or
         lies under another
  check  FILE:SLOT: error|warning: MESSAGE [CODE] per finding, then a count
         on standard error. Errors: outside-grid, overlap, covered-slot,
         unknown-item, out-of-range, duplicate-serial (also across the files
         given). Warning: wiped-slot (ten zero bytes).
  set    put the 20-digit vault code CODE into SLOT (replacing its item)
  clear  empty SLOT
  move   move the item in SLOT to column X, row Y
  sql    print the statement that stores the file in the server's database:
           UPDATE warehouse SET Items = 0x<HEX> WHERE AccountID = 'NAME';
           UPDATE Character SET Inventory = 0x<HEX> WHERE Name = 'NAME';
         NAME is 1 to 10 letters, digits or underscores; --table and --column
         change the table and the items column.

  --inventory, --warehouse  read FILE as that kind (otherwise its length
                            tells it); for new, the kind to make
  -o OUT  write the result to OUT instead of replacing FILE; either way the
          file is replaced in one step and keeps the form FILE came in (text
          becomes one line of upper-case digits)
  --backup  keep the file about to be replaced (FILE, or an existing OUT) as
          it was beside it, as FILE.bak (replacing an older one)

An item that would leave the grid or cover another is refused and nothing is
written. Exit status: 0 done (check: no error), 3 check found an error, 1 the
data files failed to load, 2 bad usage, a refused edit, a file that is not
a storage or, for new, a FILE that exists.
)";

constexpr std::string_view kDatabase =
    R"(Usage: vaultsmith-cli db pull URL (--account NAME | --character NAME)
                               [-o FILE [--hex] | --json]
       vaultsmith-cli db push URL (--account NAME | --character NAME) FILE
                               (--expect ORIGINAL | --force)
       vaultsmith-cli db check URL [--warehouses] [--inventories] [--json]
   each also takes [--table NAME] [--key NAME] [--column NAME]

Reads and writes the storages the server keeps in its database: an account's
warehouse (table warehouse, key column AccountID, items column Items) and a
character's inventory (table Character, key column Name, items column
Inventory), one binary column each.

URL:
  odbc:DSN                          an ODBC data source, or a whole connection
                                    string (DRIVER={...};SERVER=...;UID=...)
  mysql://USER@HOST[:PORT]/DB       MySQL or MariaDB
  postgresql://USER@HOST[:PORT]/DB  PostgreSQL
  sqlite:PATH                       an SQLite file (never made)
The password comes from VAULTSMITH_DB_PASSWORD, or is asked for without echo
when standard input is a terminal; it never stands in the URL.

  pull   the storage of the account or character: with -o FILE its raw bytes
         (with --hex one line of its hexadecimal digits) written to FILE,
         else listed as 'storage list' lists a file (--json as there)
  push   writes FILE (a storage file of the kind) into the row in one
         transaction, only while the row still holds ORIGINAL's bytes (the
         file as pulled); when it does not, nothing is written and the exit
         status is 4. --force writes whatever the row holds, and says so.
  check  reads every warehouse and inventory (or only the kinds given) in one
         read-only transaction, a row at a time, and checks them as 'storage
         check' checks files given together: NAME:SLOT: error|warning:
         MESSAGE [CODE] per finding (NAME the account or character), a serial
         held by more than one item anywhere at each holder but the first,
         naming the others; a row holding no storage is an "unreadable" error
         at slot 0. With --json one JSON array of {kind, owner, slot,
         severity, code, message}. A count of findings and rows read goes to
         standard error.

  --table, --key, --column  the table, its key column and its items column
         for the kind (db check: with --warehouses or --inventories alone);
         a letter or underscore, then letters, digits or underscores. Names
         and values never enter the statement's text unchecked: the names
         are quoted as the database quotes them, the values are bound.

Exit status: 0 done (check: no error), 1 the data files failed to load,
2 bad usage, a database that cannot be reached or read, a missing row,
3 check found an error, 4 push found the row changed since it was read.
)";

constexpr std::string_view kSearch =
    R"(Usage: vaultsmith-cli search [--words] [--encoding NAME] [--json] TERM...

Searches item and subtype names as the editor's Find does. The terms joined by
single spaces are the query; only the first three count, and a term beginning
with '-' excludes names that contain it. Prints the ranked rows, one a line:
  CLASS<TAB>INDEX<TAB>LEVEL<TAB>NAME
LEVEL is a named subtype's level, or - for the item's own name (encode
composes the item from CLASS INDEX LEVEL, or from its name).
  --words          match whole words instead of parts of names
  --json           print one JSON array of {class, index, level (null for
                   the item's own name), name}
  --encoding NAME  the terms are UTF-8 and are looked for in names read in the
                   code page NAME unless the catalog's names are UTF-8; names
                   are printed as UTF-8. A term the code page cannot hold is
                   bad usage.
)";

}  // namespace

std::string_view helpText(std::string_view command)
{
    if (command.empty())
        return kOverview;
    if (command == "encode")
        return kEncode;
    if (command == "decode")
        return kDecode;
    if (command == "entries")
        return kEntries;
    if (command == "normalize")
        return kNormalize;
    if (command == "catalog")
        return kCatalog;
    if (command == "search")
        return kSearch;
    if (command == "check")
        return kCheck;
    if (command == "grid")
        return kGrid;
    if (command == "storage")
        return kStorage;
    if (command == "db")
        return kDatabase;
    return {};
}

}  // namespace vs::cli
