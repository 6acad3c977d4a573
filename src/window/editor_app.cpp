#include "window/editor_app.h"

#include "window/form_tolvane.h"
#include "window/quit_signals.h"

#include <QApplication>

namespace vs {

int runEditor(QApplication& app, DialogSeam& dialogs, const std::filesystem::path& dataDir, const QString& file,
              const QStringList& storages)
{
    formTolvane window(dialogs);
    if (!window.Form_Load(dataDir))
        return 1;
    window.show();
    // Work a killed run left unsaved is offered first.
    window.offerRecoveries();
    if (!file.isEmpty())
        window.openFile(file);
    for (const QString& storage : storages)
        window.openStorage(storage);
    // The unsaved work is kept in recovery files before the question; a second
    // signal while it is up ends the program at once.
    const QuitSignals quitSignals([&window](int signal) { window.quitSignal(signal); });
    return app.exec();
}

}  // namespace vs
