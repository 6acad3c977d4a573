// The window's speed and memory targets, driven offscreen as a user drives it.
// Start-up to the first shown window is timed against an empty QMainWindow
// started the same way. Every other scenario runs in a child process of its
// own, so that the peak memory of each is its own, under a hard time limit:
// a child still running at the limit is killed and its unfinished rows are
// printed as stopped ("> LIMIT", NO) instead of the run hanging.
//   - the 100,000-line shop file: Open, one edit, Update All, Remove All and
//     its Undo, the peak (the first targets of the window);
//   - the same file: Open, clicks that load a row, edits, the peak;
//   - a generated 638,939-line 8-column shop file (about 20 MB): Open, clicks,
//     edits and the peak; Window > Shop Grid (Ctrl+G) from closed to shown;
//     clicks and edits with the Shop Grid, Check File and the Table open; Exit;
//   - an 8 MB file that is one line of commas: the peak with it open.
// The bench knows the window only by object names: the list is the item view
// "lstShop" (any QAbstractItemView, rows counted through its model), the
// commands are the actions mnuOpen, mnuShopGrid, mnuCheck, mnuTable (when the
// window has it), mnuExit, mnuUpdateAll, mnuClearList and mnuUndo, the level
// selector is "comboLevel", the windows "formShopGrid" and "formTable".
// Prints table rows only (tools/bench prints the header); notes on the steps
// that are not rows (how long the Check took, ...) go to standard error.
//   window_bench                   all rows
//   window_bench --only NAME ...   only those scenarios (legacy-100k, shop-100k,
//                                  big, big-grid, big-all, commas; startup for
//                                  the start-up row)
//   window_bench --limit S ...     children killed after S seconds, not 150
//   window_bench --first-window K  child: starts the editor (K = editor) or an
//                                  empty QMainWindow (K = empty) and writes one
//                                  byte to standard output once it is shown
//   window_bench --scenario NAME FILE ROWS ROW
//                                  child: runs one scenario on FILE (whose list
//                                  holds ROWS rows; ROW the row to click last and
//                                  edit) and reports on standard output
#include "bench_table.h"

#include "catalog/catalog_loader.h"
#include "window/dialog_seam.h"
#include "window/editor_app.h"
#include "window/form_tolvane.h"

#include <QAbstractItemView>
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QApplication>
#include <QMainWindow>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A child still running after this many seconds is killed (--limit S).
int childLimitSeconds = 150;
// The generated big shop file.
constexpr int kBigLines = 638939;
// The file of one line of commas.
constexpr size_t kCommaBytes = 8u << 20;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double peakMegabytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Answers every box at once: Yes to questions, the prepared file to Open,
// Discard to unsaved changes and to recoveries.
class BenchDialogs : public vs::DialogSeam {
public:
    QString nextOpen;
    void message(QWidget*, const QString&, const QString&) override {}
    bool askYesNo(QWidget*, const QString&, const QString&) override { return true; }
    vs::SaveAnswer askSaveChanges(QWidget*, const QString&, const QString&) override
    {
        return vs::SaveAnswer::Discard;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return nextOpen; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    vs::RecoveryAnswer askRecovery(QWidget*, const QString&, const QString&) override
    {
        return vs::RecoveryAnswer::Discard;
    }
    std::optional<QString> askText(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    bool askDatabaseStorage(QWidget*, vs::DatabaseStorageRequest&) override { return false; }
    std::optional<QString> askPassword(QWidget*, const QString&, const QString&) override { return std::nullopt; }
    vs::ConflictAnswer askConflict(QWidget*, const QString&, const QString&) override
    {
        return vs::ConflictAnswer::Cancel;
    }
};

// ---------------------------------------------------------------------------
// Start-up

// The child: once the event loop runs, the first window has been shown.
int firstWindow(int argc, char** argv, bool editor)
{
    QApplication app(argc, argv);
    QTimer::singleShot(0, [] {
        if (::write(1, "x", 1) != 1)
            ::_exit(1);
        ::_exit(0);
    });
    if (editor) {
        BenchDialogs dialogs;
        return vs::runEditor(app, dialogs, VAULTSMITH_DATA_DIR);
    }
    QMainWindow window;
    window.show();
    return app.exec();
}

// Time from starting the child until it reports its window shown.
double timeFirstWindow(const char* self, const char* kind)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], 1);
        ::close(fds[0]);
        ::execl(self, self, "--first-window", kind, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    char byte = 0;
    const bool shown = ::read(fds[0], &byte, 1) == 1;
    const double ms = millisecondsSince(start);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!shown) {
        std::fprintf(stderr, "the %s window never showed\n", kind);
        std::exit(1);
    }
    return ms;
}

