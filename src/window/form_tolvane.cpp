// The main window's frames and controls, placed as designed (positions in twips).
#include "window/form_tolvane.h"

#include "catalog/startup_message.h"
#include "catalog/tables.h"
#include "window/clickable_label.h"
#include "window/code_box.h"
#include "window/entry_list_model.h"
#include "window/entry_list_view.h"
#include "window/form_messages.h"
#include "window/form_table.h"
#include "window/typing_limits.h"
#include "window/code_page_text.h"
#include "window/list_selector.h"
#include "window/pictures.h"
#include "window/twips.h"

#include <QButtonGroup>
#include <QMenuBar>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QUndoGroup>
#include <QUndoStack>

namespace vs {

namespace {

template <typename Widget, typename... Args>
Widget* place(QWidget* parent, const char* name, QRect geometry, Args&&... args)
{
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    auto* l = place<QLabel>(parent, name, geometry, caption);
    return l;
}

QFrame* frame(QWidget* parent, const char* name, QRect geometry)
{
    auto* f = place<QFrame>(parent, name, geometry);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    f->setAutoFillBackground(true);
    return f;
}

const char* const kExcCaptions[12] = {
    "Increase Mana after Monster +Mana/8", "Increase Attacking(Wizardry)Speed +7",
    "Increase Life after Monster +Mana/8", "Increase Damage +2%",
    "Increase Damage +Level/20",           "Excellent Damage Rate +10%",
    "Increases Zen After Hunt +40%",       "Defense success Rate +10%",
    "Reflect Damage +5%",                  "Damage Decrease +4%",
    "Increase Mana 4%",                    "Increase HP +4%",
};

}  // namespace

formTolvane::formTolvane(DialogSeam& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), chosenEncoding_(savedEncoding())
{
    setObjectName("formTolvane");
    // Before anything can say a word on the status line.
    messageLog_ = new MessageLog(this);
    // First of the document's listeners: it hears a change begin before the
    // list does and end after it.
    document_.addListener(this);
    docEncoding_ = chosenEncoding_;
    catalogEncoding_ = chosenEncoding_;
    undoStack_ = new QUndoStack(this);
    // Edit > Undo and Redo act on the document last worked on: the list, or
    // a storage whose item was chosen or which was changed.
    undoGroup_ = new QUndoGroup(this);
    undoGroup_->addStack(undoStack_);
    undoGroup_->setActiveStack(undoStack_);
    connect(undoGroup_, &QUndoGroup::activeStackChanged, this, [this](QUndoStack* active) {
        if (!active)
            undoGroup_->setActiveStack(undoStack_);  // the storage window went away
    });
    connect(undoStack_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        setWindowModified(!clean);
        if (clean)
            writeRecoveries();  // saved, or back to the saved state: nothing to recover
    });
    connect(undoStack_, &QUndoStack::indexChanged, this, [this] { scheduleRecovery(); });
    // Arial (or its metric twin) at 8 points fits the captions in their designed places.
    QFont font("Arial");
    font.setFamilies({"Arial", "Liberation Sans", "Nimbus Sans", font.defaultFamily()});
    font.setPointSize(8);
    setFont(font);
    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    buildFrames();
    buildListControls();
    buildSelectorControls();
    buildPropertyControls();
    buildSearchControls();
    document_.setLayout(newDocumentLayout(0));
    // Stacked from back to front; where two frames overlap the later one lies in front.
    for (QFrame* f : {frmBanner, frmItemProperties, frmSearch, frmSelector, frmDebug, frmShopCtrl, frmShop})
        f->raise();
    buildMenus();
    // The designed client area, below the menu bar.
    resize(twips(9255), twips(6405) + menuBar()->sizeHint().height());
    restorePosition();
    setAcceptDrops(true);
    connectHandlers();
    applyLayout(document_.layout());
}

formTolvane::~formTolvane()
{
    // The controls outlive this object's own members: while Qt deletes them
    // (a focused box still gets its focus-out), none may reach a handler.
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        QObject::disconnect(child, nullptr, this, nullptr);
    }
    // The views of the document go before it.
    delete table_;
    delete listModel_;
    document_.removeListener(this);
}

