#include "window/editor_app.h"

#include "window/form_tolvane.h"

#include <QApplication>

namespace vs {

int runEditor(QApplication& app, DialogSeam& dialogs, const std::filesystem::path& dataDir)
{
    formTolvane window(dialogs);
    if (!window.Form_Load(dataDir))
        return 1;
    window.show();
    return app.exec();
}

}  // namespace vs