void benchStartUp(const char* self)
{
    std::vector<double> editor, empty;
    for (int run = 0; run < 9; ++run) {
        editor.push_back(timeFirstWindow(self, "editor"));
        empty.push_back(timeFirstWindow(self, "empty"));
    }
    const double editorMs = median(editor);
    const double emptyMs = median(empty);
    char label[160];
    std::snprintf(label, sizeof label, "start-up to first window: editor %.0f ms / empty QMainWindow %.0f ms",
                  editorMs, emptyMs);
    bench::rowAtMost(label, editorMs / emptyMs, 1.5, "x");
}

// ---------------------------------------------------------------------------
// The files

// The shop file of the core's rows: 100,000 lines, a heading every 50.
std::string generatedShop()
{
    std::string bytes;
    char line[128];
    for (int i = 0; i < 100000; ++i) {
        if (i % 50 == 0)
            std::snprintf(line, sizeof line, "//==== section %d ====\r\n", i / 50);
        else
            std::snprintf(line, sizeof line, "%d %d %d %d %d %d %d\t//Generated item %d\r\n", i % 16, i % 32, i % 13,
                          i % 256, i % 2, (i / 2) % 2, i % 5, i);
        bytes += line;
    }
    return bytes;
}

// The first row from the middle of generatedShop() that the editor loads and
// writes to: an item of the catalog, every column in the editor's range, a
// level the Down key can raise. (Many of its rows, row 50001 among them, name
// items the catalog does not have: the editor shows them but writes nothing
// into them, so an edit there would change nothing.)
int shopEditRow()
{
    const vs::Catalog catalog = vs::loadDataFolder(VAULTSMITH_DATA_DIR);
    for (int i = 50001; i < 100000; ++i)
        if (i % 50 != 0 && catalog.item(i % 16, i % 32) && i % 13 <= 10)
            return i;
    qFatal("no row of the generated shop file names a catalog item");
}

// A big shop file as servers keep them: tab-separated 8-column item lines
// (class, index, level, durability, skill, luck, option, excellent) of the
// catalog's items, each with its name in a comment, a heading comment every
// 50 lines, CRLF, "end" on the last line. kBigLines lines, about 21 MB; the
// list shows each line as a row.
std::string generatedBigShop()
{
    struct Known {
        int cls, index, dur;
        std::string name;
    };
    std::vector<Known> items;
    const vs::Catalog catalog = vs::loadDataFolder(VAULTSMITH_DATA_DIR);
    for (int c = 0; c < vs::kClassCount; ++c)
        for (int i = 0; i < vs::kItemsPerClass; ++i)
            if (const vs::clsItemProperty* item = catalog.item(c, i))
                items.push_back({c, i, item->dur, item->name});
    if (items.empty())
        qFatal("the catalog holds no items");

    std::string bytes;
    bytes.reserve(size_t(kBigLines) * 36);
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % below;
    };
    char line[256];
    for (int i = 0; i < kBigLines - 1; ++i) {
        if (i % 50 == 0) {
            if (i / 50 % 2 == 0)
                std::snprintf(line, sizeof line, "//==== Page %d ====\r\n", i / 50 / 2 + 1);
            else
                std::snprintf(line, sizeof line, "//  Type\tIndex\tLevel\tDurab\tSkill\tLuck\tOption\tEXC\r\n");
        } else {
            const Known& item = items[next(uint32_t(items.size()))];
            // Potions and the like (durability 255 in the catalog) carry their
            // count in the durability column; the rest have 0 there.
            const int dur = item.dur >= 255 ? int(1 + next(255)) : 0;
            const bool weapon = item.cls < 6;
            std::snprintf(line, sizeof line, "%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t//%s\r\n", item.cls, item.index,
                          int(next(10)), dur, weapon ? int(next(2)) : 0, int(next(2)), int(next(4)),
                          next(8) == 0 ? int(next(64)) : 0, item.name.c_str());
        }
        bytes += line;
    }
    bytes += "end\r\n";
    return bytes;
}

