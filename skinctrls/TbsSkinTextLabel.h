#pragma once
// A multi-line skinned label whose text is a string list, drawn with the
// skin's label font; with AutoSize it grows to exactly its lines.

#include "Controls.h"
#include "SkinBinding.h"
#include "SkinLabelText.h"
#include "TStrings.h"
#include "TextAlignment.h"

class TbsSkinTextLabel : public TGraphicControl, public SkinBinding {
public:
    explicit TbsSkinTextLabel(TComponent* AOwner);
    ~TbsSkinTextLabel() override;

    const TStringList& Lines() const { return lines_; }
    // Changing the list through here resizes (AutoSize) and repaints.
    TStringList& Lines() { return lines_; }
    void SetLines(const TStrings& value);

    TbsSkinData* SkinData() const override { return skinData_; }
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
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Fits the height (and, without word wrap, the width) to the lines.
    void AdjustBounds();

private:
    void Bind();
    AnsiString JoinedText() const;
    unsigned Flags() const;
    void Changed();

    TStringList lines_;
    TbsSkinData* skinData_ = nullptr;
    AnsiString skinDataName_ = "stdlabel";
    int recordIndex_ = -1;
    SkinLabelFontKeys keys_;
    TFont defaultFont_;
    bool useSkinFont_ = true;
    bool useSkinColor_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
};
