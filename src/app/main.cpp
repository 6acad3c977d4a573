#include "catalog/data_location.h"
#include "window/dialog_seam.h"
#include "window/editor_app.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vaultsmith");
    vs::QtDialogs dialogs;
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
    return vs::runEditor(app, dialogs, vs::defaultDataFolder(programDir));
}
