#include "SkinCheck.h"

#include <filesystem>
#include <memory>
#include <set>
#include <span>

#include "CompressedSkin.h"
#include "FileUtils.h"
#include "IniFiles.h"
#include "SkinLoadLimits.h"
#include "SkinPictureFiles.h"
#include "SkinRecordFactory.h"
#include "SysUtils.h"
#include "TbsCompressedStoredSkin.h"
#include "ZlibStreams.h"

namespace {

// A picture as the check found it: loaded (with its size) or not.
struct Picture {
    AnsiString name;
    bool loaded = false;
    int width = 0;
    int height = 0;
};

std::string Utf8(std::string_view text) { return AnsiToUtf8(text); }

std::string RectText(const TRect& r) { return Format("%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom); }

std::string PictureLine(const std::string& label, const Picture& p) {
    if (!p.loaded) return label + ": " + Utf8(p.name) + " (not loaded)";
    return label + ": " + Utf8(p.name) + Format(" %dx%d", p.width, p.height);
}

Picture FromBitmap(const AnsiString& name, const TBitmap& bitmap) {
    return {name, !bitmap.Empty(), bitmap.Width(), bitmap.Height()};
}

// A read-only stream over bytes owned elsewhere.
class ByteView : public TCustomMemoryStream {
public:
    explicit ByteView(std::span<const char> bytes) { SetPointer(bytes.data(), std::int64_t(bytes.size())); }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    void SetSize(std::int64_t) override { throw EStreamError("Stream is read-only"); }
};

std::int32_t Int32At(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::int32_t>(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                                     (std::uint32_t(b[3]) << 24));
}

// Checks everything the description says, given the pictures as they were found.
class DescriptionCheck {
public:
    DescriptionCheck(const TMemIniFile& ini, const Picture& frame, const std::vector<Picture>& list,
                     SkinCheckReport& report)
        : ini_(ini), frame_(frame), list_(list), report_(report) {}

    void Run() {
        CheckFixedSection("FORMINFO", SkinFormInfo::Keys(), [](const TMemIniFile& ini) {
            SkinFormInfo info;
            info.ReadFromIni(ini);
        });
        CheckFixedSection("POPUPWINDOW", TbsDataSkinPopupWindow::Keys(), [](const TMemIniFile& ini) {
            TbsDataSkinPopupWindow popup;
            popup.ReadFromIni(ini);
        });
        CheckFixedSection("HINTWINDOW", TbsDataSkinHintWindow::Keys(), [](const TMemIniFile& ini) {
            TbsDataSkinHintWindow hint;
            hint.ReadFromIni(ini);
        });
        CheckDirectory("SKINOBJECTS", "object", SkinObjectKinds(), [this](const auto& kind, const AnsiString& name) {
            auto record = kind.create(name);
            record->ReadFromIni(ini_);
            // The normal image lies in the frame picture unless the record says otherwise.
            if (record->skinrectinapicture) {
                CheckRectInPicture(name, "skinrect", record->skinrect, record->activepictureindex);
            } else if (!IsRectEmpty(record->skinrect) && frame_.loaded) {
                CheckRectInside(name, "skinrect", record->skinrect, frame_);
            }
        });
        CheckDirectory("SKINCONTROLS", "control", SkinControlKinds(), [this](const auto& kind, const AnsiString& name) {
            auto record = kind.create(name);
            record->ReadFromIni(ini_);
            CheckRectInPicture(name, "skinrect", record->skinrect, record->pictureindex);
        });
    }

private:
    std::string Where(std::string_view section, std::string_view key) const {
        return "[" + Utf8(section) + "] " + std::string(key);
    }

    // Per key, so that every malformed value is named, not just the first.
    void CheckKeys(std::string_view section, const std::vector<SkinKeyInfo>& keys) {
        for (const SkinKeyInfo& key : keys) {
            const std::string_view name = key.key;
            try {
                if (key.type == SkinValueType::Rect) IniReadRect(ini_, section, name);
                if (key.type == SkinValueType::Point) IniReadPoint(ini_, section, name);
            } catch (const Exception&) {
                report_.Problem(Where(section, name) + " = \"" + Utf8(ini_.ReadString(section, name, "")) +
                                "\" is not a valid " + (key.type == SkinValueType::Rect ? "rect" : "point") +
                                "; loading stops here");
                ++malformed_;
            }
            if (key.type == SkinValueType::Integer && name.ends_with("pictureindex")) {
                const int index = IniReadInteger(ini_, section, name, -1);
                if (index < -1 || index >= int(list_.size())) {
                    report_.Problem(Where(section, name) + Format(" = %d is outside the picture list (", index) +
                                    (list_.empty() ? std::string("which is empty") : Format("0..%d", int(list_.size()) - 1)) +
                                    ", or -1 for none)");
                }
            }
        }
    }

    template <class Read>
    void CheckFixedSection(std::string_view section, const std::vector<SkinKeyInfo>& keys, Read read) {
        const int before = malformed_;
        CheckKeys(section, keys);
        try {
            read(ini_);
        } catch (const Exception& e) {
            if (malformed_ == before) report_.Problem("[" + Utf8(section) + "]: " + Utf8(e.Message()));
        }
    }

    template <class Kind, class Read>
    void CheckDirectory(std::string_view section, const char* what, std::span<const Kind> kinds, Read read) {
        const int declared = IniReadInteger(ini_, section, "count", 0);
        const std::vector<SkinDirectoryEntry> entries = IniReadDirectory(ini_, section);
        if (declared > int(entries.size())) {
            report_.Problem(Where(section, "count") + Format(" = %d, but the section lists only %d entries", declared,
                                                             int(entries.size())));
        }
        std::set<AnsiString> names;
        for (int i = 0; i < int(entries.size()); ++i) {
            const std::string key = IntToStr(i);
            const AnsiString text = ini_.ReadString(section, key, "");
            if (!ini_.ValueExists(section, key)) {
                report_.Problem(Where(section, key) + " is missing; the entry is skipped");
                continue;
            }
            if (text.find(':') == AnsiString::npos) {
                report_.Problem(Where(section, key) + " = \"" + Utf8(text) +
                                "\" has no colon between name and kind; the entry is skipped");
                continue;
            }
            const SkinDirectoryEntry& entry = entries[std::size_t(i)];
            const Kind* kind = nullptr;
            for (const Kind& k : kinds)
                if (entry.kind == k.kind) kind = &k;
            if (!kind) {
                report_.Problem(Where(section, key) + " = \"" + Utf8(text) + "\": unknown kind \"" + Utf8(entry.kind) +
                                "\"; the entry is skipped");
                continue;
            }
            std::string line = std::string(what) + " " + Utf8(entry.name) + ": " + kind->kind + " (" + kind->className + ")";
            if (!ini_.SectionExists(entry.name)) line += ", no section: every key takes its default";
            report_.Info(line);
            if (!names.insert(entry.name).second) {
                report_.Problem(Where(section, key) + ": the name \"" + Utf8(entry.name) +
                                "\" is listed before; lookups by name find only the first");
            }
            const int before = malformed_;
            CheckKeys(entry.name, kind->keys());
            try {
                read(*kind, entry.name);
            } catch (const Exception& e) {
                if (malformed_ == before) report_.Problem("[" + Utf8(entry.name) + "]: " + Utf8(e.Message()));
            }
        }
    }

    void CheckRectInPicture(const AnsiString& section, const char* key, const TRect& rect, int index) {
        if (IsRectEmpty(rect) || index < 0 || index >= int(list_.size())) return;
        const Picture& p = list_[std::size_t(index)];
        if (p.loaded) CheckRectInside(section, key, rect, p);
    }

    void CheckRectInside(const AnsiString& section, const char* key, const TRect& rect, const Picture& p) {
        if (rect.Left < 0 || rect.Top < 0 || rect.Right > p.width || rect.Bottom > p.height) {
            report_.Problem(Where(section, key) + " = " + RectText(rect) + " reaches outside " + Utf8(p.name) +
                            Format(" (%dx%d)", p.width, p.height));
        }
    }

    const TMemIniFile& ini_;
    const Picture& frame_;
    const std::vector<Picture>& list_;
    SkinCheckReport& report_;
    int malformed_ = 0;
};

void ReportVersion(const TMemIniFile& ini, SkinCheckReport& report) {
    const AnsiString name = ini.ReadString("VERSION", "skinname", "");
    const AnsiString author = ini.ReadString("VERSION", "skinauthor", "");
    report.Info("skin \"" + Utf8(name) + "\"" + (author.empty() ? "" : " by " + Utf8(author)));
}

bool ReportRequiredSections(const TMemIniFile& ini, SkinCheckReport& report) {
    bool all = true;
    for (const char* section : kRequiredSkinSections) {
        if (!ini.SectionExists(section)) {
            report.Problem(std::string("required section [") + section + "] is missing; the skin is refused whole");
            all = false;
        }
    }
    return all;
}

}  // namespace

AnsiString SkinDescriptionPath(const AnsiString& path) {
    return DirectoryExists(path) ? IncludeTrailingPathDelimiter(path) + "skin.ini" : path;
}

SkinCheckReport CheckSkinDirectory(const AnsiString& path) {
    SkinCheckReport report;
    const AnsiString iniPath = SkinDescriptionPath(path);
    if (!FileExists(iniPath)) {
        report.Problem("no skin description at " + Utf8(iniPath));
        return report;
    }
    const TMemIniFile ini(iniPath);
    if (!ReportRequiredSections(ini, report)) return report;
    ReportVersion(ini, report);

    const SkinPictureNames names = ReadSkinPictureNames(ini);
    // The program's own loader, with its limits: all pictures of the skin
    // together within one pixel budget, so a description naming a picture
    // bomb many times costs no more here than at the program's start.
    SkinPictureFiles files(iniPath, ini);
    auto load = [&](const std::string& label, const AnsiString& name, auto loadInto) {
        Picture picture{name};
        try {
            TBitmap bitmap;
            loadInto(bitmap);
            picture = FromBitmap(name, bitmap);
            report.Info(PictureLine(label, picture));
        } catch (const Exception& e) {
            report.Problem(label + ": " + Utf8(e.Message()));
        }
        return picture;
    };
    Picture frame;
    const std::pair<const char*, const AnsiString*> framePictures[] = {
        {"picture", &names.picture}, {"inactivepicture", &names.inactivepicture}, {"mask", &names.mask}};
    for (const auto& [key, name] : framePictures) {
        if (name->empty()) {
            report.Info(std::string(key) + ": none");
            continue;
        }
        const Picture p = load(key, *name, [&](TBitmap& bitmap) { files.LoadFramePicture(bitmap, key, *name); });
        if (std::string_view(key) == "picture") frame = p;
    }
    std::vector<Picture> list;
    for (std::size_t i = 0; i < names.activepictures.size(); ++i) {
        const AnsiString& name = names.activepictures[i];
        list.push_back(load(Format("picture list entry %d", int(i)), name,
                            [&](TBitmap& bitmap) { files.LoadListPicture(bitmap, int(i), name); }));
    }

    DescriptionCheck(ini, frame, list, report).Run();
    return report;
}

SkinCheckReport CheckPackedSkin(const AnsiString& path) {
    SkinCheckReport report;
    // Only the header and the block are read, and the block only up to the
    // size the program itself accepts, so a huge or sparse file costs no
    // more here than when the program is handed it.
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), error)) {
        report.Problem("cannot open " + Utf8(path) + ": not a regular file");
        return report;
    }
    std::unique_ptr<TFileStream> file;
    std::int64_t size = 0;
    char header[kSkinContainerHeaderSize] = {};
    try {
        file = std::make_unique<TFileStream>(path, fmOpenRead | fmShareDenyWrite);
        size = file->Size();
        if (size >= kSkinContainerHeaderSize) file->ReadBuffer(header, kSkinContainerHeaderSize);
    } catch (const Exception& e) {
        report.Problem(Utf8(e.Message()));
        return report;
    }
    if (size < kSkinContainerHeaderSize) {
        report.Problem(Format("the file holds %d bytes, fewer than its 8-byte header; it loads nothing", int(size)));
        return report;
    }
    const std::int32_t format = Int32At(header);
    const std::int32_t length = Int32At(header + 4);
    report.Info(Format("container format %d, compressed block of %d bytes", int(format), int(length)));
    if (format > kSkinContainerFormat) {
        report.Problem(Format("container format %d is above %d; it loads nothing", int(format), int(kSkinContainerFormat)));
        return report;
    }
    if (length < 0 || length > size - kSkinContainerHeaderSize) {
        report.Problem("the block length " + std::to_string(length) + " does not fit the " +
                       std::to_string(size - kSkinContainerHeaderSize) + " bytes after the header");
        return report;
    }
    if (length == 0) {
        report.Problem("the compressed block is empty; it loads nothing");
        return report;
    }
    if (length > kMaxSkinBlockBytes) {
        report.Problem("the compressed block holds " + std::to_string(length) + " bytes, more than the " +
                       std::to_string(kMaxSkinBlockBytes) + " a skin may have; the program refuses it");
        return report;
    }
    if (size - kSkinContainerHeaderSize > length)
        report.Info(std::to_string(size - kSkinContainerHeaderSize - length) + " bytes after the block are not read");

    TMemoryStream block;
    TMemoryStream raw;
    try {
        block.CopyFrom(*file, length);
        file.reset();
        char chunk[4096];
        // Measured first and kept only then, so a block that inflates past
        // the program's limit (where the program stops too) costs no memory.
        std::int64_t inflated = 0;
        {
            block.SetPosition(0);
            TDecompressionStream measure(block);
            for (std::int64_t got; (got = measure.Read(chunk, sizeof chunk)) > 0;) {
                inflated += got;
                if (inflated > kMaxSkinPayloadBytes) {
                    report.Problem("the compressed block inflates to more than " +
                                   std::to_string(kMaxSkinPayloadBytes) +
                                   " bytes, the most a skin may hold; the program refuses it");
                    return report;
                }
            }
        }
        block.SetPosition(0);
        TDecompressionStream inflater(block);
        for (std::int64_t got; (got = inflater.Read(chunk, sizeof chunk)) > 0;) raw.WriteBuffer(chunk, got);
        if (block.Position() < length)
            report.Info(Format("%d bytes of the block follow the end of its zlib stream and are not read",
                               int(length - block.Position())));
    } catch (const Exception& e) {
        report.Problem("the compressed block cannot be inflated: " + Utf8(e.Message()));
        return report;
    }

    TbsSkinPayload payload;
    try {
        ReadSkinPayload(std::span<const char>(raw.Memory(), std::size_t(raw.Size())), payload, path);
    } catch (const Exception& e) {
        report.Problem("payload: " + Utf8(e.Message()));
        return report;
    }
    report.Info(Format("payload format %d, %d bytes", int(payload.Format), int(raw.Size())));

    const TMemIniFile ini(payload.Description);
    if (!ReportRequiredSections(ini, report)) return report;
    ReportVersion(ini, report);
    const SkinPictureNames names = ReadSkinPictureNames(ini);
    const std::tuple<const char*, const AnsiString*, const TBitmap*> framePictures[] = {
        {"picture", &names.picture, &payload.Picture},
        {"inactivepicture", &names.inactivepicture, &payload.InactivePicture},
        {"mask", &names.mask, &payload.Mask}};
    for (const auto& [key, name, bitmap] : framePictures) {
        if (name->empty() != bitmap->Empty()) {
            report.Problem(std::string(key) + (name->empty() ? ": the description names none but a picture is stored"
                                                             : ": the description names " + Utf8(*name) +
                                                                   " but no picture is stored"));
        }
        report.Info(bitmap->Empty() ? std::string(key) + ": none" : PictureLine(key, FromBitmap(*name, *bitmap)));
    }
    const Picture frame = FromBitmap(names.picture, payload.Picture);
    if (names.activepictures.size() != payload.ActivePictures.size()) {
        report.Problem(Format("the description lists %d pictures but %d are stored", int(names.activepictures.size()),
                              int(payload.ActivePictures.size())));
    }
    std::vector<Picture> list;
    for (std::size_t i = 0; i < payload.ActivePictures.size(); ++i) {
        const AnsiString name = i < names.activepictures.size() ? names.activepictures[i] : AnsiString("(unnamed)");
        list.push_back(FromBitmap(name, *payload.ActivePictures[i]));
        report.Info(PictureLine(Format("picture list entry %d", int(i)), list.back()));
    }
    DescriptionCheck(ini, frame, list, report).Run();
    return report;
}
