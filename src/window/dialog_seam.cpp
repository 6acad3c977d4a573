#include "window/dialog_seam.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QInputDialog>
#include <QMessageBox>

namespace vs {

void QtDialogs::message(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

bool QtDialogs::askYesNo(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

SaveAnswer QtDialogs::askSaveChanges(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

RecoveryAnswer QtDialogs::askRecovery(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton* restore = box.addButton("Restore", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("Discard", QMessageBox::DestructiveRole);
    box.addButton("Keep for Later", QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.exec();
    if (box.clickedButton() == restore)
        return RecoveryAnswer::Restore;
    if (box.clickedButton() == discard)
        return RecoveryAnswer::Discard;
    return RecoveryAnswer::Later;
}

QString QtDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter)
{
    QString path = QFileDialog::getOpenFileName(parent, title, lastPath_, filter);
    if (!path.isEmpty())
        lastPath_ = path;
    return path;
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                const QString& defaultSuffix, const QString& proposed)
{
    // The document's own name, or none: never the file of another document.
    const QString folder = QFileInfo(proposed.isEmpty() ? lastPath_ : proposed).absolutePath();
    QFileDialog dialog(parent, title, lastPath_.isEmpty() && proposed.isEmpty() ? QString() : folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    lastPath_ = dialog.selectedFiles().front();
    return lastPath_;
}

std::optional<QString> QtDialogs::askText(QWidget* parent, const QString& title, const QString& label,
                                          const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

}  // namespace vs
