// Nothing is lost through the window: real files come back byte for byte,
// rows nobody chose are never touched, and texts keep their code page.
#include "document/list_reader.h"
#include "window/code_page_text.h"
#include "window_fixture.h"

#include <QDir>
#include <QSettings>
#include <QUndoStack>

using namespace vs;
using namespace vs::test;

namespace {

// The lines of a file, each with its own line end.
QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        if (end < bytes.size())
            end += (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        lines << bytes.mid(start, end - start);
        start = end;
    }
    return lines;
}

}  // namespace

class KeepingTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QSettings(QSettings::NativeFormat, QSettings::UserScope, "Vaultsmith", "Vaultsmith").clear(); }

    void corpusFilesComeBackAndAnEditTouchesOneLine()
    {
        const QDir corpus(VAULTSMITH_CORPUS_DIR);
        if (!corpus.exists())
            QSKIP("corpus not found at " VAULTSMITH_CORPUS_DIR " (the shared folder is absent); corpus checks skipped");
        // The shipped catalog, which has most of the files' items.
        DataFolder data(readFile(VAULTSMITH_DATA_DIR "/item(Kor).txt"), readFile(VAULTSMITH_DATA_DIR "/subtypes.txt"));
        Window w(data);
        QTemporaryDir dir;
        int withRemainder = 0;
        for (const QString& name : corpus.entryList(QDir::Files)) {
            const QByteArray original = readFile(corpus.filePath(name));
            const QString copy = writeFile(dir, name, original);  // a copy: the corpus is never written
            w.form().openFile(copy);
            w.trigger("mnuSave");
            QByteArray expected = original;
            const bool shop = name.toLower().contains("shop");
            const FileLayout& layout = detectLayout(original.toStdString(), shop ? 0 : 1);
            QCOMPARE(w.form().layout().name, layout.name);
            const ListFile file = readListFile(original.toStdString(), layout);
            if (shop && !original.trimmed().toLower().endsWith("end"))
                expected += "end" + QByteArray::fromStdString(file.source->lineEnd);
            QVERIFY2(readFile(copy) == expected, qPrintable(name + " changed on an untouched save"));

            // Tick Skill on an item entry that stands alone on its line and that the
            // editor shows as it stands, one with a remainder if any.
            auto list = shopList(w);
            int target = -1;
            for (int r = 0; r < list->count(); ++r) {
                const ListEntry e = w.form().document().at(r);
                if (e.kind != kItemEntry || file.source->lines[static_cast<size_t>(e.origin.line)].entryCount != 1 ||
                    (target >= 0 && (e.rest.empty() || !w.form().document().at(target).rest.empty())))
                    continue;
                clickRow(list, r);
                if (!w.form().item()->rowHeld)
                    target = r;
            }
            const ListEntry before = w.form().document().at(target);
            withRemainder += !before.rest.empty();
            if (!before.rest.empty())
                QVERIFY(!list->item(target)->toolTip().isEmpty());
            clickRow(list, target);
            w.click(w.check("checkSkill"));
            w.trigger("mnuSave");
            const QList<QByteArray> old = linesOf(expected), now = linesOf(readFile(copy));
            QCOMPARE(now.size(), old.size());
            for (int i = 0; i < old.size(); ++i)
                if (i != before.origin.line)
                    QVERIFY2(now[i] == old[i], qPrintable(QString("%1 line %2").arg(name).arg(i + 1)));
            // The edited line, read in its layout: Skill changed, every other column as it was.
            std::string line = now[before.origin.line].toStdString();
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
                line.pop_back();
            QVERIFY(line.find(',') == std::string::npos);
            const ListEntry edited = classifyRecord(line, layout, SectionPlace::Items);
            const std::vector<std::string_view> a = entryPieces(before.text), b = entryPieces(edited.text);
            QVERIFY2(a.size() >= layout.items.count() && b.size() >= layout.items.count(), qPrintable(name));
            const int skill = layout.items.find(ColumnRole::Skill);
            for (size_t c = 0; c < layout.items.count(); ++c)
                QVERIFY2((a[c] == b[c]) == (static_cast<int>(c) != skill),
                         qPrintable(QString("%1 column %2: %3 -> %4")
                                        .arg(name)
                                        .arg(c + 1)
                                        .arg(QString::fromStdString(std::string(a[c])))
                                        .arg(QString::fromStdString(std::string(b[c])))));
            QVERIFY2(edited.rest == before.rest, qPrintable(name + ": the remainder was lost: " + QString::fromStdString(line)));
        }
        QVERIFY(withRemainder > 0);
    }

    void rowsNobodyChoseAreNeverTouched()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.form().openFile(writeFile(dir, "shop1.txt", "0 1 0 20 0 0 0 //Kris\r\n1 0 0 18 0 0 0 //Axe\r\n"));
        auto list = shopList(w);
        const QStringList rows = texts(list);
        for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::ActiveWindowFocusReason, Qt::MouseFocusReason}) {
            const QString code = w.shop();
            w.box("txtDur")->setFocus();
            list->setFocus(reason);
            QCOMPARE(w.form().selectedRow(), -1);
            QCOMPARE(w.shop(), code);  // nothing was loaded
            w.click(w.check("checkSkill"));
            list->setFocus();
            QTest::keyClick(list.view(), Qt::Key_Delete);
            QTest::keyClick(list.view(), Qt::Key_Insert);
            QCOMPARE(texts(list), rows);
        }
        // A click below the rows selects nothing either.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
        QCOMPARE(w.form().selectedRow(), -1);
        QVERIFY(!w.form().history()->canUndo());

        // The search results: the focus loads nothing, a click loads, a click on the chosen hit loads it again.
        w.type("txtQuery", "axe");
        w.click(w.get<QPushButton>("cmdFind"));
        auto* results = w.get<QListWidget>("lstResults");
        const QString before = w.shop();
        results->setFocus(Qt::TabFocusReason);
        QCOMPARE(w.shop(), before);
        clickRow(results, 0);
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Battle Axe"));
        w.choose("comboLevel", "+3");
        QCOMPARE(w.shop().section(' ', 2, 2), QString("3"));
        clickRow(results, 0);
        QCOMPARE(w.shop().section(' ', 2, 2), QString("0"));
        QCOMPARE(texts(list), rows);
    }

    void aPastedCommentStaysOneLine()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString shop = writeFile(dir, "shop1.txt", "// a\r\n");
        w.form().openFile(shop);
        auto list = shopList(w);
        list->setCurrentRow(0);
        w.paste("txtShopComment", "// first\r\nsecond\tthird\x01");
        QCOMPARE(texts(list), QStringList({"// first  second\tthird "}));
        w.trigger("mnuSave");
        QCOMPARE(readFile(shop), QByteArray("// first  second\tthird \r\nend\r\n"));
    }

    void codePagesShowAndComeBackByteForByte()
    {
        DataFolder data;
        QTemporaryDir dir;
        const QByteArray korean949("// \x81\x41 \xb9\xb0\xbe\xe0\r\n14 3 0 255 0 0 0 //\xb9\xb0\xbe\xe0\r\n");
        const QByteArray koreanUtf8 = "// " + QString::fromUtf8("갂 물약").toUtf8() + "\n";
        const QString cp949 = writeFile(dir, "shop949.txt", korean949);
        const QString utf8 = writeFile(dir, "shopUtf8.txt", koreanUtf8 + "end\n");
        {
            Window w(data);
            auto list = shopList(w);
            // UTF-8 shows as UTF-8 whatever code page is chosen.
            w.form().openFile(utf8);
            QCOMPARE(list->item(0)->text(), QString::fromUtf8("// 갂 물약"));
            w.trigger("mnuSave");
            QCOMPARE(readFile(utf8), koreanUtf8 + "end\n");
            // A character Windows-1252 cannot hold is refused as it is typed.
            w.form().openFile(cp949);
            list->setCurrentRow(0);
            const QString shown = w.comment();
            QLineEdit* comment = w.box("txtShopComment");
            comment->setFocus();
            QTest::sendKeyEvent(QTest::Click, comment, Qt::Key_unknown, QString::fromUtf8("한"), Qt::NoModifier);
            QCOMPARE(w.comment(), shown);
            QVERIFY2(w.status().startsWith("Comment> "), qPrintable(w.status()));

            w.trigger("mnuEncoding_windows-949");
            QVERIFY(w.get<QAction>("mnuEncoding_windows-949")->isChecked());
            QCOMPARE(list->item(0)->text(), QString::fromUtf8("// 갂 물약"));
            w.trigger("mnuSave");
            QCOMPARE(readFile(cp949), korean949 + "end\r\n");
            // Typed Korean is written in the file's code page.
            list->setCurrentRow(0);
            comment->setFocus();
            comment->end(false);
            QTest::sendKeyEvent(QTest::Click, comment, Qt::Key_unknown, QString::fromUtf8(" 한"), Qt::NoModifier);
            w.trigger("mnuSave");
            QCOMPARE(readFile(cp949).left(15), QByteArray("// \x81\x41 \xb9\xb0\xbe\xe0 \xc7\xd1\r\n"));
        }
        // The choice is remembered.
        Window again(data);
        QVERIFY(again.get<QAction>("mnuEncoding_windows-949")->isChecked());
        again.form().openFile(cp949);
        QCOMPARE(shopList(again)->item(1)->text(), QString::fromUtf8("14,3,0,255,0,0,0,물약"));
    }

    void anEditKeepsBytesTheCodePageDoesNotDefine()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        // An item the catalog lacks keeps its comment, here in CP949 while Windows-1252 is chosen.
        const QString bag = writeFile(dir, "EventItemBag1.txt", "0 31 0 0 0 0 //\x81\x41 old\r\n");
        w.form().openFile(bag);
        shopList(w)->setCurrentRow(0);
        w.click(w.check("checkSkill"));
        QLineEdit* comment = w.box("txtShopComment");
        comment->setFocus();
        comment->end(false);
        QTest::keyClicks(comment, "!");
        w.trigger("mnuSave");
        // The item is not in the catalog: Skill is not written, the comment is.
        QCOMPARE(readFile(bag), QByteArray("0 31 0 0 0 0 //\x81\x41 old!\r\n"));
    }

    void catalogNamesFollowTheChosenCodePage()
    {
        // A catalog whose first sword is named in Korean (CP949).
        QByteArray items = kTestItems;
        items.replace("\"Kris\"", "\"\xb9\xb0\xbe\xe0\"");
        DataFolder data(items);
        Window w(data);
        QCOMPARE(w.combo("comboItemSelector")->itemText(0), QString::fromLatin1("\xb9\xb0\xbe\xe0"));
        w.trigger("mnuEncoding_windows-949");
        QCOMPARE(w.combo("comboItemSelector")->itemText(0), QString::fromUtf8("물약"));
        QCOMPARE(w.status(), QString("Encoding> Texts are shown in Korean (CP949)."));
        w.paste("txtQuery", QString::fromUtf8("물약"));
        w.click(w.get<QPushButton>("cmdFind"));
        QCOMPARE(texts(w.get<QListWidget>("lstResults")), QStringList({QString::fromUtf8("물약")}));
    }
};

QTEST_MAIN(KeepingTest)
#include "keeping_test.moc"
