// The property editor: durability, serial number, skill, luck, excellent options.
#include "catalog/token_value.h"
#include "codes/vault_code.h"
#include "window/clickable_label.h"
#include "window/list_selector.h"
#include "window/form_tolvane.h"
#include "window/text_bytes.h"

#include <QCheckBox>
#include <QLineEdit>

namespace vs {

namespace {
int boxValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}
}  // namespace

void formTolvane::checkExc_Click(int number)
{
    if (theItem)
        theItem->setXlntOption((number - 1) % kExcellentCount, boxValue(arrCheckExc[number]));
}

void formTolvane::checkExcAll_Click()
{
    if (!theItem)
        return;
    const int value = boxValue(arrCheckExc[0]);
    theItem->setXlntOption(kAllExcellent, value);
    // Each box whose value changes raises its own handler; "All" itself is already there.
    for (QCheckBox* box : arrCheckExc)
        box->setCheckState(arrCheckExc[0]->checkState());
}

void formTolvane::checkSkill_Click()
{
    if (theItem)
        theItem->setSkill(boxValue(checkSkill));
}

void formTolvane::checkLuck_Click()
{
    if (theItem)
        theItem->setLuck(boxValue(checkLuck));
}

void formTolvane::comboMaxLevel_Click()
{
    const int position = comboMaxLevel->listIndex();
    if (theItem && position >= 0)
        theItem->setMaxLevel(position);
}

void formTolvane::checkExcItem_Click()
{
    if (theItem)
        theItem->setExcellentFlag(boxValue(checkExcItem));
}

void formTolvane::txtDur_Change()
{
    if (!theItem)
        return;
    const double value = roundHalfEven(tokenValue(toBytes(txtDur->text())));
    if (!(value >= -32768 && value <= 32767)) {
        tellUser(StatusColor::Yellow, QString("Durability> \"%1\" is not a number from -32768 to 32767; "
                                              "the durability stays %2.")
                                          .arg(txtDur->text())
                                          .arg(theItem->shopCode.dur));
        return;
    }
    theItem->setDur(value);
}

void formTolvane::txtSerial_Change()
{
    if (!theItem)
        return;
    const double value = tokenValue(toBytes(txtSerial->text()));
    if (!clsVaultCode::serialFits(value)) {
        tellUser(StatusColor::Yellow, QString("Serial Number> \"%1\" is outside -2147483648 to 2147483647; "
                                              "the vault code keeps the last valid serial.")
                                          .arg(txtSerial->text()));
        return;
    }
    theItem->setId(value);
}

void formTolvane::lblDur_DblClick()
{
    const QString caption = lblDur->text();
    txtDur->setText(caption.size() >= 2 ? caption.mid(1, caption.size() - 2) : QString());
}

}  // namespace vs