// ---------------------------------------------------------------------------
// The child side of a scenario: reports on standard output, a line each.
//   plan KEY LABEL LIMIT UNIT FORMAT   a row this scenario will print
//   begin KEY                          a sample of that row starts
//   sample KEY VALUE                   ... and took VALUE
//   row KEY VALUE [LABEL]              the row's value (and its label as measured)
//   stopped KEY WHY VALUE              the row's step was given up (VALUE "> 60 s")
// Fields are separated by tabs.

void say(const std::string& line)
{
    const std::string out = line + "\n";
    if (::write(1, out.data(), out.size()) != ssize_t(out.size()))
        ::_exit(3);
}

std::string text(double value)
{
    char v[64];
    std::snprintf(v, sizeof v, "%.6f", value);
    return v;
}

void plan(const std::string& key, const std::string& label, double limit, const char* unit, const char* format)
{
    say("plan\t" + key + "\t" + label + "\t" + text(limit) + "\t" + unit + "\t" + format);
}
void begin(const std::string& key) { say("begin\t" + key); }
void sample(const std::string& key, double value) { say("sample\t" + key + "\t" + text(value)); }
void row(const std::string& key, double value) { say("row\t" + key + "\t" + text(value)); }
// The row with its label as measured (how many samples were taken).
void row(const std::string& key, double value, const std::string& label)
{
    say("row\t" + key + "\t" + text(value) + "\t" + label);
}

// A step that takes longer than this is not repeated: its row is the median
// of the samples taken so far.
constexpr double kRepeatBelowMs = 2000;

// The median of the samples, the label telling how many were taken.
void medianRow(const std::string& key, const std::string& label, const std::vector<double>& times, size_t wanted)
{
    const std::string told = times.size() == wanted ? " (median of " + std::to_string(wanted) + ")"
                             : times.size() == 1    ? " (1 sample: over 2 s, not repeated)"
                                                    : " (median of " + std::to_string(times.size()) +
                                                       ": over 2 s, not repeated)";
    row(key, median(times), label + told);
}

void note(const std::string& what)
{
    std::fprintf(stderr, "window_bench: %s\n", what.c_str());
    std::fflush(stderr);
}

QWidget* shownWindow(const char* name)
{
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->objectName() == name && widget->isWindow() && widget->isVisible())
            return widget;
    return nullptr;
}

class Scenario {
public:
    Scenario(int& argc, char** argv, QString file, int rows, int editRow)
        : app_(argc, argv), file_(std::move(file)), rows_(rows), editRow_(editRow), window_(dialogs_)
    {
        if (!window_.Form_Load(VAULTSMITH_DATA_DIR))
            qFatal("start-up failed");
        window_.show();
        if (!QTest::qWaitForWindowExposed(&window_))
            qFatal("window not exposed");
        view_ = window_.findChild<QAbstractItemView*>("lstShop");
        if (!view_)
            qFatal("no item view lstShop");
    }

    vs::formTolvane& window() { return window_; }
    const QString& file() const { return file_; }
    // A row in the middle of the file that the editor can load and change.
    int editRow() const { return editRow_; }
    QAbstractItemView* view() { return view_; }
    int rowCount() const { return view_->model()->rowCount(); }

    QAction* action(const char* name)
    {
        QAction* found = window_.findChild<QAction*>(name);
        if (!found)
            qFatal("no action %s", name);
        return found;
    }

