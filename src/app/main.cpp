#include "catalog/data_location.h"
#include "window/command_line.h"
#include "window/dialog_seam.h"
#include "window/editor_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>

namespace {

QStringList argumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Prints the help text or the version; returns the exit status, or -1 to run.
int answerAtOnce(const vs::EditorCommandLine& line)
{
    using Action = vs::EditorCommandLine::Action;
    if (line.action == Action::Help || line.action == Action::Version) {
        std::fputs(line.text.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    if (line.action == Action::BadUsage) {
        std::fprintf(stderr, "%s\n", line.text.toLocal8Bit().constData());
        return 2;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    // --help, --version and bad usage need no display. Qt's own options
    // (-platform...) are known only once the application has taken them out.
    const vs::EditorCommandLine early = vs::readEditorCommandLine(argumentList(argc, argv));
    if (!early.onlyQtOptions) {
        if (const int status = answerAtOnce(early); status >= 0)
            return status;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vaultsmith");
    QApplication::setDesktopFileName("vaultsmith");
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/vaultsmith-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    const vs::EditorCommandLine line = vs::readEditorCommandLine(QApplication::arguments());
    if (const int status = answerAtOnce(line); status >= 0)
        return status;

    vs::QtDialogs dialogs;
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
    const std::filesystem::path dataDir =
        line.dataDir.isEmpty() ? vs::defaultDataFolder(programDir) : std::filesystem::path(line.dataDir.toStdString());
    const QString file = line.file.isEmpty() ? QString() : QFileInfo(line.file).absoluteFilePath();
    QStringList storages;
    for (const QString& storage : line.storages)
        storages << QFileInfo(storage).absoluteFilePath();
    return vs::runEditor(app, dialogs, dataDir, file, storages);
}
