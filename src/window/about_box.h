#pragma once

#include <QDialog>

class QLabel;

namespace vs {

class DialogSeam;

// The About box: the window's caption, the version and a few words about the
// program. Shown without blocking the main window; OK closes and deletes it.
class formAbout : public QDialog {
    Q_OBJECT
public:
    formAbout(QWidget& mainWindow, DialogSeam& dialogs);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    QWidget& main_;
    DialogSeam& dialogs_;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
};

// "Version 1.2.3" followed by the suffix without a space.
QString versionLine(int major, int minor, int revision, const QString& suffix);

}  // namespace vs
