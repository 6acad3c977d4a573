#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>

class QApplication;

namespace vs {

class DialogSeam;

// Builds the main window over the data in `dataDir`, shows it, opens `file`
// (when given) as File > Open does, each of `storages` as File > Open Storage...
// does, and runs the event loop. When start-up
// fails the termination message is shown through `dialogs` and 1 is returned
// at once; the window never appears. SIGTERM, SIGINT and SIGHUP close the
// window as File > Exit does, asking about unsaved changes first.
int runEditor(QApplication& app, DialogSeam& dialogs, const std::filesystem::path& dataDir,
              const QString& file = QString(), const QStringList& storages = QStringList());

}  // namespace vs
