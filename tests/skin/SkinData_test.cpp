// The skin data component: loading, lookup, clearing, its properties, and
// the change messages as real forms receive them through Screen, with a
// failed load's report read back from the application's message box.

#include "TbsSkinData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CompressedSkin.h"
#include "SkinDataTestSupport.h"
#include "SkinFormsTestSupport.h"
#include "ZlibStreams.h"

using namespace skintest;

namespace {

// What one form saw of one message, with the sender's state at that moment.
struct Received {
    std::string form;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool isEmpty;
    bool isChanging;
    std::size_t controls;
    friend bool operator==(const Received&, const Received&) = default;
};

bool IsSkinDataMessage(UINT msg) {
    return msg == SKINMSG_BEFORECHANGE || msg == SKINMSG_CHANGE || msg == SKINMSG_AFTERCHANGE ||
           msg == SKINMSG_STRINGSCHANGE || msg == SKINMSG_SKINNABLECHANGE;
}

// Messages only, without the sender's state.
std::vector<std::pair<std::string, unsigned>> Messages(const std::vector<Received>& log) {
    std::vector<std::pair<std::string, unsigned>> out;
    for (const auto& r : log) out.emplace_back(r.form, r.msg);
    return out;
}

// Three forms made in the order "first", "owner", "last" (none has a window,
// so that is also the screen's order), each recording the skin messages its
// WindowProc receives, and a skin data component owned by "owner".
class SkinDataTest : public SkinFormsTest {
protected:
    SkinDataTest() {
        Application->SetTitle("Mirvo英语小词典");
        first = MakeForm("first");
        owner = MakeForm("owner");
        last = MakeForm("last");
        data = CreateComponent<TbsSkinData>(owner);
        WatchMessageBoxes();
    }

    // A failed load's error report: one box, captioned with the title,
    // showing `text`.
    void ExpectOneReport(const AnsiString& text, const char* what) {
        ASSERT_EQ(boxes.size(), 1u) << what;
        EXPECT_EQ(boxes[0].caption, Application->Title()) << what;
        const ShownBox expected = ReportBoxFor(text);
        ASSERT_TRUE(expected.picture) << what;
        EXPECT_TRUE(SamePixels(*boxes[0].picture, *expected.picture)) << what << ": the box does not say " << text;
    }

    TForm* MakeForm(const std::string& name) {
        auto* form = Application->CreateForm<TForm>();
        form->WindowProc = [this, name, previous = form->WindowProc](TMessage& m) {
            if (IsSkinDataMessage(m.Msg)) {
                log.push_back({name, m.Msg, m.WParam, m.LParam, data && data->IsEmpty(), data && data->IsChanging(),
                               data ? data->SkinControls().size() : 0});
                if (onReceive) onReceive(name, m.Msg);
            }
            previous(m);
        };
        return form;
    }