    // File > Open, until the list holds the file's rows; milliseconds.
    double open()
    {
        dialogs_.nextOpen = file_;
        const Clock::time_point start = Clock::now();
        action("mnuOpen")->trigger();
        bool told = false;
        while (rowCount() < rows_) {
            QCoreApplication::processEvents();
            if (!told && millisecondsSince(start) > 30000) {
                note("after 30 s the list holds " + std::to_string(rowCount()) + " rows of " + std::to_string(rows_));
                told = true;
            }
        }
        QCoreApplication::processEvents();
        return millisecondsSince(start);
    }

    // Brings the row into view, then clicks it; milliseconds from the click
    // until the events it caused are done (the entry is loaded into the editor).
    double click(int r)
    {
        QAbstractItemModel* model = view_->model();
        view_->scrollTo(model->index(r, 0));
        QCoreApplication::processEvents();
        const QPoint at = view_->visualRect(model->index(r, 0)).center();
        const Clock::time_point start = Clock::now();
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        const double ms = millisecondsSince(start);
        if (view_->currentIndex().row() != r)
            qFatal("the click on row %d left row %d current", r, view_->currentIndex().row());
        return ms;
    }

    // Clicks on `count` different rows in the middle (none a heading), the
    // last one `last`; each a sample of the row `key`.
    std::vector<double> clicks(const std::string& key, int last, int count)
    {
        std::vector<double> times;
        for (int i = count - 1; i >= 0; --i) {
            int r = last - 3 * i;
            if (r % 50 == 0)
                --r;
            begin(key);
            times.push_back(click(r));
            sample(key, times.back());
            if (times.back() > kRepeatBelowMs)
                break;
        }
        return times;
    }

    // The level of the selected entry one step down, then up, ... from the
    // keyboard; milliseconds until processEvents returns, each a sample.
    std::vector<double> edits(const std::string& key, int count)
    {
        QWidget* level = window_.findChild<QWidget*>("comboLevel");
        if (!level)
            qFatal("no comboLevel");
        level->setFocus();
        QCoreApplication::processEvents();
        std::vector<double> times;
        for (int i = 0; i < count; ++i) {
            const QModelIndex current = view_->currentIndex();
            const QString before = view_->model()->data(current).toString();
            begin(key);
            const Clock::time_point start = Clock::now();
            QTest::keyClick(level, i % 2 == 0 ? Qt::Key_Down : Qt::Key_Up);
            QCoreApplication::processEvents();
            times.push_back(millisecondsSince(start));
            sample(key, times.back());
            if (view_->model()->data(view_->model()->index(current.row(), 0)).toString() == before)
                qFatal("the level key changed nothing in row %d (%s)", current.row(), qPrintable(before));
            if (times.back() > kRepeatBelowMs)
                break;
        }
        return times;
    }

    // Back to the main window, as the user does after opening another window.
    void activate()
    {
        window_.activateWindow();
        window_.raise();
        QCoreApplication::processEvents();
    }

private:
    QApplication app_;
    BenchDialogs dialogs_;
    QString file_;
    int rows_;
    int editRow_;
    vs::formTolvane window_;
    QAbstractItemView* view_ = nullptr;
};

