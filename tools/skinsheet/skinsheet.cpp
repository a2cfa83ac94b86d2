// skinsheet: a contact sheet of a skin. Loads a skin with the skin data
// component and composes, with the skinning layer's own composition routines,
// the main window's frame (active and inactive, with its caption buttons and
// its shape) and every control record at the sizes the main window gives its
// controls, in each state, into one PNG.
//
//   skinsheet <skin.ini> <out.png>
//
// Exit status: 0 written, 1 the skin did not load or the file could not be
// written, 2 wrong arguments.

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Exceptions.h"
#include "PngFile.h"
#include "SkinComposition.h"
#include "SkinFrameParts.h"
#include "SkinGeometry.h"
#include "SkinPieceCopy.h"
#include "SkinRegions.h"
#include "SkinTextLayout.h"
#include "TbsEffectBmp.h"
#include "TbsSkinData.h"

namespace {

constexpr int kClientW = 545, kClientH = 400;  // the main window's client area
constexpr int kPageW = 1240;
constexpr TColor kPageColor = 0xE8E4E0;
constexpr TColor kLabelColor = 0x505050;

// ---- the page: cells placed left to right, each with a label above ----

class Sheet {
public:
    Sheet() : page_(kPageW, 4000) { page_.Fill(kPageColor); }

    // Puts `image` into the next cell; `region`, when given, keeps only its
    // pixels (the window's shape) and leaves the page colour around it.
    void Place(const TBitmap& image, const std::string& label, const TRegion* region = nullptr) {
        TCanvas& canvas = page_.Canvas();
        SetLabelFont(canvas);
        const int labelW = canvas.TextWidth(label);
        const int cellW = std::max(image.Width(), labelW);
        if (x_ + cellW > kPageW - kMargin) NewRow();
        canvas.Brush.Style = bsClear;
        canvas.TextOut(x_, y_, label);
        const int top = y_ + kLabelH;
        if (region) {
            TRegion placed = *region;
            placed.Offset(x_, top);
            canvas.SaveDC();
            canvas.SetClipRegion(placed);
            canvas.Draw(x_, top, image);
            canvas.RestoreDC();
        } else {
            canvas.Draw(x_, top, image);
        }
        x_ += cellW + kGap;
        rowH_ = std::max(rowH_, kLabelH + image.Height());
    }

    void NewRow() {
        if (x_ == kMargin) return;
        y_ += rowH_ + kGap;
        x_ = kMargin;
        rowH_ = 0;
    }

    void Heading(const std::string& text) {
        NewRow();
        TCanvas& canvas = page_.Canvas();
        canvas.Font.SetName("Arial");
        canvas.Font.SetHeight(16);
        canvas.Font.SetStyle(fsBold);
        canvas.Font.SetColor(clBlack);
        canvas.Brush.Style = bsClear;
        canvas.TextOut(x_, y_, text);
        y_ += 24;
    }

    bool Save(const std::string& path) {
        NewRow();
        TBitmap out(kPageW, y_ + kMargin);
        out.Canvas().Draw(0, 0, page_);
        return SavePng(out, path);
    }

private:
    static constexpr int kMargin = 12, kGap = 14, kLabelH = 15;

    static void SetLabelFont(TCanvas& canvas) {
        canvas.Font.SetName("Arial");
        canvas.Font.SetHeight(12);
        canvas.Font.SetStyle(0);
        canvas.Font.SetColor(kLabelColor);
    }