    std::vector<Received> log;
    std::function<void(const std::string& form, UINT msg)> onReceive;
    TForm* first = nullptr;
    TForm* owner = nullptr;
    TForm* last = nullptr;
    TbsSkinData* data = nullptr;
};

std::vector<std::pair<std::string, unsigned>> EveryForm(std::initializer_list<unsigned> msgs) {
    std::vector<std::pair<std::string, unsigned>> out;
    for (unsigned m : msgs)
        for (const char* f : {"owner", "first", "last"}) out.emplace_back(f, m);
    return out;
}

const auto kLoadMessages = EveryForm({SKINMSG_BEFORECHANGE, SKINMSG_CHANGE, SKINMSG_AFTERCHANGE});

// A record's content as its write operation puts it.
template <class Record>
std::string Written(const Record& record) {
    TMemIniFile ini;
    record.WriteToIni(ini);
    TStringList lines;
    ini.GetStrings(lines);
    return lines.Text();
}

void ExpectSameSkin(const TbsSkinData& a, const TbsSkinData& b) {
    ASSERT_EQ(a.SkinObjects().size(), b.SkinObjects().size());
    for (std::size_t i = 0; i < a.SkinObjects().size(); ++i) {
        EXPECT_EQ(typeid(*a.SkinObjects()[i]), typeid(*b.SkinObjects()[i])) << i;
        EXPECT_EQ(Written(*a.SkinObjects()[i]), Written(*b.SkinObjects()[i])) << i;
    }
    ASSERT_EQ(a.SkinControls().size(), b.SkinControls().size());
    for (std::size_t i = 0; i < a.SkinControls().size(); ++i) {
        EXPECT_EQ(typeid(*a.SkinControls()[i]), typeid(*b.SkinControls()[i])) << i;
        EXPECT_EQ(Written(*a.SkinControls()[i]), Written(*b.SkinControls()[i])) << i;
    }
    ASSERT_EQ(a.ActiveBitmaps().size(), b.ActiveBitmaps().size());
    for (std::size_t i = 0; i < a.ActiveBitmaps().size(); ++i)
        EXPECT_TRUE(SamePixels(*a.ActiveBitmaps()[i], *b.ActiveBitmaps()[i])) << "picture " << i;
    EXPECT_EQ(a.ActiveBitmapNames().Text(), b.ActiveBitmapNames().Text());
    EXPECT_TRUE(SamePixels(a.MainBitmap(), b.MainBitmap()));
    EXPECT_TRUE(SamePixels(a.InactiveBitmap(), b.InactiveBitmap()));
    EXPECT_TRUE(SamePixels(a.MaskBitmap(), b.MaskBitmap()));
    EXPECT_EQ(a.PictureFiles().picture, b.PictureFiles().picture);
    EXPECT_EQ(a.PictureFiles().inactivepicture, b.PictureFiles().inactivepicture);
    EXPECT_EQ(a.PictureFiles().mask, b.PictureFiles().mask);
    EXPECT_EQ(a.Version().skinname, b.Version().skinname);
    EXPECT_EQ(a.Version().skincomments, b.Version().skincomments);
    EXPECT_TRUE(a.FormInfo() == b.FormInfo());
    EXPECT_TRUE(a.PopupWindow() == b.PopupWindow());
    EXPECT_TRUE(a.HintWindow() == b.HintWindow());
    EXPECT_EQ(a.SkinColors().cbtnface, b.SkinColors().cbtnface);
    EXPECT_EQ(a.SkinColors().cwindowtext, b.SkinColors().cwindowtext);
}

std::string PackedFixture(const ScratchDir& dir, const std::string& ini = FixtureSkinIni()) {
    TbsCompressedStoredSkin skin(nullptr);
    skin.CompressIniSkin(ini);
    const std::string path = dir.File("skin.skn");
    TFileStream out(path, fmCreate);
    skin.WritePacked(out);
    return path;
}

std::string Int32(std::int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
    return s;
}

// A stored skin whose block is the given payload, deflated.
void StorePayload(TbsCompressedStoredSkin& skin, const std::string& payload) {
    TMemoryStream raw, packed;
    raw.WriteBuffer(payload.data(), std::int64_t(payload.size()));
    CompressStream(raw, packed);
    packed.SetPosition(0);
    skin.LoadCompressedData(packed);
}

// The message of the error `cause` raises.
AnsiString ErrorOf(const std::function<void()>& cause) {
    try {
        cause();
    } catch (const Exception& e) {
        return e.Message();
    }
    ADD_FAILURE() << "the cause raised no error";
    return {};
}

// The error reading `key` of `section` raises when the description says `line` there.
AnsiString ValueErrorOf(const char* section, const char* key, const char* line, bool point) {
    TStringList lines;
    lines.SetText(std::string("[") + section + "]\r\n" + line + "\r\n");
    const TMemIniFile ini(lines);
    return ErrorOf([&] { point ? void(IniReadPoint(ini, section, key)) : void(IniReadRect(ini, section, key)); });
}

AnsiString PictureErrorOf(const std::string& path) {
    return ErrorOf([&] { TBitmap().LoadFromFile(path); });
}

// The error of a skin whose [PICTURES] entry `key`=`name` names a file that
// is not there: the description, the key and the file, in the program's words.
AnsiString MissingPictureError(const ScratchDir& d, const std::string& key, const std::string& name) {
    return "皮肤 " + d.File("skin.ini") + " 的图片打不开：[PICTURES] 的 " + key + "=" + name + " 指向的文件 " +
           d.File(name) + " 不存在。";
}

}  // namespace