// The first rows of the window: Open of the 100,000-line file, one edit,
// Update All, Remove All and its Undo, the peak with the file open.
void legacy100k(Scenario& s)
{
    plan("open", "Open of the 100,000-line shop file until the list shows it", 0.3, "s", "%.3f");
    plan("edit", "one edit of a selected entry in that file", 5, "ms", "%.2f");
    plan("update", "Update All over that file", 3, "s", "%.3f");
    plan("remove", "Remove All of that file", 3, "s", "%.3f");
    plan("undo", "Undo of that Remove All", 3, "s", "%.3f");
    plan("peak", "peak memory of the window with that file open", 150, "MB", "%.1f");

    begin("open");
    row("open", s.open() / 1000);
    s.click(s.editRow());
    row("edit", median(s.edits("edit", 5)));
    // The peak with the file open, before Update All adds its undo step.
    const double peak = peakMegabytes();

    // Update All; a run far beyond its target is stopped after a minute
    // through its own progress dialog's Cancel (and printed as stopped).
    bool stopped = false;
    QTimer stopper;
    stopper.setSingleShot(true);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (auto* progress = s.window().findChild<QProgressDialog*>("dlgUpdateAll")) {
            progress->cancel();
            stopped = true;
        }
    });
    stopper.start(60 * 1000);
    begin("update");
    Clock::time_point start = Clock::now();
    s.action("mnuUpdateAll")->trigger();
    QCoreApplication::processEvents();
    const double seconds = millisecondsSince(start) / 1000;
    stopper.stop();
    if (stopped)
        say("stopped\tupdate\tstopped through its Cancel after 60 s\t> 60 s");
    else
        row("update", seconds);

    // Remove All, then Undo: every row goes and comes back (no target of its
    // own; the rows it changes are all of them, so Update All's is used).
    begin("remove");
    start = Clock::now();
    s.action("mnuClearList")->trigger();
    QCoreApplication::processEvents();
    row("remove", millisecondsSince(start) / 1000);
    begin("undo");
    start = Clock::now();
    s.action("mnuUndo")->trigger();
    QCoreApplication::processEvents();
    const double undo = millisecondsSince(start) / 1000;
    if (s.rowCount() < 100000)
        qFatal("undo of Remove All did not bring the rows back");
    row("undo", undo);
    row("peak", peak);
}

// The size of the scenario's file, "21 MB".
std::string megabytes(const Scenario& s)
{
    struct stat st{};
    const double mb = ::stat(qPrintable(s.file()), &st) == 0 ? st.st_size / 1e6 : 0;
    char size[32];
    std::snprintf(size, sizeof size, "%.0f MB", mb);
    return size;
}

// "638,939-line file (21 MB)".
std::string bigName(const Scenario& s)
{
    return "638,939-line shop file (" + megabytes(s) + ")";
}

// The 100,000-line file: Open, clicks on five middle rows, five edits, the peak.
void shop100k(Scenario& s)
{
    plan("open", "Open of the 100,000-line shop file (" + megabytes(s) + ")", 150, "ms", "%.1f");
    const std::string click = "click loading a row of the 100,000-line file";
    const std::string edit = "edit of that row, 100,000-line file";
    plan("click", click, 10, "ms", "%.2f");
    plan("edit", edit, 10, "ms", "%.2f");
    plan("peak", "peak memory with the 100,000-line file open", 100, "MB", "%.1f");
    begin("open");
    row("open", s.open());
    medianRow("click", click, s.clicks("click", s.editRow(), 5), 5);
    medianRow("edit", edit, s.edits("edit", 5), 5);
    row("peak", peakMegabytes());
}

// The big file alone: Open, clicks on five middle rows, five edits, the peak.
void big(Scenario& s)
{
    const std::string name = bigName(s);
    plan("open", "Open of the " + name, 1.5, "s", "%.3f");
    const std::string click = "click loading a row of the " + name;
    const std::string edit = "edit of that row, " + name;
    plan("click", click, 50, "ms", "%.1f");
    plan("edit", edit, 50, "ms", "%.1f");
    plan("peak", "peak memory with the " + name + " open", 350, "MB", "%.1f");
    begin("open");
    row("open", s.open() / 1000);
    medianRow("click", click, s.clicks("click", s.editRow(), 5), 5);
    medianRow("edit", edit, s.edits("edit", 5), 5);
    row("peak", peakMegabytes());
    // The recovery of the unsaved edits, written a few seconds after the last.
    const Clock::time_point start = Clock::now();
    s.window().writeRecoveries();
    note("big: recovery of the unsaved list written in " + text(millisecondsSince(start)) + " ms");
}

double openShopGrid(Scenario& s)
{
    if (shownWindow("formShopGrid"))
        qFatal("the Shop Grid is open before Ctrl+G");
    const Clock::time_point start = Clock::now();
    s.action("mnuShopGrid")->trigger();
    bool told = false;
    while (!shownWindow("formShopGrid")) {
        QCoreApplication::processEvents();
        if (!told && millisecondsSince(start) > 30000) {
            note("after 30 s no window formShopGrid is shown");
            told = true;
        }
    }
    QCoreApplication::processEvents();
    return millisecondsSince(start) / 1000;
}

