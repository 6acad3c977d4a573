// Prints the MIME type Qt's database gives each file name on the command line
// (by name only, as a file manager built on Qt sees it), one per line. Qt reads
// the database from XDG_DATA_DIRS, so the install test points it at its own.
#include <QCoreApplication>
#include <QMimeDatabase>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList names = QCoreApplication::arguments().mid(1);
    if (names.isEmpty()) {
        std::fprintf(stderr, "usage: mime_type FILENAME...\n");
        return 2;
    }
    const QMimeDatabase database;
    for (const QString &name : names)
        std::printf("%s\n", qPrintable(database.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name()));
    return 0;
}
