// The item selectors: category buttons, class, item, subtype, level and option.
#include "catalog/tables.h"
#include "catalog/text_utils.h"
#include "window/clickable_label.h"
#include "window/form_tolvane.h"
#include "window/list_selector.h"
#include "window/text_bytes.h"

#include <QToolButton>

namespace vs {

int16_t formTolvane::getClassIndex() const
{
    const int position = comboClassSelector->listIndex();
    return static_cast<int16_t>(position < 0 ? kClassCount : comboClassSelector->rowValue(position));
}

int16_t formTolvane::getItemIndex() const
{
    const int position = comboItemSelector->listIndex();
    return static_cast<int16_t>(position < 0 ? kItemsPerClass : comboItemSelector->rowValue(position));
}

int16_t formTolvane::getItemDur() const
{
    const clsItemProperty* entry = catalog_->item(getClassIndex(), getItemIndex());
    return entry ? entry->dur : 0;
}

void formTolvane::populateClassSelector(int cat)
{
    comboClassSelector->clearRows();
    for (int c : arrCatClasses().at(cat))
        comboClassSelector->addRow(fromBytes(arrClassNames()[c]), c);
}

void formTolvane::populateItemSelector()
{
    const int cls = getClassIndex();
    for (int t = 0; t < kItemsPerClass; ++t)
        if (const clsItemProperty* entry = catalog_->item(cls, t))
            comboItemSelector->addRow(catalogText(entry->name), t);
}

void formTolvane::populateSubTypeSelector(int index)
{
    comboSubTypeSelector->setEnabled(true);
    comboSubTypeSelector->clearRows();
    const int cls = theItem->getClassIndex();
    const int type = theItem->getTypeIndex();
    if (const clsItemProperty* entry = catalog_->item(cls, type); entry && !catalog_->subTypeExist(index, 0))
        comboSubTypeSelector->addRow(catalogText(entry->name), 0);
    for (const clsSubTypeProperty& row : catalog_->arrSubTypes)
        if (row.id == index)
            comboSubTypeSelector->addRow(catalogText(row.name), row.level);
    if (comboSubTypeSelector->listIndex() < 0 && comboSubTypeSelector->count() > 0)
        comboSubTypeSelector->setListIndex(0);
}

void formTolvane::relabelCatalogNames()
{
    // Both selectors keep their rows in catalog order, so only the texts change.
    const int cls = getClassIndex();
    for (int i = 0; i < comboItemSelector->count(); ++i)
        if (const clsItemProperty* entry = catalog_->item(cls, comboItemSelector->rowValue(i)))
            comboItemSelector->setItemText(i, catalogText(entry->name));
    const int type = getItemIndex();
    const clsItemProperty* item = catalog_->item(cls, type);
    for (int i = 0; i < comboSubTypeSelector->count(); ++i) {
        const int level = comboSubTypeSelector->rowValue(i);
        if (const clsSubTypeProperty* row = catalog_->getSubType(makeId(cls, type), level))
            comboSubTypeSelector->setItemText(i, catalogText(row->name));
        else if (item)
            comboSubTypeSelector->setItemText(i, catalogText(item->name));
    }
}

void formTolvane::populateOptionSelector()
{
    comboOpt->clearRows();
    for (int k = 0; k <= 4; ++k)
        comboOpt->addRow(fromBytes(arrOptNames()[optionIndex][k]), k);
}

void formTolvane::updateOptIndex()
{
    optionIndex = static_cast<int16_t>(optionRow(getClassIndex(), getItemIndex()));
}

void formTolvane::optCategory_Click(int index)
{
    if (!theItem)
        return;
    if (index == 0 || index == 1)
        optionIndex = 0;
    populateClassSelector(index);
    theItem->updateCategory();
}

void formTolvane::comboClassSelector_Click()
{
    if (!theItem)
        return;
    comboItemSelector->clearRows();
    populateItemSelector();
    theItem->setClassIndex(getClassIndex());
    if (comboItemSelector->count() == 0)
        tellUser(StatusColor::Yellow, QString("Select Class> No known items are found."));
    updateOptIndex();
}

void formTolvane::comboItemSelector_Click()
{
    if (!theItem)
        return;
    lblDur->setText(QString("(%1)").arg(getItemDur()));
    updateOptIndex();
    populateOptionSelector();
    theItem->setTypeIndex(getItemIndex());
    const int id = theItem->getDecSerial();
    if (catalog_->hasSubTypes(id))
        populateSubTypeSelector(id);
    else
        comboSubTypeSelector->setEnabled(false);
}

void formTolvane::comboSubTypeSelector_Click()
{
    const int position = comboSubTypeSelector->listIndex();
    if (theItem && position >= 0)
        theItem->setLevel(comboSubTypeSelector->rowValue(position));
}

void formTolvane::comboLevel_Click()
{
    const int position = comboLevel->listIndex();
    if (theItem && position >= 0)
        theItem->setLevel(position);
}

void formTolvane::comboOpt_Click()
{
    const int position = comboOpt->listIndex();
    if (theItem && position >= 0)
        theItem->setOptLevel(position);
}

}  // namespace vs
