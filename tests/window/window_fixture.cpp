#include "window_fixture.h"

#include "window/code_page_text.h"

#include <QFile>

namespace vs::test {

DataFolder::DataFolder(const QByteArray& items, const QByteArray& subtypes, bool withItems, bool withSubTypes)
{
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(dir_.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write test data");
    };
    if (withItems)
        write("item(Kor).txt", items);
    if (withSubTypes)
        write("subtypes.txt", subtypes);
}

Window::Window(const DataFolder& data) : form_(std::make_unique<formTolvane>(dialogs))
{
    if (!form_->Form_Load(data.path()))
        qFatal("start-up failed: %s", qPrintable(dialogs.messages.join('\n')));
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get()))
        qWarning("window not exposed");
}

QToolButton* Window::category(int index)
{
    for (QToolButton* button : form_->findChildren<QToolButton*>("optCategory"))
        if (button->property("Index").toInt() == index)
            return button;
    qFatal("no category button %d", index);
}

QStringList Window::rows(const char* comboName)
{
    QStringList texts;
    ListSelector* c = combo(comboName);
    for (int i = 0; i < c->count(); ++i)
        texts << c->itemText(i);
    return texts;
}

void Window::choose(const char* comboName, const QString& rowText)
{
    ListSelector* c = combo(comboName);
    const int row = c->findText(rowText);
    if (row < 0)
        qFatal("%s has no row %s", comboName, qPrintable(rowText));
    // Open the list and click the row, as the user does.
    c->showPopup();
    QAbstractItemView* view = c->view();
    if (!QTest::qWaitForWindowExposed(view->window()))
        qWarning("list of %s not exposed", comboName);
    view->scrollTo(view->model()->index(row, 0));
    const QRect r = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.intersected(view->viewport()->rect()).center());
    if (c->currentIndex() != row)
        qFatal("choosing %s in %s did not take", qPrintable(rowText), comboName);
}

void Window::click(QWidget* widget)
{
    // Check boxes on their box, everything else in the middle.
    const bool checkBox = qobject_cast<QCheckBox*>(widget) != nullptr;
    const QPoint at = checkBox ? QPoint(8, widget->height() / 2) : widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

void Window::type(const char* boxName, const QString& text)
{
    QLineEdit* b = box(boxName);
    b->setFocus();
    b->selectAll();
    QTest::keyClicks(b, text);
}

}  // namespace vs::test

namespace vs::test {

void Window::paste(const char* boxName, const QString& text)
{
    QLineEdit* b = box(boxName);
    b->setFocus();
    b->selectAll();
    b->insert(text);
}

}  // namespace vs::test

namespace vs::test {

void Window::trigger(const char* actionName)
{
    QAction* action = get<QAction>(actionName);
    if (!action->isEnabled())
        qFatal("%s is disabled", actionName);
    action->trigger();
}

}  // namespace vs::test

namespace vs::test {

QStringList texts(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

ShopList::ShopList(QListView* view) : view_(view)
{
    if (!view_)
        qFatal("no list view named lstShop");
}

void ShopList::setCurrentRow(int row) const
{
    if (row < 0 || row >= count())
        view_->selectionModel()->clear();
    else
        view_->selectionModel()->setCurrentIndex(view_->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

formTolvane& ShopList::form() const
{
    auto* window = qobject_cast<formTolvane*>(view_->window());
    if (!window)
        qFatal("lstShop is not in a main window");
    return *window;
}

ShopList shopList(Window& window)
{
    return ShopList(window.get<QListView>("lstShop"));
}

ShopList shopList(QWidget& window)
{
    return ShopList(window.findChild<QListView*>("lstShop"));
}

QStringList texts(const QAbstractItemView* view)
{
    QStringList rows;
    for (int i = 0; i < view->model()->rowCount(); ++i)
        rows << view->model()->index(i, 0).data().toString();
    return rows;
}

QStringList texts(const ShopList& list)
{
    QStringList rows;
    for (int i = 0; i < list.count(); ++i)
        rows << list.item(i).text();
    return rows;
}

void putRow(const ShopList& list, const QByteArray& text, int kind, int at)
{
    Document& document = list.form().document();
    ListEntry entry(text.toStdString(), kind);
    if (at < 0)
        document.insert(document.size(), {std::move(entry)});
    else
        document.replace(at, std::move(entry));
}

void clickRow(const ShopList& list, int row)
{
    list.view()->scrollTo(list.item(row).index());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
}

void clickRow(QListWidget* list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
    return file.fileName();
}

}  // namespace vs::test