TEST_F(SkinDataTest, StartsEmptyWithItsDefaults) {
    EXPECT_TRUE(data->IsEmpty());
    EXPECT_FALSE(data->IsChanging());
    EXPECT_TRUE(data->SkinnableForm());
    EXPECT_TRUE(data->EnableSkinEffects());
    EXPECT_EQ(data->SkinIndex(), 0);
    EXPECT_EQ(data->FormInfo().bgpictureindex, -1);
    EXPECT_EQ(data->FormInfo().mdibgpictureindex, -1);
    EXPECT_EQ(data->SkinColors().cbtnface, 0u);
    EXPECT_TRUE(data->MainBitmap().Empty());
    EXPECT_EQ(data->FindControlIndex("button"), -1);
    EXPECT_TRUE(log.empty());
}

TEST_F(SkinDataTest, LoadSendsTheChangeMessagesOwnerFirstWithSenderAndThousand) {
    data->LoadIniSkin(FixtureSkinIni());
    const auto self = reinterpret_cast<WPARAM>(data);
    const std::vector<Received> expected = {
        // Before the change: the old (empty) skin is still there.
        {"owner", SKINMSG_BEFORECHANGE, self, 1000, true, true, 0},
        {"first", SKINMSG_BEFORECHANGE, self, 1000, true, true, 0},
        {"last", SKINMSG_BEFORECHANGE, self, 1000, true, true, 0},
        {"owner", SKINMSG_CHANGE, self, 1000, false, true, 6},
        {"first", SKINMSG_CHANGE, self, 1000, false, true, 6},
        {"last", SKINMSG_CHANGE, self, 1000, false, true, 6},
        {"owner", SKINMSG_AFTERCHANGE, self, 1000, false, false, 6},
        {"first", SKINMSG_AFTERCHANGE, self, 1000, false, false, 6},
        {"last", SKINMSG_AFTERCHANGE, self, 1000, false, false, 6},
    };
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(boxes.empty());

    // A second load announces itself while the first skin is still in place.
    log.clear();
    data->LoadIniSkin(FixtureSkinIni());
    ASSERT_EQ(log.size(), 9u);
    EXPECT_EQ(log[0].msg, SKINMSG_BEFORECHANGE);
    EXPECT_EQ(log[0].controls, 6u);
    EXPECT_TRUE(log[0].isEmpty);  // marked empty just before the message, cleared only after it
}