// The big file: Ctrl+G, from the Shop Grid closed to shown with the file's grid.
void bigGrid(Scenario& s)
{
    plan("grid", "Ctrl+G (Shop Grid) until shown, " + bigName(s), 0.5, "s", "%.3f");
    note("big-grid: Open of the big file: " + text(s.open() / 1000) + " s");
    begin("grid");
    row("grid", openShopGrid(s));
}

// The Shop Grid opened on the list at start-up, then the big file opened,
// Edit > Check File run on it and View > Table opened (when the window has
// it), then the main window active again. Steps of no row of their own; their
// times go to standard error.
void openAllWindows(Scenario& s, const char* scenario)
{
    const std::string prefix = std::string(scenario) + ": ";
    note(prefix + "Shop Grid before Open: " + text(openShopGrid(s)) + " s");
    note(prefix + "Open of the big file with the Shop Grid open: " + text(s.open() / 1000) + " s");
    Clock::time_point start = Clock::now();
    s.action("mnuCheck")->trigger();
    QCoreApplication::processEvents();
    note(prefix + "Check File: " + text(millisecondsSince(start) / 1000) + " s");
    if (QAction* table = s.window().findChild<QAction*>("mnuTable")) {
        start = Clock::now();
        table->trigger();
        QCoreApplication::processEvents();
        if (!shownWindow("formTable"))
            qFatal("View > Table showed no window formTable");
        note(prefix + "View > Table: " + text(millisecondsSince(start) / 1000) + " s");
        // Sorting by a column and filtering, then back to the file's order.
        auto* header = s.window().findChild<QTableView*>("tblEntries")->horizontalHeader();
        start = Clock::now();
        header->setSortIndicator(3, Qt::AscendingOrder);
        QCoreApplication::processEvents();
        note(prefix + "Table sorted by its fourth column: " + text(millisecondsSince(start) / 1000) + " s");
        auto* filter = s.window().findChild<QLineEdit*>("txtFilter");
        start = Clock::now();
        filter->setText("item 1234");
        QCoreApplication::processEvents();
        note(prefix + "Table filtered: " + text(millisecondsSince(start) / 1000) + " s");
        filter->clear();
        header->setSortIndicator(-1, Qt::AscendingOrder);
        QCoreApplication::processEvents();
    }
    s.activate();
}

// The windows open besides the list, for the labels.
std::string windowsOpen(Scenario& s)
{
    return s.window().findChild<QAction*>("mnuTable") ? "Grid+Check+Table open"
                                                      : "Grid+Check open, Table not built yet";
}

// The big file with the Shop Grid, Check File and the Table open: clicks on
// middle rows, edits of the last one, then Exit with nothing unsaved (the
// edits undone first, Undo untimed).
void bigAll(Scenario& s)
{
    const std::string name = bigName(s);
    const std::string open = windowsOpen(s);
    const std::string click = "click loading a row, " + name + ", " + open;
    const std::string edit = "edit of that row, " + name + ", " + open;
    plan("click", click, 100, "ms", "%.1f");
    plan("edit", edit, 100, "ms", "%.1f");
    plan("exit", "Exit, nothing unsaved, " + name + ", " + open, 1, "s", "%.3f");
    openAllWindows(s, "big-all");
    medianRow("click", click, s.clicks("click", s.editRow(), 3), 3);
    const std::vector<double> times = s.edits("edit", 3);
    medianRow("edit", edit, times, 3);

    Clock::time_point start = Clock::now();
    for (size_t i = 0; i < times.size(); ++i) {
        s.action("mnuUndo")->trigger();
        QCoreApplication::processEvents();
    }
    note("big-all: " + std::to_string(times.size()) + " Undo: " + text(millisecondsSince(start) / 1000) + " s");
    if (s.window().isWindowModified())
        qFatal("the edits undone, the window still has unsaved changes");
    begin("exit");
    start = Clock::now();
    s.action("mnuExit")->trigger();
    while (s.window().isVisible())
        QCoreApplication::processEvents();
    row("exit", millisecondsSince(start) / 1000);
}

