#include "window/dialog_seam.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
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

bool QtDialogs::askDatabaseStorage(QWidget* parent, DatabaseStorageRequest& request)
{
    QDialog dialog(parent);
    dialog.setObjectName("dlgOpenStorageDb");
    dialog.setWindowTitle("Open Storage from Database");
    auto* form = new QFormLayout(&dialog);
    auto* url = new QLineEdit(request.url, &dialog);
    url->setPlaceholderText("mysql://USER@HOST:PORT/DB, postgresql://..., odbc:DSN, sqlite:PATH");
    auto* kind = new QComboBox(&dialog);
    kind->addItems({"Warehouse of the account", "Inventory of the character"});
    kind->setCurrentIndex(request.kind == StorageKind::Warehouse ? 0 : 1);
    auto* owner = new QLineEdit(request.owner, &dialog);
    auto* table = new QLineEdit(&dialog);
    auto* key = new QLineEdit(&dialog);
    auto* column = new QLineEdit(&dialog);
    form->addRow("Connection:", url);
    form->addRow("Storage:", kind);
    form->addRow("Account or character:", owner);
    form->addRow("Table:", table);
    form->addRow("Key column:", key);
    form->addRow("Items column:", column);
    // Each kind keeps its own table and columns while the other is shown.
    int shown = kind->currentIndex();
    const auto show = [&](int index) {
        const StorageTable& where = request.tables[static_cast<size_t>(index)];
        table->setText(QString::fromStdString(where.table));
        key->setText(QString::fromStdString(where.keyColumn));
        column->setText(QString::fromStdString(where.column));
    };
    const auto keep = [&](int index) {
        request.tables[static_cast<size_t>(index)] = {table->text().toStdString(), column->text().toStdString(),
                                                      key->text().toStdString()};
    };
    show(shown);
    QObject::connect(kind, &QComboBox::currentIndexChanged, &dialog, [&](int index) {
        keep(shown);
        shown = index;
        show(index);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    keep(shown);
    request.url = url->text().trimmed();
    request.kind = shown == 0 ? StorageKind::Warehouse : StorageKind::Inventory;
    request.owner = owner->text();
    return true;
}

std::optional<QString> QtDialogs::askPassword(QWidget* parent, const QString& title, const QString& label)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

ConflictAnswer QtDialogs::askConflict(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    QPushButton* reload = box.addButton("Reload", QMessageBox::AcceptRole);
    QPushButton* file = box.addButton("Save to a File...", QMessageBox::ActionRole);
    box.addButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == reload)
        return ConflictAnswer::Reload;
    if (box.clickedButton() == file)
        return ConflictAnswer::SaveToFile;
    return ConflictAnswer::Cancel;
}

}  // namespace vs
