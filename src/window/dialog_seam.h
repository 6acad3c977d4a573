#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace vs {

// The answers to the question about unsaved changes.
enum class SaveAnswer { Save, Discard, Cancel };
// The answers to the offer of unsaved work a run left behind.
enum class RecoveryAnswer { Restore, Discard, Later };

// Every modal box and file dialog of the program goes through here, so that
// tests can answer them without a window ever blocking.
class DialogSeam {
public:
    virtual ~DialogSeam() = default;
    // A message box with an OK button.
    virtual void message(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question with Save, Discard and Cancel.
    virtual SaveAnswer askSaveChanges(QWidget* parent, const QString& title, const QString& text) = 0;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // Starts at `proposed` (the document's own file) when it is not empty,
    // else in the folder last chosen, with no file name.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& defaultSuffix, const QString& proposed) = 0;
    // Restore, Discard or keep for later.
    virtual RecoveryAnswer askRecovery(QWidget* parent, const QString& title, const QString& text) = 0;
    // A line of text, starting from `initial`; none when the user cancelled.
    virtual std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                           const QString& initial) = 0;
};

// The real boxes and dialogs.
class QtDialogs : public DialogSeam {
public:
    void message(QWidget* parent, const QString& title, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    SaveAnswer askSaveChanges(QWidget* parent, const QString& title, const QString& text) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultSuffix, const QString& proposed) override;
    RecoveryAnswer askRecovery(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;

private:
    QString lastPath_;  // the file last chosen: its folder is where a dialog starts
};

}  // namespace vs