void formTolvane::buildFrames()
{
    QWidget* client = centralWidget();
    frmShopCtrl = frame(client, "frmShopCtrl", twipsRect(0, 0, 2895, 615));
    frmShop = frame(client, "frmShop", twipsRect(0, 480, 2895, 5895));
    frmBanner = frame(client, "frmBanner", twipsRect(2880, 0, 2895, 2010));
    frmSearch = frame(client, "frmSearch", twipsRect(2880, 1920, 2895, 615));
    frmSelector = frame(client, "frmSelector", twipsRect(2880, 2400, 2895, 3495));
    frmItemProperties = frame(client, "frmItemProperties", twipsRect(5760, 0, 3495, 5895));
    frmDebug = frame(client, "frmDebug", twipsRect(2880, 5760, 6375, 615));

    auto* banner = place<QLabel>(frmBanner, "imgVornBanner", twipsRect(30, 90, 2835, 1905));
    banner->setPixmap(bannerPixmap(banner->size()));

    lblDebug = label(frmDebug, "lblDebug", "Program feedback will be displayed here.",
                     twipsRect(120, 240, 6135, 255));
    lblDebug->setAutoFillBackground(true);
    lblDebug->setTextFormat(Qt::PlainText);  // a file name is shown as it is, never as markup
    QPalette p = lblDebug->palette();
    p.setColor(QPalette::Window, QColor(0, 64, 64));
    p.setColor(QPalette::WindowText, Qt::white);
    lblDebug->setPalette(p);
}

void formTolvane::buildListControls()
{
    cmdShopNew = place<QPushButton>(frmShopCtrl, "cmdShopNew", twipsRect(120, 190, 855, 315), "New");
    cmdShopNew->setToolTip("[Insert] to add item");
    cmdShopRemove = place<QPushButton>(frmShopCtrl, "cmdShopRemove", twipsRect(960, 190, 855, 315), "Remove");
    cmdShopRemove->setToolTip("Remove Selected [Delete]");
    cmdShopItemShiftD = place<QPushButton>(frmShopCtrl, "cmdShopItemShiftD", twipsRect(1800, 190, 495, 315));
    cmdShopItemShiftD->setIcon(doubleArrowIcon(false));
    cmdShopItemShiftD->setToolTip("Shift Selected Down [Shift]+[Delete]");
    cmdShopItemShiftU = place<QPushButton>(frmShopCtrl, "cmdShopItemShiftU", twipsRect(2280, 190, 495, 315));
    cmdShopItemShiftU->setIcon(doubleArrowIcon(true));
    cmdShopItemShiftU->setToolTip("Shift Selected Up [Shift]+[Insert]");

    lstShop = place<EntryListView>(frmShop, "lstShop", twipsRect(120, 120, 2655, 5520));
    listModel_ = new EntryListModel(document_, lstShop);
    listModel_->setEncoding(docEncoding_);
    lstShop->setModel(listModel_);
    lstShop->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstShop->setToolTip("Right-click to Insert new item");
    QFont arial("Arial");
    arial.setStyleHint(QFont::SansSerif);
    lstShop->setFont(arial);
    lstShop->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row is one line of one font: a changed row then costs no layout of the
    // others, which matters with 100,000 rows. The check's mark fits the line.
    lstShop->setUniformItemSizes(true);
    lstShop->setIconSize(QSize(QFontMetrics(arial).height() - 2, QFontMetrics(arial).height() - 2));
}

void formTolvane::buildSelectorControls()
{
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    const int lefts[3] = {120, 1020, 1920};
    for (int i = 0; i < 3; ++i) {
        // A control array: the three buttons share their name and differ by "Index".
        auto* button = place<QToolButton>(frmSelector, "optCategory", twipsRect(lefts[i], 240, 855, 675));
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setIcon(categoryIcon(i));
        button->setIconSize(button->size() - QSize(8, 8));
        button->setToolTip(QString::fromStdString(categoryToolTips()[i]));
        button->setProperty("Index", i);
        group->addButton(button, i);
        optCategory[i] = button;
    }
    comboClassSelector = place<ListSelector>(frmSelector, "comboClassSelector", twipsRect(120, 960, 2655, 315), true);
    comboItemSelector = place<ListSelector>(frmSelector, "comboItemSelector", twipsRect(120, 1320, 2655, 315), false);
    comboSubTypeSelector =
        place<ListSelector>(frmSelector, "comboSubTypeSelector", twipsRect(120, 1680, 2655, 315), false);
    comboSubTypeSelector->setEnabled(false);

    txtResultHex = place<CodeBox>(frmSelector, "txtResultHex", twipsRect(120, 2160, 2655, 330));
    txtResultHex->setText("Warehouse HEX Code");
    txtResultHex->setToolTip("Warehouse HEX Code");
    txtResultShop = place<CodeBox>(frmSelector, "txtResultShop", twipsRect(120, 2520, 2655, 315));
    txtResultShop->setText("Shop Decimal Code");
    txtResultShop->setToolTip("Shop Code");

    label(frmSelector, "lblShopComment", "Comment:", twipsRect(120, 2880, 1215, 220));
    chkProtectComment = place<QCheckBox>(frmSelector, "chkProtectComment", twipsRect(1320, 2880, 1455, 220),
                                         "Write-Protect");
    txtShopComment = place<QLineEdit>(frmSelector, "txtShopComment", twipsRect(120, 3120, 2655, 285));
    txtShopComment->setToolTip("This text will be written as the list item's comment or description");
    limitToEncodableText(txtShopComment, [this](const QString& text) { return encodable(text, docEncoding_); });
}