// One 8 MB line of commas: the peak with it open.
void commas(Scenario& s)
{
    plan("peak", "peak memory with an 8 MB line of commas open", 300, "MB", "%.1f");
    begin("peak");
    note("Open of the line of commas: " + text(s.open() / 1000) + " s");
    row("peak", peakMegabytes());
}

int runScenario(char** argv)
{
    const std::string name = argv[2];
    const QString file = QString::fromLocal8Bit(argv[3]);
    const int rows = std::atoi(argv[4]);
    const int editRow = std::atoi(argv[5]);
    int qtArgc = 1;
    Scenario s(qtArgc, argv, file, rows, editRow);
    if (name == "legacy-100k")
        legacy100k(s);
    else if (name == "shop-100k")
        shop100k(s);
    else if (name == "big")
        big(s);
    else if (name == "big-grid")
        bigGrid(s);
    else if (name == "big-all")
        bigAll(s);
    else if (name == "commas")
        commas(s);
    else
        qFatal("no scenario %s", name.c_str());
    // The rows are out; tearing the window down is no part of any of them.
    std::fflush(stderr);
    ::_exit(0);
}

// ---------------------------------------------------------------------------
// The parent side: runs a scenario's child and prints its rows.

struct Planned {
    std::string label, unit, format;
    double limit = 0;
    bool begun = false, done = false;
    std::vector<double> samples;
};

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t'))
        fields.push_back(field);
    return fields;
}

void printUnfinished(const Planned& p, const std::string& why, const std::string& value)
{
    std::string label = p.label + " (" + why;
    if (!p.samples.empty()) {
        label += "; samples done:";
        for (double v : p.samples) {
            char s[32];
            std::snprintf(s, sizeof s, " %.1f", v);
            label += s;
        }
        label += " " + p.unit;
    }
    label += ")";
    char t[64];
    std::snprintf(t, sizeof t, p.format.c_str(), p.limit);
    std::printf("| %-58s | %14s | <= %9s %-3s | %6s | %-4s |\n", label.c_str(), value.c_str(), t, p.unit.c_str(), "-",
                "NO");
    std::fflush(stdout);
}

// Runs `window_bench --scenario NAME FILE ROWS ROW` in a child with settings of
// its own, killed after childLimitSeconds; prints each row as it comes.
bool runChild(const char* self, const std::string& name, const QString& file, int rows, int editRow,
              const QString& home)
{
    const QString settings = home + "/" + QString::fromStdString(name);
    ::mkdir(qPrintable(settings), 0700);
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    const std::string fileArg = file.toStdString();
    const std::string rowsArg = std::to_string(rows);
    const std::string editArg = std::to_string(editRow);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Its settings, recoveries and runtime files in a folder of its own.
        const std::string dir = settings.toStdString();
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
        ::setenv("XDG_CACHE_HOME", dir.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        ::dup2(fds[1], 1);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execl(self, self, "--scenario", name.c_str(), fileArg.c_str(), rowsArg.c_str(), editArg.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);

    std::vector<std::string> order;
    std::map<std::string, Planned> planned;
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::seconds(childLimitSeconds);
    std::string pending;
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            timedOut = true;
            break;
        }
        char buffer[4096];
        const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        pending.append(buffer, size_t(got));
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::vector<std::string> f = splitTabs(pending.substr(0, end));
            pending.erase(0, end + 1);
            if (f.size() == 6 && f[0] == "plan") {
                order.push_back(f[1]);
                Planned& p = planned[f[1]];
                p.label = f[2];
                p.limit = std::atof(f[3].c_str());
                p.unit = f[4];
                p.format = f[5];
            } else if (f.size() == 2 && f[0] == "begin" && planned.count(f[1])) {
                planned[f[1]].begun = true;
            } else if (f.size() == 3 && f[0] == "sample" && planned.count(f[1])) {
                planned[f[1]].samples.push_back(std::atof(f[2].c_str()));
            } else if (f.size() == 4 && f[0] == "stopped" && planned.count(f[1])) {
                Planned& p = planned[f[1]];
                p.done = true;
                printUnfinished(p, f[2], f[3]);
            } else if ((f.size() == 3 || f.size() == 4) && f[0] == "row" && planned.count(f[1])) {
                Planned& p = planned[f[1]];
                p.done = true;
                if (f.size() == 4)
                    p.label = f[3];
                bench::rowAtMost(p.label, std::atof(f[2].c_str()), p.limit, p.unit.c_str(), p.format.c_str());
            }
        }
    }
    if (timedOut)
        ::kill(pid, SIGKILL);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const bool clean = !timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0;

    const std::string limit = "> " + std::to_string(childLimitSeconds) + " s";
    bool stoppedOne = false;
    for (const std::string& key : order) {
        const Planned& p = planned[key];
        if (p.done)
            continue;
        if (timedOut && p.begun && !stoppedOne) {
            printUnfinished(p, "stopped at the " + std::to_string(childLimitSeconds) + " s limit", limit);
            stoppedOne = true;
        } else if (timedOut) {
            printUnfinished(p, "not reached in the time limit", "-");
        } else {
            printUnfinished(p, clean ? "not measured" : "the scenario failed", "-");
        }
    }
    if (order.empty())
        std::fprintf(stderr, "window_bench: the scenario %s printed no rows\n", name.c_str());
    if (!clean)
        std::fprintf(stderr, "window_bench: the scenario %s %s after %.0f s\n", name.c_str(),
                     timedOut ? "was stopped" : "failed", millisecondsSince(start) / 1000);
    return clean;
}

