#pragma once
// The hit-list store of the main window: a hidden skinned combo box whose
// Items hold the headwords of the last lookup and whose DataList holds, entry
// for entry, the record index of each hit as decimal text. The handlers read
// the current hit through ItemIndex and rely on the combo box raising
// OnChange exactly when its text changes.
//
// The combo box only keeps the reference to the data list: the window
// creates, fills, clears and frees it, and keeps both lists the same length.

#include "TStrings.h"
#include "TbsSkinComboBox.h"

class TMutiDatBsSkinComboBox : public TbsSkinComboBox {
public:
    explicit TMutiDatBsSkinComboBox(TComponent* AOwner) : TbsSkinComboBox(AOwner) {}

    TStrings* DataList() const { return dataList_; }
    void SetDataList(TStrings* list) { dataList_ = list; }

private:
    TStrings* dataList_ = nullptr;
};