void formTolvane::buildPropertyControls()
{
    QWidget* f = frmItemProperties;
    label(f, "lblLevel", "Item Level:", twipsRect(120, 120, 855, 255));
    label(f, "lblOpt", "Item Option Level:", twipsRect(1680, 120, 1455, 255));
    comboLevel = place<ListSelector>(f, "comboLevel", twipsRect(240, 360, 855, 315), false);
    for (int level = 0; level <= 12; ++level)
        comboLevel->addRow(level == 0 ? QString("0") : QString("+%1").arg(level), level);
    comboOpt = place<ListSelector>(f, "comboOpt", twipsRect(1800, 360, 1575, 315), false);

    label(f, "Label1", "Durability:", twipsRect(120, 720, 855, 255));
    label(f, "Label2", "Serial Number:", twipsRect(1680, 720, 1455, 255));
    txtDur = place<QLineEdit>(f, "txtDur", twipsRect(240, 960, 495, 285), "0");
    limitTypedLength(txtDur, 3);
    lblDur = place<ClickableLabel>(f, "lblDur", twipsRect(840, 960, 615, 255), "(dur)");
    lblDur->setToolTip("Double-click to use this value");
    QPalette grey = lblDur->palette();
    grey.setColor(QPalette::WindowText, QColor(64, 64, 64));
    lblDur->setPalette(grey);
    txtSerial = place<QLineEdit>(f, "txtSerial", twipsRect(1800, 960, 1575, 285), "0");
    limitTypedLength(txtSerial, 9);

    checkSkill = place<QCheckBox>(f, "checkSkill", twipsRect(240, 1320, 1335, 315), "Skill");
    checkLuck = place<QCheckBox>(f, "checkLuck", twipsRect(1800, 1320, 1575, 315), "Luck");
    // Shown only for layouts with a level range or an excellent flag.
    lblMaxLevel = label(f, "lblMaxLevel", "Highest Level:", twipsRect(120, 1680, 1455, 255));
    comboMaxLevel = place<ListSelector>(f, "comboMaxLevel", twipsRect(240, 1920, 855, 315), false);
    for (int level = 0; level <= 12; ++level)
        comboMaxLevel->addRow(level == 0 ? QString("0") : QString("+%1").arg(level), level);
    checkExcItem = place<QCheckBox>(f, "checkExcItem", twipsRect(1800, 1920, 1575, 315), "Excellent");
    checkExcItem->setToolTip("The server gives the item excellent options of its own choosing");

    label(f, "lvlExcOptions", "Excellent Options:", twipsRect(120, 2400, 3255, 255));
    arrCheckExc[0] = place<QCheckBox>(f, "checkExcAll", twipsRect(240, 2640, 3135, 255), "All");
    for (int n = 1; n <= 12; ++n) {
        const QByteArray name = QByteArray("checkExc") + QByteArray::number(n);
        auto* box = place<QCheckBox>(f, "", twipsRect(240, 2880 + 240 * (n - 1), 3135, 255), kExcCaptions[n - 1]);
        box->setObjectName(QString::fromLatin1(name));
        arrCheckExc[n] = box;
    }
}

