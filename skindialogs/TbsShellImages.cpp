#include "TbsShellImages.h"

#include "Exceptions.h"
#include "FileUtils.h"
#include "ImgList.h"
#include "TCanvas.h"

namespace {

const char* const kFiles[siShellIconCount] = {"shell-folder.ico", "shell-file.ico", "shell-drive.ico",
                                              "shell-home.ico"};

std::uint32_t Blend(std::uint32_t argb, TColor background) {
    const unsigned a = argb >> 24;
    const TColor bg = ColorToRGB(background);
    const unsigned bgR = bg & 0xFF, bgG = (bg >> 8) & 0xFF, bgB = (bg >> 16) & 0xFF;
    const auto mix = [a](unsigned fg, unsigned back) { return (fg * a + back * (255 - a) + 127) / 255; };
    const unsigned r = mix((argb >> 16) & 0xFF, bgR), g = mix((argb >> 8) & 0xFF, bgG), b = mix(argb & 0xFF, bgB);
    return r | (g << 8) | (b << 16);  // a TColor: 0x00BBGGRR
}

}  // namespace

bool TbsShellImages::LoadFromFolder(const AnsiString& folder) {
    bool all = true;
    for (int i = 0; i < siShellIconCount; ++i) {
        try {
            icons_[i].LoadFromFile(folder + kFiles[i]);
        } catch (const Exception&) {
            icons_[i].Clear();
            all = false;
        }
    }
    loaded_ = all;
    return all;
}

void TbsShellImages::Draw(TCanvas& canvas, int x, int y, TbsShellIconIndex index, int size) const {
    const TIcon& icon = Icon(index);
    if (!icon.Empty()) icon.Draw(canvas, {x, y, x + size, y + size});
}

void TbsShellImages::FillImageList(TImageList& list, int size, TColor background) const {
    list.Clear();
    list.SetWidth(size);
    list.SetHeight(size);
    for (const TIcon& icon : icons_) {
        TBitmap image(size, size);
        TBitmap mask(size, size);
        const IconPixels* pixels = nullptr;
        for (const IconPixels& p : icon.Images())
            if (p.width == size && p.height == size) pixels = &p;
        IconPixels scaled;
        if (!pixels && !icon.Empty()) {
            scaled = ScaleIconPixels(icon.Images().front(), size, size);
            pixels = &scaled;
        }
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const std::uint32_t argb = pixels ? pixels->argb[std::size_t(y * size + x)] : 0;
                // A pixel at least a quarter opaque is drawn, blended with the background.
                const bool drawn = (argb >> 24) >= 64;
                image.SetPixels(x, y, drawn ? TColor(Blend(argb, background)) : background);
                mask.SetPixels(x, y, drawn ? clBlack : clWhite);
            }
        list.Add(image, &mask);
    }
}

namespace {
TbsShellImages& SharedShellImages() {
    static TbsShellImages images;
    static const bool loaded = images.LoadFromFolder(ExtractFilePath(ExecutableFileName()) + "dat/icons/");
    (void)loaded;
    return images;
}
}  // namespace

const TbsShellImages& ShellImages() { return SharedShellImages(); }

bool LoadShellImagesFrom(const AnsiString& folder) { return SharedShellImages().LoadFromFolder(folder); }
