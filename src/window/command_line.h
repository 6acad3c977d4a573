#pragma once

#include <QString>
#include <QStringList>

namespace vs {

// What the editor's command line asks for.
struct EditorCommandLine {
    enum class Action { Run, Help, Version, BadUsage };
    Action action = Action::Run;
    QString dataDir;  // --data DIR; empty for the default data folder
    QString file;     // FILE to open at start; empty for none
    QStringList storages;  // --storage FILE..., each opened in a storage window
    QString text;     // the help text, the version line or the one-line usage error
    // Bad usage only through options Qt takes for itself (-platform, -style...):
    // fine once the application has taken them out of the arguments.
    bool onlyQtOptions = false;
};

// Reads `arguments` (the program's name first) as
//   vaultsmith [--data DIR] [--storage FILE]... [FILE]
// with -h/--help and -v/--version.
EditorCommandLine readEditorCommandLine(const QStringList& arguments);

}  // namespace vs
