#include "window/command_line.h"

#include "app_version.h"

#include <QCommandLineParser>
#include <algorithm>

namespace vs {

namespace {

const char* const kHelp =
    R"(Usage: vaultsmith [--data DIR] [--storage FILE]... [FILE]

Opens the Vaultsmith editor: compose an item's vault and shop codes, and edit a
game server's shop files and item-bag files as lists of entries.

Arguments:
  FILE        a shop file (its name holds "shop") or an item-bag file (its name
              holds "bag") to open at start, as File > Open does

Options:
  --data DIR  folder holding item(Kor).txt and subtypes.txt (default: ./data
              when it holds the catalog, else the data shipped with the program)
  --storage FILE
              a warehouse or inventory file to open at start in a window of
              its own, as File > Open Storage... does (may be given again)
  -h, --help  show this text
  -v, --version
              print the program's version

Qt's standard options, such as -platform NAME, are accepted too.

Exit status: 0 the window was closed, 1 the data files failed to load, 2 bad usage.
)";

// The options QApplication reads and removes from the command line.
bool isQtOption(const QString& name)
{
    static const QStringList names = {
        "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger", "qwindowgeometry",
        "qwindowicon", "qwindowtitle", "reverse", "session", "display", "geometry", "title", "name",
        "style", "stylesheet", "widgetcount", "nograb", "dograb", "visual", "ncols", "cmap", "fn", "font",
        "bg", "background", "fg", "foreground", "btn", "button", "sync", "testability"};
    return names.contains(name);
}

}  // namespace

EditorCommandLine readEditorCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    const QCommandLineOption data("data", "", "DIR");
    const QCommandLineOption storage("storage", "", "FILE");
    parser.addOption(storage);
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(data);
    parser.addPositionalArgument("FILE", "");

    EditorCommandLine line;
    auto badUsage = [&line](const QString& why) {
        line.action = EditorCommandLine::Action::BadUsage;
        line.text = "vaultsmith: " + why + "; see 'vaultsmith --help'";
        return line;
    };
    if (!parser.parse(arguments)) {
        QString why = parser.errorText().replace('\n', ' ').trimmed();  // "Unknown option 'x'."
        if (why.endsWith('.'))
            why.chop(1);
        if (!why.isEmpty())
            why[0] = why[0].toLower();
        const QStringList unknown = parser.unknownOptionNames();
        badUsage(why);
        line.onlyQtOptions = !unknown.isEmpty() && std::all_of(unknown.begin(), unknown.end(), isQtOption);
        return line;
    }
    if (parser.isSet(help)) {
        line.action = EditorCommandLine::Action::Help;
        line.text = kHelp;
        return line;
    }
    if (parser.isSet(version)) {
        line.action = EditorCommandLine::Action::Version;
        line.text = QString("vaultsmith %1\n").arg(kVersionText);
        return line;
    }
    if (parser.values(data).size() > 1)
        return badUsage("option --data given twice");
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return badUsage("one FILE at most");
    line.dataDir = parser.value(data);
    if (parser.isSet(data) && line.dataDir.isEmpty())
        return badUsage("option --data needs a folder");
    line.storages = parser.values(storage);
    if (line.storages.contains(QString()))
        return badUsage("option --storage needs a file");
    if (!files.isEmpty()) {
        line.file = files.front();
        if (line.file.isEmpty())
            return badUsage("the FILE name is empty");
    }
    return line;
}

}  // namespace vs
