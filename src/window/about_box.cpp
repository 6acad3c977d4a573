#include "window/about_box.h"

#include "app_version.h"
#include "window/dialog_seam.h"
#include "window/form_tolvane.h"
#include "window/pictures.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vs {

QString versionLine(int major, int minor, int revision, const QString& suffix)
{
    return QString("Version %1.%2.%3").arg(major).arg(minor).arg(revision) + suffix;
}

namespace {
QLabel* paragraph(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

QFrame* separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
}  // namespace

formAbout::formAbout(QWidget& mainWindow, DialogSeam& dialogs)
    : QDialog(&mainWindow), main_(mainWindow), dialogs_(dialogs)
{
    setObjectName("formAbout");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* icon = new QLabel(this);
    icon->setObjectName("picIcon");
    icon->setPixmap(categoryIcon(2).pixmap(48, 42));
    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    QFont big = lblTitle->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName("lblVersion");

    auto* heading = new QVBoxLayout;
    heading->addWidget(lblTitle);
    heading->addWidget(lblVersion);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    auto* cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton("&System Info...", this);
    cmdSysInfo->setObjectName("cmdSysInfo");
    cmdSysInfo->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(separator(this));
    layout->addWidget(paragraph(this, "lblDescription",
                                "Vaultsmith composes the warehouse (vault) code and the shop code of an item, "
                                "edits the server's shop files and item-bag files, and finds items by name."));
    layout->addWidget(paragraph(this, "lblDescription2",
                                "Thanks to the server operators' community, whose files and questions shaped it."));
    layout->addWidget(paragraph(this, "lblAuthor", "Written by the Vaultsmith developers."));
    layout->addWidget(separator(this));
    layout->addWidget(paragraph(this, "lblDisclaimer",
                                "You use this program at your own risk: keep copies of your server's files. "
                                "Reports of faults are welcome."));
    layout->addLayout(buttons);
    setFixedWidth(380);
    Form_Load();
}

void formAbout::Form_Load()
{
    // The caption as it reads, without the mark of unsaved changes.
    QString caption = main_.windowTitle().remove("[*]");
    QString suffix;
    if (auto* form = qobject_cast<formTolvane*>(&main_)) {
        suffix = form->updateVersion;
        caption = form->caption();
    }
    setWindowTitle("About " + caption);
    lblVersion->setText(versionLine(kVersionMajor, kVersionMinor, kVersionPatch, suffix));
    lblTitle->setText(caption);
}

void formAbout::cmdOK_Click()
{
    close();
}

void formAbout::cmdSysInfo_Click()
{
    // There is no system-information tool to start on this platform.
    dialogs_.message(this, windowTitle(), "System Information Is Unavailable At This Time");
}

}  // namespace vs
