#pragma once
// The platform label drawn with the skin's label font: a record of kind
// "stdlabel" gives name, height, style and colour. Transparent; text may end
// in an ellipsis or be shortened in the middle like a path.

#include "SkinBinding.h"
#include "SkinLabelText.h"
#include "TLabel.h"

enum TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

class TbsSkinStdLabel : public TCustomLabel, public SkinBinding {
public:
    explicit TbsSkinStdLabel(TComponent* AOwner);
    ~TbsSkinStdLabel() override;

    TbsSkinData* SkinData() const override { return skinData_; }
    // Stores; with a skin, binds, fits the size (AutoSize) and repaints.
    void SetSkinData(TbsSkinData* value);
    const AnsiString& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const AnsiString& value) { skinDataName_ = value; }
    void ForgetSkinRecord() override { recordIndex_ = -1; keys_.bound = false; }
    void ApplySkin() override;
    int RecordIndex() const { return recordIndex_; }

    const TFont& DefaultFont() const { return defaultFont_; }
    TFont& DefaultFont() { return defaultFont_; }
    void SetDefaultFont(const TFont& value) { defaultFont_.Assign(value); }
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);
    bool UseSkinColor() const { return useSkinColor_; }
    void SetUseSkinColor(bool value);
    TbsEllipsType EllipsType() const { return ellipsType_; }
    void SetEllipsType(TbsEllipsType value);

protected:
    void DoDrawText(TRect& rect, unsigned flags) override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Bind();

    TbsSkinData* skinData_ = nullptr;
    AnsiString skinDataName_ = "stdlabel";
    int recordIndex_ = -1;
    SkinLabelFontKeys keys_;
    TFont defaultFont_;
    bool useSkinFont_ = true;
    bool useSkinColor_ = true;
    TbsEllipsType ellipsType_ = bsetNone;
};