void formTolvane::buildSearchControls()
{
    txtQuery = place<QLineEdit>(frmSearch, "txtQuery", twipsRect(120, 190, 1695, 315), "name of item to find...");
    cmdFind = place<QPushButton>(frmSearch, "cmdFind", twipsRect(1920, 190, 855, 315), "Find");
    label(frmSearch, "lblResults", "Results:", twipsRect(120, 620, 615, 220));
    optSearchMode = place<QCheckBox>(frmSearch, "optSearchMode", twipsRect(960, 620, 1815, 220), "Match Whole Words");
    lstResults = place<QListWidget>(frmSearch, "lstResults", twipsRect(120, 840, 2655, 1425));
}

void formTolvane::connectHandlers()
{
    for (int i = 0; i < 3; ++i)
        connect(optCategory[i], &QToolButton::toggled, this, [this, i](bool checked) {
            if (checked)
                optCategory_Click(i);
        });
    connect(comboClassSelector, &QComboBox::currentIndexChanged, this, [this] { comboClassSelector_Click(); });
    connect(comboItemSelector, &QComboBox::currentIndexChanged, this, [this] { comboItemSelector_Click(); });
    connect(comboSubTypeSelector, &QComboBox::currentIndexChanged, this, [this] { comboSubTypeSelector_Click(); });
    connect(comboLevel, &QComboBox::currentIndexChanged, this, [this] { comboLevel_Click(); });
    connect(comboOpt, &QComboBox::currentIndexChanged, this, [this] { comboOpt_Click(); });

    connect(arrCheckExc[0], &QCheckBox::stateChanged, this, [this] { checkExcAll_Click(); });
    for (int n = 1; n <= 12; ++n)
        connect(arrCheckExc[n], &QCheckBox::stateChanged, this, [this, n] { checkExc_Click(n); });
    connect(checkSkill, &QCheckBox::stateChanged, this, [this] { checkSkill_Click(); });
    connect(checkLuck, &QCheckBox::stateChanged, this, [this] { checkLuck_Click(); });
    connect(comboMaxLevel, &QComboBox::currentIndexChanged, this, [this] { comboMaxLevel_Click(); });
    connect(checkExcItem, &QCheckBox::stateChanged, this, [this] { checkExcItem_Click(); });
    connect(txtDur, &QLineEdit::textChanged, this, [this] { txtDur_Change(); });
    connect(txtSerial, &QLineEdit::textChanged, this, [this] { txtSerial_Change(); });
    connect(lblDur, &ClickableLabel::doubleClicked, this, [this] { lblDur_DblClick(); });

    connect(cmdShopNew, &QPushButton::clicked, this, [this] { cmdShopNew_Click(); });
    connect(cmdShopRemove, &QPushButton::clicked, this, [this] { cmdShopRemove_Click(); });
    connect(cmdShopItemShiftU, &QPushButton::clicked, this, [this] { cmdShopItemShiftU_Click(); });
    connect(cmdShopItemShiftD, &QPushButton::clicked, this, [this] { cmdShopItemShiftD_Click(); });
    // An entry is loaded when the user selects it; the keyboard focus alone
    // (Tab, a click on the empty area, the window coming back) loads nothing.
    connect(lstShop->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (quietSelection_ == 0)
            lstShop_Click();
    });
    connect(txtShopComment, &QLineEdit::textChanged, this, [this] { txtShopComment_Change(); });
    connect(txtShopComment, &QLineEdit::inputRejected, this, [this] {
        tellUser(StatusColor::Yellow, "Comment> " + QString::fromStdString(docEncoding_.label()) +
                                          " cannot hold that character; the file is written in it.");
    });
    lstShop->installEventFilter(this);
    lstShop->viewport()->installEventFilter(this);

    connect(cmdFind, &QPushButton::clicked, this, [this] { cmdFind_Click(); });
    connect(txtQuery, &QLineEdit::returnPressed, this, [this] { cmdFind_Click(); });
    connect(lstResults, &QListWidget::itemSelectionChanged, this, [this] { lstResults_Click(); });
    // Clicking the hit that is already chosen loads it again.
    connect(lstResults, &QListWidget::itemClicked, this, [this] {
        if (resultPressedOnSelected_)
            lstResults_Click();
    });
    lstResults->viewport()->installEventFilter(this);
    connect(optSearchMode, &QCheckBox::stateChanged, this, [this] { optSearchMode_Click(); });

    // Every text box hands the menus' shortcut keys to the menus.
    for (QLineEdit* box : findChildren<QLineEdit*>())
        box->installEventFilter(this);
}

}  // namespace vs