void writeFile(const QString& path, const std::string& bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << bytes;
    if (!out.flush())
        qFatal("cannot write %s", qPrintable(path));
}

int benchWindow(int argc, char** argv)
{
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--limit") == 0 && i + 1 < argc)
            childLimitSeconds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--only") != 0)
            only.emplace_back(argv[i]);
    auto wanted = [&](const std::string& name) {
        return only.empty() || std::find(only.begin(), only.end(), name) != only.end();
    };

    if (wanted("startup"))
        benchStartUp(argv[0]);

    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary folder");
    const QString shop = dir.filePath("shop_generated.txt");
    writeFile(shop, generatedShop());
    const QString bigShop = dir.filePath("shop_big.txt");
    writeFile(bigShop, generatedBigShop());
    const QString commaLine = dir.filePath("shop_commas.txt");
    writeFile(commaLine, std::string(kCommaBytes, ','));

    // Every item line of the big file is a catalog item at a level the editor
    // can raise; the middle one (a heading falls on every 50th row).
    const int bigRow = kBigLines / 2 % 50 == 0 ? kBigLines / 2 + 1 : kBigLines / 2;
    bool clean = true;
    const struct {
        const char* name;
        const QString& file;
        int rows, editRow;
    } scenarios[] = {
        {"legacy-100k", shop, 100000, shopEditRow()}, {"shop-100k", shop, 100000, shopEditRow()},
        {"big", bigShop, kBigLines, bigRow},          {"big-grid", bigShop, kBigLines, bigRow},
        {"big-all", bigShop, kBigLines, bigRow},      {"commas", commaLine, 1, 0},
    };
    for (const auto& scenario : scenarios)
        if (wanted(scenario.name))
            clean = runChild(argv[0], scenario.name, scenario.file, scenario.rows, scenario.editRow, dir.path()) &&
                    clean;
    return clean ? 0 : 1;
}

QtMessageHandler qtMessages = nullptr;

// The offscreen platform's word on each window it cannot resize or raise is
// no finding of the bench; everything else Qt says goes through.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith("This plugin does not support "))
        return;
    qtMessages(type, context, message);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtMessages = qInstallMessageHandler(quietOffscreen);
    if (argc == 3 && std::strcmp(argv[1], "--first-window") == 0)
        return firstWindow(argc, argv, std::strcmp(argv[2], "editor") == 0);
    if (argc == 6 && std::strcmp(argv[1], "--scenario") == 0)
        return runScenario(argv);
    return benchWindow(argc, argv);
}
