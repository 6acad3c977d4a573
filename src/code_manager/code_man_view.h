#pragma once

#include "codes/item_columns.h"

#include <string>

namespace vs {

// Colours of the status line.
enum class StatusColor { White, Yellow, Green };

// What the code manager needs of the window. Every setter behaves like the
// control it stands for: changing a value raises that control's own handler
// before the call returns, and setting the value it already holds raises nothing.
class CodeManView {
public:
    virtual ~CodeManView() = default;

    // The two code boxes.
    virtual void showVaultCode(const std::string& text) = 0;
    virtual void selectVaultCode(int start, int length) = 0;
    virtual void showShopCode(const std::string& text) = 0;
    virtual void selectShopCode(int start, int length) = 0;

    // Selectors. Positions are rows of the control, -1 for none.
    virtual void pressCategory(int group) = 0;
    virtual void setClassListIndex(int position) = 0;
    virtual void setItemListIndex(int position) = 0;
    virtual int itemRowCount() const = 0;
    virtual int firstClassRowValue() const = 0;
    virtual int getSortedClassIndex(int classIndex) const = 0;
    virtual int getSortedTypeIndex(int typeIndex) const = 0;
    virtual int getSortedSubTypeIndex(int level) const = 0;
    virtual bool subTypeSelectorEnabled() const = 0;
    virtual void setSubTypeListIndex(int position) = 0;
    virtual int levelRowCount() const = 0;
    virtual void setLevelListIndex(int position) = 0;
    virtual void setOptListIndex(int position) = 0;

    // Property editor.
    virtual void setDurText(const std::string& text) = 0;
    virtual void setSkillValue(int value) = 0;
    virtual void setLuckValue(int value) = 0;
    // The highest level of a level range and the excellent flag, shown where
    // the layout has them.
    virtual void setMaxLevelListIndex(int position) = 0;
    virtual void setExcellentFlagValue(int value) = 0;

    // The text of the selected option row, for the display name; the document kind.
    virtual std::string getOptionName() const = 0;
    virtual int editMode() const = 0;
    // The columns of the document's item lines, which an entry is written in.
    virtual const ItemLayout& itemLayout() const = 0;

    // The comment box and its Write-Protect check box.
    virtual bool commentProtected() const = 0;
    virtual std::string commentText() const = 0;
    virtual void setCommentText(const std::string& text) = 0;

    // The selected list entry.
    virtual bool listEntrySelected() const = 0;
    virtual int selectedEntryKind() const = 0;
    // Writes the text into the selected entry; false when the entry could not
    // take it (the view has said why).
    virtual bool setSelectedEntryText(const std::string& text) = 0;
    // Where the selected entry lives, for the status line: "the list".
    virtual std::string selectedEntryPlace() const { return "the list"; }
    // The selected entry by its place, for the status line: "row 5".
    virtual std::string selectedEntryName() const { return "the entry"; }
    // The selected entry's text as it stands.
    virtual std::string selectedEntryText() const { return {}; }

    virtual void tellUser(StatusColor color, const std::string& message) = 0;
    // Clears the clipboard and puts the text on it.
    virtual void putOnClipboard(const std::string& text) = 0;
};

}  // namespace vs