    TBitmap page_;
    int x_ = kMargin, y_ = kMargin, rowH_ = 0;
};

// ---- reading the skin ----

const TBitmap* Picture(const TbsSkinData& skin, int index) {
    const auto& list = skin.ActiveBitmaps();
    if (index < 0 || index >= int(list.size()) || !list[std::size_t(index)]) return nullptr;
    return list[std::size_t(index)].get();
}

template <class Record>
const Record* FindControl(const TbsSkinData& skin, const char* name) {
    const int i = skin.FindControlIndex(name);
    return i < 0 ? nullptr : dynamic_cast<const Record*>(skin.SkinControls()[std::size_t(i)].get());
}

template <class Record>
const Record* FindObject(const TbsSkinData& skin, const char* name) {
    const int i = skin.FindObjectIndex(name);
    return i < 0 ? nullptr : dynamic_cast<const Record*>(skin.SkinObjects()[std::size_t(i)].get());
}

void SetFont(TCanvas& canvas, const AnsiString& name, int height, TFontStyles style, TColor color) {
    canvas.Font.SetName(name);
    canvas.Font.SetHeight(height);
    canvas.Font.SetStyle(style);
    canvas.Font.SetColor(color);
}

// ---- composing a control record as a control of that size would ----

// Composes `source` (a state's rectangle) of a custom control record at
// W x H by the record's composition kind and returns the text area.
TRect ComposeRecord(const TbsDataSkinCustomControl& r, const TRect& source, const TBitmap& picture, int W, int H,
                    TBitmap& out) {
    const TRect& cr = r.clientrect;
    const int dW = W - source.Width(), dH = H - source.Height();
    switch (r.CompositionKind()) {
        case SkinComposition::Frame: {
            const SkinCornerPoints points = CornerPointsOf(r);
            const SkinCornerPoints sized = SizedCornerPoints(points, {source.Width(), source.Height()}, {W, H});
            ComposeSkinImage(points, source, picture, out, W, H, sized, StretchFlagsOf(r), true);
            return sized.clientrect;
        }
        case SkinComposition::Row:
            ComposeRowImage(r.lefttoppoint.X, source.Width() - r.righttoppoint.X, out, r.stretcheffect, W, source,
                            picture);
            return {cr.Left, cr.Top, cr.Right + dW, cr.Bottom};
        case SkinComposition::Column:
            ComposeColumnImage(r.lefttoppoint.Y, source.Height() - r.leftbottompoint.Y, out, r.stretcheffect, H,
                               source, picture);
            return {cr.Left, cr.Top, cr.Right, cr.Bottom + dH};
        case SkinComposition::Fixed:
            out.SetSize(source.Width(), source.Height());
            CopySkinPiece(out, 0, 0, picture, source);
            return cr;
        case SkinComposition::None:
            break;
    }
    out.SetSize(W, H);
    out.Fill(clBtnFace);
    return out.BoundsRect();
}

bool ComposeButton(const TbsSkinData& skin, const TbsDataSkinButtonControl& r, int W, int H, const AnsiString& caption,
                   const TRect& state, TColor fontColor, TBitmap& image) {
    const TBitmap* picture = Picture(skin, r.pictureindex);
    if (!picture || RectIsEmpty(state)) return false;
    const TRect textRect = ComposeRecord(r, state, *picture, W, H, image);
    SetFont(image.Canvas(), r.fontname, r.fontheight, r.fontstyle, fontColor);
    DrawBitmapGlyphAndText(image.Canvas(), textRect, -1, clNone, false, false, 1, 1, TBitmap(), caption, blGlyphLeft, 1);
    return true;
}

void ButtonCell(Sheet& sheet, const TbsSkinData& skin, const TbsDataSkinButtonControl& r, const char* name, int W,
                int H, const AnsiString& caption, const TRect& state, TColor fontColor, const std::string& label) {
    TBitmap image;
    if (!ComposeButton(skin, r, W, H, caption, state, fontColor, image)) return;
    sheet.Place(image, std::string(name) + ": " + label + " " + std::to_string(image.Width()) + "x" +
                           std::to_string(image.Height()));
}

void Buttons(Sheet& sheet, const TbsSkinData& skin) {
    const auto* r = FindControl<TbsDataSkinButtonControl>(skin, "button");
    if (!r) return;
    sheet.Heading("button (BtTran 65 x 25, then the other buttons of the main window)");
    const TRect active = RectIsEmpty(r->activeskinrect) ? r->skinrect : r->activeskinrect;
    const TRect down = RectIsEmpty(r->downskinrect) ? active : r->downskinrect;
    ButtonCell(sheet, skin, *r, "button", 65, 25, "翻译", r->skinrect, r->fontcolor, "normal");
    ButtonCell(sheet, skin, *r, "button", 65, 25, "翻译", active, r->activefontcolor, "active");
    ButtonCell(sheet, skin, *r, "button", 65, 25, "翻译", down, r->downfontcolor, "down");
    ButtonCell(sheet, skin, *r, "button", 65, 25, "翻译", r->focusedskinrect, r->fontcolor, "focused");
    ButtonCell(sheet, skin, *r, "button", 65, 25, "翻译", r->disabledskinrect, r->disabledfontcolor, "disabled");
    ButtonCell(sheet, skin, *r, "button", 29, 25, "...", r->skinrect, r->fontcolor, "normal");
    ButtonCell(sheet, skin, *r, "button", 46, 25, "导入", r->skinrect, r->fontcolor, "normal");
    ButtonCell(sheet, skin, *r, "button", 98, 25, "单词共享", r->skinrect, r->fontcolor, "normal");
    ButtonCell(sheet, skin, *r, "button", 80, 25, "邮件联系", r->skinrect, r->fontcolor, "normal");

    // The hover animation: normal towards active by the record's morph kind.
    const TBitmap* picture = Picture(skin, r->pictureindex);
    if (!picture || !r->morphing) return;
    TBitmap from, to;
    ComposeRecord(*r, r->skinrect, *picture, 65, 25, from);
    ComposeRecord(*r, active, *picture, 65, 25, to);
    const TbsEffectBmp target(to);
    for (const double k : {0.2, 0.4, 0.6, 0.8}) {
        TbsEffectBmp blend(from);
        blend.Morph(r->morphkind, target, k);
        TBitmap frame;
        blend.AssignTo(frame);
        sheet.Place(frame, "morph k=" + std::to_string(k).substr(0, 3));
    }

    if (const auto* header = FindControl<TbsDataSkinButtonControl>(skin, "resizetoolbutton")) {
        ButtonCell(sheet, skin, *header, "resizetoolbutton", 180, 20, "", header->skinrect, header->fontcolor, "normal");
        ButtonCell(sheet, skin, *header, "resizetoolbutton", 180, 20, "", header->activeskinrect, header->fontcolor,
                   "active");
        ButtonCell(sheet, skin, *header, "resizetoolbutton", 180, 20, "", header->downskinrect, header->fontcolor,
                   "down");
    }
}

bool ComposeEdit(const TbsSkinData& skin, const char* name, int W, int H, const AnsiString& text, bool active,
                 TBitmap& image) {
    const auto* r = FindControl<TbsDataSkinEditControl>(skin, name);
    const TBitmap* picture = r ? Picture(skin, r->pictureindex) : nullptr;
    if (!picture) return false;
    {
        const TRect& state = active && !RectIsEmpty(r->activeskinrect) ? r->activeskinrect : r->skinrect;
        const TRect textRect = ComposeRecord(*r, state, *picture, W, H, image);
        if (const auto* memo = dynamic_cast<const TbsDataSkinMemoControl*>(r)) {
            image.Canvas().Brush.Color = active ? memo->activebgcolor : memo->bgcolor;
            image.Canvas().FillRect(textRect);
        }
        SetFont(image.Canvas(), r->fontname, r->fontheight, r->fontstyle, active ? r->activefontcolor : r->fontcolor);
        image.Canvas().Brush.Style = bsClear;
        TRect box = textRect;
        image.Canvas().DrawText(text, box,
                                dynamic_cast<const TbsDataSkinMemoControl*>(r) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
    }
    return true;
}

void EditCell(Sheet& sheet, const TbsSkinData& skin, const char* name, int W, int H, const AnsiString& text) {
    for (const bool active : {false, true}) {
        TBitmap image;
        if (!ComposeEdit(skin, name, W, H, text, active, image)) return;
        sheet.Place(image, std::string(name) + (active ? ": active " : ": normal ") + std::to_string(W) + "x" +
                               std::to_string(image.Height()));
    }
}

// A three-piece item image (list box and combo box items, menu items).
void DrawItem(TCanvas& canvas, const TBitmap& picture, const TRect& source, int left, int right, bool stretch,
              const TRect& at) {
    if (RectIsEmpty(source)) return;
    TBitmap item;
    ComposeRowImage(left, right, item, stretch, at.Width(), source, picture);
    canvas.Draw(at.Left, at.Top, item);
}

void Lists(Sheet& sheet, const TbsSkinData& skin) {
    sheet.Heading("edit, memo, combo box and its list");
    EditCell(sheet, skin, "edit", 100, 21, "hello");
    EditCell(sheet, skin, "edit", 98, 21, "C:\\");
    if (const auto* r = FindControl<TbsDataSkinComboBox>(skin, "combobox"); r && Picture(skin, r->pictureindex)) {
        const TBitmap& picture = *Picture(skin, r->pictureindex);
        const struct {
            const char* name;
            TRect body, button;
        } states[] = {{"normal", r->skinrect, {}},
                      {"active", r->activeskinrect, r->activebuttonrect},
                      {"down", r->activeskinrect, r->downbuttonrect},
                      {"disabled", r->skinrect, r->unenabledbuttonrect}};
        for (const auto& s : states) {
            TBitmap image;
            const TRect textRect = ComposeRecord(*r, RectIsEmpty(s.body) ? r->skinrect : s.body, picture, 126, 20, image);
            const int dW = image.Width() - r->skinrect.Width();
            if (!RectIsEmpty(s.button)) {
                TRect place = r->buttonrect;
                if (place.Left > r->righttoppoint.X) place = OffsetRect(place, dW, 0);
                StretchSkinPiece(image, place, picture, s.button);
            }
            DrawItem(image.Canvas(), picture, r->itemrect, r->itemleftoffset, r->itemrightoffset, r->itemstretcheffect,
                     {textRect.Left, textRect.Top, textRect.Right, textRect.Top + r->itemrect.Height()});
            SetFont(image.Canvas(), r->fontname, r->fontheight, r->fontstyle, r->fontcolor);
            DrawTextLeftCentered(image.Canvas(), "word", textRect);
            sheet.Place(image, std::string("combobox: ") + s.name);
        }
    }
    if (const auto* r = FindControl<TbsDataSkinListBox>(skin, "listbox"); r && Picture(skin, r->pictureindex)) {
        const TBitmap& picture = *Picture(skin, r->pictureindex);
        TBitmap image;
        const TRect client = ComposeRecord(*r, r->skinrect, picture, 126, 8 * 20 + 2, image);
        const char* words[] = {"word", "wordbook", "wording", "words", "wordy", "work", "worker", "world"};
        for (int i = 0; i < 8; ++i) {
            const TRect row{client.Left, client.Top + i * 20, client.Right, client.Top + i * 20 + 20};
            const TRect source = i == 1 ? r->activeitemrect : i == 2 ? r->focusitemrect : r->itemrect;
            DrawItem(image.Canvas(), picture, source, r->itemleftoffset, r->itemrightoffset, true, row);
            SetFont(image.Canvas(), r->fontname, r->fontheight, r->fontstyle,
                    i == 1 ? r->activefontcolor : i == 2 ? r->focusfontcolor : r->fontcolor);
            DrawTextLeftCenteredAt(image.Canvas(), words[i], row, r->itemtextrect.Left);
        }
        sheet.Place(image, "listbox: items normal, active, focused");
    }
    EditCell(sheet, skin, "memo", 300, 240, "n. 词典，字典；辞书\r\nA dictionary lists the words of a language.");
}

// The group box "单     词" with the hit list filling its client area.
bool ComposeGroupBox(const TbsSkinData& skin, TBitmap& image) {
    const auto* r = FindControl<TbsDataSkinPanelControl>(skin, "groupbox");
    if (!r || !Picture(skin, r->pictureindex)) return false;
    const TRect client = ComposeRecord(*r, r->skinrect, *Picture(skin, r->pictureindex), 180, 210, image);
    TRect caption = r->captionrect;
    caption.Right += image.Width() - r->skinrect.Width();
    SetFont(image.Canvas(), r->fontname, r->fontheight, r->fontstyle, r->fontcolor);
    image.Canvas().Brush.Style = bsClear;
    image.Canvas().DrawText("单     词", caption, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    if (const auto* lv = FindControl<TbsDataSkinListView>(skin, "listview")) {
        TCanvas& c = image.Canvas();
        c.Brush.Style = bsSolid;
        c.Brush.Color = lv->bgcolor;
        c.FillRect(client);
        SetFont(c, lv->fontname, lv->fontheight, lv->fontstyle, lv->fontcolor);
        const char* words[] = {"dictionary", "diction", "dictum", "did"};
        for (int i = 0; i < 4; ++i) {
            const TRect row{client.Left, client.Top + i * 18, client.Right, client.Top + i * 18 + 18};
            DrawTextLeftCentered(c, words[i], row);
            c.Pen.Color = clSilver;
            c.MoveTo(row.Left, row.Bottom - 1);
            c.LineTo(row.Right, row.Bottom - 1);
        }
    }
    return true;
}

void Panels(Sheet& sheet, const TbsSkinData& skin) {
    sheet.Heading("group box with the list view, panel, scroll bars, labels, check box");
    TBitmap groupBox;
    if (ComposeGroupBox(skin, groupBox)) sheet.Place(groupBox, "groupbox + listview 180x210");
    if (const auto* r = FindControl<TbsDataSkinPanelControl>(skin, "panel"); r && Picture(skin, r->pictureindex)) {
        TBitmap image;
        ComposeRecord(*r, r->skinrect, *Picture(skin, r->pictureindex), 180, 100, image);
        sheet.Place(image, "panel 180x100");
    }
    for (const auto& [name, W, H] : {std::tuple{"vscrollbar", 17, 210}, std::tuple{"hscrollbar", 180, 17},
                                     std::tuple{"bothhscrollbar", 180, 17}}) {
        const auto* r = FindControl<TbsDataSkinScrollBarControl>(skin, name);
        const TBitmap* picture = r ? Picture(skin, r->pictureindex) : nullptr;
        if (!picture) continue;
        TBitmap image;
        ComposeRecord(*r, r->skinrect, *picture, W, H, image);
        const bool vertical = r->CompositionKind() == SkinComposition::Column;
        TRect track = r->trackarea;
        if (vertical)
            track.Bottom += image.Height() - r->skinrect.Height();
        else
            track.Right += image.Width() - r->skinrect.Width();
        if (!RectIsEmpty(r->thumbrect)) {
            TBitmap thumb;
            if (vertical) {
                ComposeColumnImage(r->thumboffset1, r->thumboffset2, thumb, r->thumbstretcheffect, 40, r->thumbrect,
                                   *picture);
                image.Canvas().Draw(track.Left + (track.Width() - thumb.Width()) / 2, track.Top + 30, thumb);
            } else {
                ComposeRowImage(r->thumboffset1, r->thumboffset2, thumb, r->thumbstretcheffect, 40, r->thumbrect,
                                *picture);
                image.Canvas().Draw(track.Left + 30, track.Top + (track.Height() - thumb.Height()) / 2, thumb);
            }
        }
        sheet.Place(image, std::string(name));
    }
    if (const auto* r = FindControl<TbsDataSkinStdLabelControl>(skin, "stdlabel")) {
        TBitmap image(150, 40);
        image.Fill(kPageColor);
        SetFont(image.Canvas(), r->fontname, r->fontheight, r->fontstyle, r->fontcolor);
        image.Canvas().Brush.Style = bsClear;
        image.Canvas().TextOut(2, 2, "标签 label");
        image.Canvas().Font.SetColor(r->activefontcolor);
        image.Canvas().TextOut(2, 22, "标签 label (active)");
        sheet.Place(image, "stdlabel");
    }
    if (const auto* r = FindControl<TbsDataSkinCheckRadioControl>(skin, "checkradio"); r && Picture(skin, r->pictureindex)) {
        const TBitmap& picture = *Picture(skin, r->pictureindex);
        const struct {
            const char* name;
            TRect body, mark;
            TColor color;
        } states[] = {{"unchecked", r->skinrect, r->uncheckimagerect, r->fontcolor},
                      {"checked", r->skinrect, r->checkimagerect, r->fontcolor},
                      {"active", r->activeskinrect, r->activecheckimagerect, r->activefontcolor},
                      {"grayed", r->skinrect, r->grayedcheckimagerect, r->fontcolor},
                      {"disabled", r->skinrect, r->unenabledcheckimagerect, r->unenabledfontcolor}};
        for (const auto& s : states) {
            TBitmap image;
            ComposeRecord(*r, RectIsEmpty(s.body) ? r->skinrect : s.body, picture, 120, r->skinrect.Height(), image);
            const TRect& area = r->checkimagearea;
            if (!RectIsEmpty(s.mark))
                CopySkinPiece(image, area.Left + (area.Width() - s.mark.Width()) / 2,
                              area.Top + (area.Height() - s.mark.Height()) / 2, picture, s.mark);
            TRect text = r->textarea;
            text.Right += image.Width() - r->skinrect.Width();
            SetFont(image.Canvas(), r->fontname, r->fontheight, r->fontstyle, s.color);
            image.Canvas().Brush.Style = bsClear;
            DrawTextVCentered(image.Canvas(), "选项", text);
            sheet.Place(image, std::string("checkradio: ") + s.name);
        }
    }
}

// ---- the frame, its caption buttons, the popup menu and the hint ----

// The main window's controls on its client area (client coordinates).
void DrawMainWindowControls(const TbsSkinData& skin, TCanvas& canvas, TPoint client) {
    const auto place = [&](const TBitmap& image, int x, int y) { canvas.Draw(client.X + x, client.Y + y, image); };
    TBitmap image;
    if (ComposeEdit(skin, "memo", 300, 295, "n. 词典，字典；辞书", false, image)) place(image, 15, 30);
    if (ComposeEdit(skin, "edit", 100, 21, "dict", true, image)) place(image, 340, 30);
    if (ComposeEdit(skin, "edit", 98, 21, "C:\\", false, image)) place(image, 340, 278);
    if (ComposeGroupBox(skin, image)) place(image, 340, 60);
    if (const auto* r = FindControl<TbsDataSkinButtonControl>(skin, "button")) {
        const struct {
            int x, y, w;
            const char* caption;
        } buttons[] = {{452, 28, 65, "翻译"}, {440, 275, 29, "..."}, {474, 275, 46, "导入"},
                       {340, 305, 98, "单词共享"}, {440, 305, 80, "邮件联系"}};
        for (const auto& b : buttons)
            if (ComposeButton(skin, *r, b.w, 25, b.caption, r->skinrect, r->fontcolor, image)) place(image, b.x, b.y);
    }
}

// The caption buttons the main window shows (system menu, minimise, roll-up,
// minimise-to-tray, close), laid out as the skinned form lays out buttons
// with their own pictures: right to left from the caption area's right edge,
// the system menu button at its left edge. Returns the x range left for the
// caption text.
std::pair<int, int> DrawCaptionButtons(const TbsSkinData& skin, TBitmap& window, const TRect& area, bool active) {
    const int offset = skin.FormInfo().buttonsoffset;
    int right = area.Right, left = area.Left;
    const auto image = [&](const TbsDataSkinStdButton& b) -> std::pair<const TBitmap*, TRect> {
        const TRect& r = active || RectIsEmpty(b.inactiveskinrect) ? b.skinrect : b.inactiveskinrect;
        return {Picture(skin, b.activepictureindex), r};
    };
    for (const SkinCommand command :
         {SkinCommand::Close, SkinCommand::Minimize, SkinCommand::RollUp, SkinCommand::MinimizeToTray}) {
        for (const auto& object : skin.SkinObjects()) {
            const auto* b = dynamic_cast<const TbsDataSkinStdButton*>(object.get());
            if (!b || b->command != command || !b->skinrectinapicture) continue;
            const auto [picture, source] = image(*b);
            if (!picture) continue;
            right -= source.Width();
            CopySkinPiece(window, right, area.Top, *picture, source);
            right -= offset;
        }
    }
    for (const auto& object : skin.SkinObjects()) {
        const auto* b = dynamic_cast<const TbsDataSkinStdButton*>(object.get());
        if (!b || b->command != SkinCommand::SysMenu || !b->skinrectinapicture) continue;
        const auto [picture, source] = image(*b);
        if (!picture) continue;
        const int top = area.Top + area.Height() / 2 - source.Height() / 2;
        CopySkinPiece(window, left, top, *picture, source);
        left += source.Width() + offset;
    }
    return {left, right};
}

void Frame(Sheet& sheet, const TbsSkinData& skin, bool active) {
    const SkinFormInfo& info = skin.FormInfo();
    const TBitmap& main = skin.MainBitmap();
    if (main.Empty()) return;
    const bool computeInactive = !active && info.autorenderinginactiveimage;
    const TBitmap& picture = active || computeInactive || skin.InactiveBitmap().Empty() ? main : skin.InactiveBitmap();
    const int picW = main.Width(), picH = main.Height();
    const int W = kClientW + picW - info.clientrect.Width(), H = kClientH + picH - info.clientrect.Height();
    const SkinCornerPoints points = CornerPointsOf(info);
    const SkinCornerPoints sized = SizedCornerPoints(points, {picW, picH}, {W, H});

    // The client background (the client piece tiled from the client's corner),
    // then the four frame strips over it as the form paints its frame.
    TBitmap window;
    ComposeSkinImage(points, main.BoundsRect(), picture, window, W, H, sized, StretchFlagsOf(info), true);
    SkinFramePartBitmaps parts;
    ComposeFrameParts(points, main.BoundsRect(), picture, W, H, sized, StretchFlagsOf(info), parts);
    for (TBitmap* strip : {&parts.Top, &parts.Bottom, &parts.Left, &parts.Right}) {
        if (!computeInactive || strip->Empty()) continue;
        TbsEffectBmp effect(*strip);
        effect.ApplyImageEffect(info.inactiveeffect);
        effect.AssignTo(*strip);
    }
    TCanvas& canvas = window.Canvas();
    canvas.Draw(0, 0, parts.Top);
    canvas.Draw(0, parts.Top.Height(), parts.Left);
    canvas.Draw(W - parts.Right.Width(), parts.Top.Height(), parts.Right);
    canvas.Draw(0, H - parts.Bottom.Height(), parts.Bottom);

    TRect captionArea = info.captionrect;
    if (!RectIsEmpty(captionArea)) captionArea.Right += W - picW;
    const auto [textLeft, textRight] = DrawCaptionButtons(skin, window, captionArea, active);
    if (const auto* caption = FindObject<TbsDataSkinCaption>(skin, "caption")) {
        SetFont(canvas, caption->fontname, caption->fontheight, caption->fontstyle,
                active ? caption->activefontcolor : caption->fontcolor);
        canvas.Brush.Style = bsClear;
        TRect text{textLeft, captionArea.Top, textRight, captionArea.Bottom};
        const unsigned align = caption->alignment == SkinAlignment::LeftJustify ? DT_LEFT
                               : caption->alignment == SkinAlignment::Center  ? DT_CENTER
                                                                               : DT_RIGHT;
        canvas.DrawText(FitTextToWidth(canvas, "Mirvo英语小词典", text.Width()), text,
                        DT_SINGLELINE | DT_VCENTER | align);
    }
    if (active) DrawMainWindowControls(skin, canvas, sized.clientrect.TopLeft());

    // The window's shape from the mask, around the mask area.
    std::optional<TRegion> shape;
    if (!skin.MaskBitmap().Empty()) {
        SkinCornerPoints maskPoints = points;
        maskPoints.clientrect = info.maskrectarea;
        shape = ComposeSkinRegion(maskPoints, skin.MaskBitmap(), W,
                                  SizedCornerPoints(maskPoints, {picW, picH}, {W, H}));
    }
    sheet.Place(window,
                std::string(active ? "frame, active " : "frame, inactive ") + std::to_string(W) + "x" +
                    std::to_string(H) + " (client 545x400)",
                shape ? &*shape : nullptr);
}

void PopupMenu(Sheet& sheet, const TbsSkinData& skin) {
    const TbsDataSkinPopupWindow& pw = skin.PopupWindow();
    const TBitmap* picture = Picture(skin, pw.windowpictureindex);
    const auto* item = FindObject<TbsDataSkinMenuItem>(skin, "menuitem");
    const TBitmap* items = item ? Picture(skin, item->activepictureindex) : nullptr;
    if (!picture || !items) return;
    const struct {
        const char* text;
        bool divider, highlighted, checked;
    } entries[] = {{"最小化", false, false, false}, {"卷起", false, true, false}, {"最小化到托盘", false, false, true},
                   {"", true, false, false},       {"关于...", false, false, false}, {"", true, false, false},
                   {"关闭", false, false, false}};
    const int itemsW = 150;
    int itemsH = 0;
    for (const auto& e : entries) itemsH += e.divider ? item->dividerrect.Height() : item->skinrect.Height();
    const SkinCornerPoints points = CornerPointsOf(pw);
    const int W = itemsW + picture->Width() - pw.itemsrect.Width();
    const int H = itemsH + picture->Height() - pw.itemsrect.Height();
    const SkinCornerPoints sized = SizedCornerPoints(points, {picture->Width(), picture->Height()}, {W, H});
    TBitmap window;
    ComposeWindowImage(points, picture->BoundsRect(), *picture, window, W, H, sized, StretchFlagsOf(pw), true);
    TCanvas& canvas = window.Canvas();
    int y = sized.clientrect.Top;
    for (const auto& e : entries) {
        const int x = sized.clientrect.Left;
        if (e.divider) {
            DrawItem(canvas, *items, item->dividerrect, item->dividerleftoffset, item->dividerrightoffset,
                     item->dividerstretcheffect, Bounds(x, y, itemsW, item->dividerrect.Height()));
            y += item->dividerrect.Height();
            continue;
        }
        const TRect row = Bounds(x, y, itemsW, item->skinrect.Height());
        if (e.highlighted)
            DrawItem(canvas, *items, item->activeskinrect, item->itemleftoffset, item->itemrightoffset,
                     item->stretcheffect, row);
        if (e.checked && !RectIsEmpty(item->checkimagerect)) {
            const TRect& place = item->imagerect;
            const TRect& mark = item->checkimagerect;
            CopySkinPiece(window, x + place.Left + (place.Width() - mark.Width()) / 2,
                          y + place.Top + (place.Height() - mark.Height()) / 2, *items, mark);
        }
        TRect text = OffsetRect(item->textrect, x, y);
        text.Right += itemsW - item->skinrect.Width();
        SetFont(canvas, item->fontname, item->fontheight, item->fontstyle,
                e.highlighted ? item->activefontcolor : item->fontcolor);
        canvas.Brush.Style = bsClear;
        DrawTextVCentered(canvas, e.text, text);
        y += item->skinrect.Height();
    }
    std::optional<TRegion> shape;
    if (const TBitmap* mask = Picture(skin, pw.maskpictureindex)) shape = ComposeSkinRegion(points, *mask, W, sized);
    sheet.Place(window, "popup menu (system menu)", shape ? &*shape : nullptr);
}

void Hint(Sheet& sheet, const TbsSkinData& skin) {
    const TbsDataSkinHintWindow& hw = skin.HintWindow();
    const TBitmap* picture = Picture(skin, hw.windowpictureindex);
    if (!picture) return;
    TBitmap window;
    SetFont(window.Canvas(), hw.fontname, hw.fontheight, hw.fontstyle, hw.fontcolor);
    const AnsiString text = "输入中文/英文";
    const TSize extent = window.Canvas().TextExtent(text);
    const SkinCornerPoints points = CornerPointsOf(hw);
    const int W = extent.cx + 8 + picture->Width() - hw.clientrect.Width();
    const int H = extent.cy + 4 + picture->Height() - hw.clientrect.Height();
    const SkinCornerPoints sized = SizedCornerPoints(points, {picture->Width(), picture->Height()}, {W, H});
    ComposeWindowImage(points, picture->BoundsRect(), *picture, window, W, H, sized, StretchFlagsOf(hw), true);
    TRect box = sized.clientrect;
    window.Canvas().Brush.Style = bsClear;
    window.Canvas().DrawText(text, box, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    std::optional<TRegion> shape;
    if (const TBitmap* mask = Picture(skin, hw.maskpictureindex)) shape = ComposeSkinRegion(points, *mask, W, sized);
    sheet.Place(window, "hint", shape ? &*shape : nullptr);
}

void CaptionButtonStates(Sheet& sheet, const TbsSkinData& skin) {
    for (const auto& object : skin.SkinObjects()) {
        const auto* b = dynamic_cast<const TbsDataSkinStdButton*>(object.get());
        const TBitmap* picture = b ? Picture(skin, b->activepictureindex) : nullptr;
        if (!picture) continue;
        const std::pair<const char*, TRect> states[] = {{"normal", b->skinrect},
                                                        {"active", b->activeskinrect},
                                                        {"down", b->downrect},
                                                        {"inactive", b->inactiveskinrect}};
        for (const auto& [state, rect] : states) {
            if (RectIsEmpty(rect)) continue;
            TBitmap image(rect.Width(), rect.Height());
            CopySkinPiece(image, 0, 0, *picture, rect);
            sheet.Place(image, b->EntryName + " " + state);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: skinsheet <skin.ini> <out.png>\n", stderr);
        return 2;
    }
    // Without an application a failed load raises its error here.
    const auto loaded = CreateUnowned<TbsSkinData>();
    const TbsSkinData& skin = *loaded;
    try {
        loaded->LoadIniSkin(argv[1]);
    } catch (const Exception& e) {
        std::fprintf(stderr, "skin error: %s\n", e.Message().c_str());
    }
    if (skin.IsEmpty()) {
        std::fprintf(stderr, "%s: not a skin that loads\n", argv[1]);
        return 1;
    }

    Sheet sheet;
    sheet.Heading("frame of the main window, with its controls, and its shape");
    Frame(sheet, skin, true);
    Frame(sheet, skin, false);
    sheet.Heading("caption buttons, popup menu, hint");
    CaptionButtonStates(sheet, skin);
    PopupMenu(sheet, skin);
    Hint(sheet, skin);
    Buttons(sheet, skin);
    Lists(sheet, skin);
    Panels(sheet, skin);
    if (!sheet.Save(argv[2])) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
