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
    if (!file.isEmpty())
        window.openFile(file);
    for (const QString& storage : storages)
        window.openStorage(storage);
    // A second signal while the unsaved-changes question is up asks nothing
    // more: the window is closing already.
    const QuitSignals quitSignals([&window] { window.mnuExit_Click(); });
    return app.exec();
}

}  // namespace vs