TEST_F(SkinDataTest, LoadsEveryPartOfTheDescription) {
    data->LoadIniSkin(FixtureSkinIni());
    ASSERT_FALSE(data->IsEmpty());

    // Records in file order; entries without a colon or of an unknown kind skipped.
    ASSERT_EQ(data->SkinObjects().size(), 3u);
    EXPECT_NE(dynamic_cast<TbsDataSkinStdButton*>(data->SkinObjects()[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinCaption*>(data->SkinObjects()[1].get()), nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinMenuItem*>(data->SkinObjects()[2].get()), nullptr);
    ASSERT_EQ(data->SkinControls().size(), 6u);
    EXPECT_NE(dynamic_cast<TbsDataSkinButtonControl*>(data->SkinControls()[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinPanelControl*>(data->SkinControls()[2].get()), nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinScrollBarControl*>(data->SkinControls()[5].get()), nullptr);
    EXPECT_EQ(static_cast<TbsDataSkinStdButton&>(*data->SkinObjects()[0]).hint, "Close the window");

    const struct {
        const char* name;
        int index;
    } controls[] = {{"button", 0}, {"edit", 1}, {"groupbox", 2}, {"stdlabel", 4}, {"vscrollbar", 5},
                    {"Button", -1}, {"scroll", -1}, {"", -1}, {"close", -1}};
    for (const auto& c : controls) EXPECT_EQ(data->FindControlIndex(c.name), c.index) << c.name;
    EXPECT_EQ(data->FindObjectIndex("caption"), 1);
    EXPECT_EQ(data->FindObjectIndex("popupitem"), 2);
    EXPECT_EQ(data->FindObjectIndex("Caption"), -1);
    EXPECT_EQ(data->FindObjectIndex("button"), -1);

    // Pictures and their names.
    EXPECT_EQ(data->MainBitmap().Width(), 40);
    EXPECT_TRUE(data->InactiveBitmap().Empty());
    EXPECT_EQ(data->MaskBitmap().Height(), 30);
    ASSERT_EQ(data->ActiveBitmaps().size(), 3u);
    EXPECT_EQ(data->ActiveBitmaps()[1]->Width(), 21);
    EXPECT_EQ(data->ActiveBitmapNames().Text(), "buttons.bmp\r\ncontrols.bmp\r\nglyphs.bmp\r\n");
    EXPECT_EQ(data->PictureFiles().picture, "frame.bmp");
    EXPECT_EQ(data->PictureFiles().inactivepicture, "");
    EXPECT_EQ(data->PictureFiles().mask, "mask.bmp");

    EXPECT_EQ(data->Version().skinname, "测试皮肤");
    EXPECT_EQ(data->Version().authorurl, "http://example.org/");

    // FORMINFO, normalised against the mask and the client rectangle.
    const SkinFormInfo& f = data->FormInfo();
    EXPECT_EQ(f.clientrect, Rect(3, 21, 37, 27));
    EXPECT_EQ(f.maskrectarea, f.clientrect);
    EXPECT_EQ(f.hittestlefttoppoint, Point(4, 20));
    EXPECT_EQ(f.lefttoppoint, Point(4, 21));
    EXPECT_EQ(f.righttoppoint, Point(36, 21));
    EXPECT_EQ(f.bgpictureindex, 1);
    EXPECT_EQ(f.formminwidth, 120);

    EXPECT_EQ(data->PopupWindow().windowpictureindex, 0);
    EXPECT_EQ(data->PopupWindow().scrollmarkercolor, 255u);
    EXPECT_EQ(data->HintWindow().windowpictureindex, 2);
    EXPECT_EQ(data->HintWindow().fontname, "Tahoma");
    EXPECT_EQ(data->SkinColors().cbtnface, 0xC0C0C0u);
    EXPECT_EQ(data->SkinColors().cwindowtext, 0xFF0000u);
    EXPECT_EQ(data->SkinColors().cbtnshadow, 0xFF000010u);
}

TEST_F(SkinDataTest, DescriptionWithoutARequiredSectionChangesNothing) {
    data->LoadIniSkin(FixtureSkinIni());
    log.clear();
    for (const char* section : {"[VERSION]", "[PICTURES]", "[FORMINFO]", "[SKINOBJECTS]", "[SKINCONTROLS]"}) {
        ScratchDir dir;
        const std::string ini = dir.CopyFixture([section](std::string& t) { ReplaceOnce(t, section, "[OTHER]"); });
        data->LoadIniSkin(ini);
        EXPECT_TRUE(log.empty()) << section;
        EXPECT_FALSE(data->IsEmpty()) << section;
        EXPECT_EQ(data->SkinControls().size(), 6u) << section;
    }
    data->LoadIniSkin("/no/such/dir/skin.ini");
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(boxes.empty());

    // A valid description afterwards loads normally.
    data->LoadIniSkin(FixtureSkinIni());
    EXPECT_EQ(Messages(log), kLoadMessages);
}

TEST_F(SkinDataTest, FailedLoadCompletesAsAnEmptySkinAndReportsTheError) {
    // The boxes are compared by their pictures: two texts must look different.
    EXPECT_FALSE(SamePixels(*ReportBoxFor("a missing picture").picture, *ReportBoxFor("a missing value").picture));

    const struct {
        const char* what;
        std::function<void(std::string&)> edit;
        std::function<void(const ScratchDir&)> files;
        std::function<AnsiString(const ScratchDir&)> error;
    } cases[] = {
        {"missing frame picture", [](std::string& t) { ReplaceOnce(t, "picture=frame.bmp", "picture=none.bmp"); },
         nullptr, [](const ScratchDir& d) { return MissingPictureError(d, "picture", "none.bmp"); }},
        {"missing list picture", [](std::string&) {},
         [](const ScratchDir& d) { std::filesystem::remove(d.File("controls.bmp")); },
         [](const ScratchDir& d) { return MissingPictureError(d, "1", "controls.bmp"); }},
        {"list picture that is a folder", [](std::string&) {},
         [](const ScratchDir& d) {
             std::filesystem::remove(d.File("controls.bmp"));
             std::filesystem::create_directory(d.File("controls.bmp"));
         },
         [](const ScratchDir& d) {
             return "皮肤 " + d.File("skin.ini") + " 的图片打不开：[PICTURES] 的 1=controls.bmp 指向的文件 " +
                    d.File("controls.bmp") + " 是一个文件夹，不是图片文件。";
         }},
        {"unreadable picture", [](std::string&) {}, [](const ScratchDir& d) { WriteFile(d.File("glyphs.bmp"), "BM"); },
         [](const ScratchDir& d) { return PictureErrorOf(d.File("glyphs.bmp")); }},
        {"list entry without a name",
         [](std::string& t) { ReplaceOnce(t, "activepicturescount=3", "activepicturescount=4\r\n3="); }, nullptr,
         [](const ScratchDir& d) {
             return "皮肤 " + d.File("skin.ini") + " 的图片列表有误：[PICTURES] 的 activepicturescount 为 4，但键 3 没有图片文件名。";
         }},
        {"absurd picture count",
         [](std::string& t) { ReplaceOnce(t, "activepicturescount=3", "activepicturescount=2000000000"); }, nullptr,
         [](const ScratchDir& d) {
             return "皮肤 " + d.File("skin.ini") +
                    " 的图片列表有误：[PICTURES] 的 activepicturescount 为 2000000000，但键 3 没有图片文件名。";
         }},
        {"malformed rect", [](std::string& t) { ReplaceOnce(t, "thumbrect=2,2,7,7", "thumbrect=2,,7,7"); }, nullptr,
         [](const ScratchDir&) { return ValueErrorOf("vscrollbar", "thumbrect", "thumbrect=2,,7,7", false); }},
        {"malformed point", [](std::string& t) { ReplaceOnce(t, "lefttoppoint=4,20", "lefttoppoint=4;20"); }, nullptr,
         [](const ScratchDir&) { return ValueErrorOf("FORMINFO", "lefttoppoint", "lefttoppoint=4;20", true); }},
    };
    for (const auto& c : cases) {
        data->LoadIniSkin(FixtureSkinIni());
        log.clear();
        boxes.clear();
        ScratchDir dir;
        const std::string ini = dir.CopyFixture(c.edit);
        if (c.files) c.files(dir);

        data->LoadIniSkin(ini);
        EXPECT_EQ(Messages(log), kLoadMessages) << c.what;
        ASSERT_EQ(log.size(), 9u);
        EXPECT_TRUE(log[3].isEmpty) << c.what << ": the change announces an empty skin";
        EXPECT_TRUE(data->IsEmpty()) << c.what;
        EXPECT_FALSE(data->IsChanging()) << c.what;
        EXPECT_TRUE(data->SkinControls().empty()) << c.what;
        EXPECT_TRUE(data->SkinObjects().empty()) << c.what;
        EXPECT_TRUE(data->ActiveBitmaps().empty()) << c.what;
        EXPECT_TRUE(data->MainBitmap().Empty()) << c.what;
        EXPECT_EQ(data->FindControlIndex("button"), -1) << c.what;
        ExpectOneReport(c.error(dir), c.what);
    }
}

TEST_F(SkinDataTest, AFailedLoadGoesToOnExceptionWhenTheApplicationHasOne) {
    std::vector<std::pair<TObject*, AnsiString>> reported;
    Application->OnException = [&](TObject* sender, const Exception& e) { reported.emplace_back(sender, e.Message()); };
    ScratchDir dir;
    data->LoadIniSkin(dir.CopyFixture([](std::string& t) { ReplaceOnce(t, "picture=frame.bmp", "picture=none.bmp"); }));
    const std::vector<std::pair<TObject*, AnsiString>> expected = {{data, MissingPictureError(dir, "picture", "none.bmp")}};
    EXPECT_EQ(reported, expected);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(data->IsEmpty());
    EXPECT_FALSE(data->IsChanging());
}

TEST_F(SkinDataTest, PackedSkinLoadsTheSameRecordsAndPixels) {
    ScratchDir dir;
    const std::string skn = PackedFixture(dir);
    TbsSkinData fromDirectory(nullptr);
    fromDirectory.LoadIniSkin(FixtureSkinIni());
    log.clear();  // it tells the forms too

    data->LoadPackedSkinFile(skn);
    EXPECT_EQ(Messages(log), kLoadMessages);
    EXPECT_TRUE(boxes.empty());
    ASSERT_FALSE(data->IsEmpty());
    ExpectSameSkin(fromDirectory, *data);
}

TEST_F(SkinDataTest, PackedFilesThatHoldNoSkinChangeNothing) {
    data->LoadIniSkin(FixtureSkinIni());
    log.clear();
    ScratchDir dir;
    const std::string packed = ReadFile(PackedFixture(dir));
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"seven bytes", packed.substr(0, 7)},
        {"container format 4", Int32(4) + packed.substr(4)},
        {"block length 0", Int32(3) + Int32(0)},
    };
    for (const auto& c : cases) {
        WriteFile(dir.File("case.skn"), c.bytes);
        data->LoadPackedSkinFile(dir.File("case.skn"));
        EXPECT_TRUE(log.empty()) << c.what;
        EXPECT_EQ(data->SkinControls().size(), 6u) << c.what;
    }
    // A file cut inside its block, or missing, raises before anything changes.
    WriteFile(dir.File("cut.skn"), packed.substr(0, packed.size() - 1));
    EXPECT_THROW(data->LoadPackedSkinFile(dir.File("cut.skn")), EReadError);
    EXPECT_THROW(data->LoadPackedSkinFile(dir.File("missing.skn")), EFOpenError);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(data->IsEmpty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SkinDataTest, BadStoredSkinsCompleteAsEmptySkins) {
    const std::string frame = ReadFile(FixtureSkinDir() + "frame.bmp");
    const struct {
        const char* what;
        std::string block;  // deflated unless `raw`
        bool raw;
        AnsiString error;
    } cases[] = {
        {"payload format 4", Int32(4) + "\x01\x01\x01" + Int32(0) + "[VERSION]\r\n", false,
         "Skin data format 4 is not supported (at most 3)"},
        {"corrupt zlib data", "this is not a zlib stream", true, "compression error"},
        {"payload cut inside a picture", Int32(3) + std::string(1, '\0') + frame.substr(0, 100), false,
         ErrorOf([&] {
             const std::string payload = Int32(3) + std::string(1, '\0') + frame.substr(0, 100);
             TbsSkinPayload read;
             ReadSkinPayload(payload, read);
         })},
        {"malformed rect in the description",
         Int32(3) + "\x01\x01\x01" + Int32(0) +
             "[VERSION]\r\n[PICTURES]\r\n[FORMINFO]\r\nclientrect=1,2,,4\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\n",
         false, ValueErrorOf("FORMINFO", "clientrect", "clientrect=1,2,,4", false)},
    };
    for (const auto& c : cases) {
        data->LoadIniSkin(FixtureSkinIni());
        log.clear();
        boxes.clear();
        TbsCompressedStoredSkin skin(nullptr);
        if (c.raw) {
            TMemoryStream bytes;
            bytes.WriteBuffer(c.block.data(), std::int64_t(c.block.size()));
            bytes.SetPosition(0);
            skin.LoadCompressedData(bytes);
        } else {
            StorePayload(skin, c.block);
        }
        data->LoadStoredSkin(skin);
        EXPECT_EQ(Messages(log), kLoadMessages) << c.what;
        EXPECT_TRUE(data->IsEmpty()) << c.what;
        EXPECT_FALSE(data->IsChanging()) << c.what;
        EXPECT_TRUE(data->SkinControls().empty()) << c.what;
        ExpectOneReport(c.error, c.what);
    }

    // An empty stored skin is no load at all.
    log.clear();
    TbsCompressedStoredSkin empty(nullptr);
    data->LoadStoredSkin(empty);
    EXPECT_TRUE(log.empty());
}

TEST_F(SkinDataTest, StoredSkinOfFormat2LoadsLikeFormat3) {
    const std::string frame = ReadFile(FixtureSkinDir() + "frame.bmp");
    const std::string glyphs = ReadFile(FixtureSkinDir() + "glyphs.bmp");
    const std::string buttons = ReadFile(FixtureSkinDir() + "buttons.bmp");
    const std::string zero(1, '\0');
    const std::string description =
        "[VERSION]\r\nskinname=two\r\n[PICTURES]\r\npicture=frame.bmp\r\nactivepicturescount=1\r\n0=buttons.bmp\r\n"
        "[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\ncount=1\r\n0=button:button\r\n[button]\r\npictureindex=0\r\n";
    const std::string tail = Int32(1) + buttons + description;
    TbsCompressedStoredSkin v3(nullptr), v2(nullptr);
    StorePayload(v3, Int32(3) + zero + frame + "\x01\x01" + tail);
    StorePayload(v2, Int32(2) + zero + frame + "\x01\x01" + zero + glyphs + "\x01" + tail);

    TbsSkinData three(nullptr);
    three.LoadStoredSkin(v3);
    data->LoadStoredSkin(v2);
    EXPECT_TRUE(boxes.empty());
    ASSERT_FALSE(data->IsEmpty());
    EXPECT_EQ(data->Version().skinname, "two");
    ExpectSameSkin(three, *data);
    EXPECT_EQ(data->ActiveBitmaps()[0]->Width(), 13);  // the picture list, not a skipped entry
}

TEST_F(SkinDataTest, ClearSkinKeepsOnlyTheInactivePictureName) {
    ScratchDir dir;
    const std::string ini = dir.CopyFixture(
        [](std::string& t) { ReplaceOnce(t, "inactivepicture=", "inactivepicture=frame.bmp"); });
    data->LoadIniSkin(ini);
    ASSERT_FALSE(data->InactiveBitmap().Empty());
    data->ClearSkin();
    EXPECT_TRUE(data->IsEmpty());
    EXPECT_TRUE(data->MainBitmap().Empty());
    EXPECT_TRUE(data->InactiveBitmap().Empty());
    EXPECT_TRUE(data->MaskBitmap().Empty());
    EXPECT_EQ(data->PictureFiles().picture, "");
    EXPECT_EQ(data->PictureFiles().mask, "");
    EXPECT_EQ(data->PictureFiles().inactivepicture, "frame.bmp");
    EXPECT_EQ(data->ActiveBitmapNames().Count(), 0);
    EXPECT_EQ(data->PopupWindow().windowpictureindex, -1);
    EXPECT_EQ(data->HintWindow().windowpictureindex, -1);
    EXPECT_EQ(data->HintWindow().fontname, "Tahoma");  // only the index is reset
    EXPECT_EQ(data->SkinColors().cbtnface, 0xFF00000Fu);
    EXPECT_EQ(data->SkinColors().cwindowtext, 0xFF000008u);
}

TEST_F(SkinDataTest, PropertySettersSendTheirMessages) {
    const auto self = reinterpret_cast<WPARAM>(data);
    data->SetSkinnableForm(true);  // its current value
    EXPECT_TRUE(log.empty());
    data->SetSkinnableForm(false);
    EXPECT_EQ(Messages(log), EveryForm({SKINMSG_SKINNABLECHANGE}));
    EXPECT_EQ(log[0].wParam, self);
    EXPECT_EQ(log[0].lParam, 1000);
    EXPECT_FALSE(data->SkinnableForm());

    log.clear();
    data->BeginLoading();  // read from a window definition: only stored
    data->SetSkinnableForm(true);
    data->EndLoading();
    data->SetDesigning(true);
    data->SetSkinnableForm(false);
    data->SetDesigning(false);
    EXPECT_TRUE(log.empty());

    {
        TbsResourceStrData strings(nullptr);
        data->SetResourceStrData(&strings);
        EXPECT_EQ(Messages(log), EveryForm({SKINMSG_STRINGSCHANGE}));
        EXPECT_EQ(data->ResourceStrData(), &strings);
    }
    EXPECT_EQ(data->ResourceStrData(), nullptr) << "cleared when the table is destroyed";

    log.clear();
    data->SetEnableSkinEffects(false);
    EXPECT_FALSE(data->EnableSkinEffects());
    EXPECT_TRUE(log.empty());
}

TEST_F(SkinDataTest, CompressedStoredSkinPropertyLoadsIt) {
    {
        TbsCompressedStoredSkin skin(nullptr);
        skin.CompressIniSkin(FixtureSkinIni());
        data->SetCompressedStoredSkin(&skin);
        EXPECT_EQ(Messages(log), kLoadMessages);
        EXPECT_FALSE(data->IsEmpty());
    }
    EXPECT_EQ(data->CompressedStoredSkin(), nullptr);

    log.clear();
    TbsCompressedStoredSkin skin(nullptr);
    skin.CompressIniSkin(FixtureSkinIni());
    data->SetDesigning(true);
    data->SetCompressedStoredSkin(&skin);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(data->CompressedStoredSkin(), &skin);
}

TEST_F(SkinDataTest, SkinListAndSkinIndexPickTheSkinToLoad) {
    // Three skins that differ in their name.
    TbsCompressedSkinList list(nullptr);
    std::vector<std::unique_ptr<ScratchDir>> dirs;
    for (int i = 0; i < 3; ++i) {
        dirs.push_back(std::make_unique<ScratchDir>());
        const std::string ini = dirs.back()->CopyFixture(
            [i](std::string& t) { ReplaceOnce(t, "skinname=测试皮肤", "skinname=skin" + std::to_string(i)); });
        TbsSkinListItem& item = list.Skins().Add();
        item.StoredSkin().CompressIniSkin(ini);
        EXPECT_EQ(item.Name(), "bsSkin" + std::to_string(i));
    }

    data->SetSkinIndex(7);  // no list yet: only stored
    EXPECT_EQ(data->SkinIndex(), 7);
    data->SetSkinList(&list);  // index outside the list: nothing loads
    EXPECT_TRUE(log.empty());
    data->SetSkinIndex(5);
    EXPECT_EQ(data->SkinIndex(), 7) << "an index outside the list is ignored";
    EXPECT_TRUE(log.empty());

    data->SetSkinIndex(1);
    EXPECT_EQ(data->SkinIndex(), 1);
    EXPECT_EQ(Messages(log), kLoadMessages);
    EXPECT_EQ(data->Version().skinname, "skin1");

    log.clear();
    data->SetSkinIndex(1);  // same value: nothing
    EXPECT_TRUE(log.empty());
    data->SetSkinList(&list);
    EXPECT_EQ(Messages(log), kLoadMessages) << "setting the list loads item SkinIndex";

    TbsCompressedSkinList copy(nullptr);
    copy.SetSkins(list.Skins());
    ASSERT_EQ(copy.Skins().Count(), 3);
    data->SetSkinList(&copy);
    data->SetSkinIndex(2);
    EXPECT_EQ(data->Version().skinname, "skin2");
}

TEST_F(SkinDataTest, SkinListDestroyedFirstIsForgotten) {
    {
        TbsCompressedSkinList list(nullptr);
        data->SetSkinList(&list);
    }
    EXPECT_EQ(data->SkinList(), nullptr);
    data->SetSkinIndex(3);  // no list any more: only stored
    EXPECT_EQ(data->SkinIndex(), 3);
}

TEST_F(SkinDataTest, AFormFreedWhileTheMessagesTravelGetsNoMore) {
    onReceive = [this](const std::string& form, UINT msg) {
        if (form == "first" && msg == SKINMSG_BEFORECHANGE) {
            FreeComponent(last);
            last = nullptr;
        }
    };
    data->LoadIniSkin(FixtureSkinIni());
    const std::vector<std::pair<std::string, unsigned>> expected = {
        {"owner", SKINMSG_BEFORECHANGE}, {"first", SKINMSG_BEFORECHANGE}, {"owner", SKINMSG_CHANGE},
        {"first", SKINMSG_CHANGE},       {"owner", SKINMSG_AFTERCHANGE},  {"first", SKINMSG_AFTERCHANGE},
    };
    EXPECT_EQ(Messages(log), expected);
    EXPECT_FALSE(data->IsEmpty());
}

TEST_F(SkinDataTest, WithoutAnOwnerFormTheFormsGetTheMessagesInZOrder) {
    // Shown one after the other, the last one shown lies on top.
    for (TForm* form : {first, owner, last}) {
        form->SetBounds(10, 10, 100, 80);
        form->Show();
    }
    Application->ProcessMessages();
    data = CreateComponent<TbsSkinData>(Application);
    data->SetSkinnableForm(false);
    const auto self = reinterpret_cast<WPARAM>(data);
    const std::vector<Received> expected = {
        {"last", SKINMSG_SKINNABLECHANGE, self, 1000, true, false, 0},
        {"owner", SKINMSG_SKINNABLECHANGE, self, 1000, true, false, 0},
        {"first", SKINMSG_SKINNABLECHANGE, self, 1000, true, false, 0},
    };
    EXPECT_EQ(log, expected);
}
