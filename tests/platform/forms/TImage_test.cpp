// Icons in forms: TIcon with its sizes and handle, the image control showing
// an icon or a picture, the message box's standard icon, and the icons a
// form gives the desktop.

#include <filesystem>
#include <fstream>

#include "FormsFixture.h"
#include "IconFile.h"
#include "MessageBox.h"
#include "TImage.h"

namespace {

IconPixels Solid(int size, std::uint32_t argb) {
    return {size, size, std::vector<std::uint32_t>(std::size_t(size) * std::size_t(size), argb)};
}

// A scratch icon file of the given pictures, removed with the object.
struct IconFileOnDisk {
    explicit IconFileOnDisk(const std::vector<IconPixels>& images)
        : path(std::filesystem::temp_directory_path() /
               ("icon-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".ico")) {
        const auto bytes = WriteIconFile(images);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    ~IconFileOnDisk() { std::filesystem::remove(path); }
    std::filesystem::path path;
    static inline int counter = 0;
};

TEST(TIconTest, AnIconFileKeepsEverySizeAndTheHandleIsTheStandardOne) {
    const IconFileOnDisk file({Solid(16, 0xFF00FF00u), Solid(48, 0xFF0000FFu), Solid(32, 0x80FF0000u)});
    TIcon icon;
    int changes = 0;
    icon.OnChange = [&] { ++changes; };
    icon.LoadFromFile(file.path.string());
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(icon.Images().size(), 3u);
    EXPECT_EQ(icon.Images()[0].width, 48) << "largest first";
    EXPECT_EQ(icon.Width(), 32);
    const IconPixels* big = IconPixelsOf(icon.Handle());
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->argb[0], 0x80FF0000u) << "opacity survives the file";
    EXPECT_EQ(icon.Handle(), icon.Handle());
    EXPECT_EQ(IconPixelsOf(icon.HandleForSize(16))->argb[0], 0xFF00FF00u);
    EXPECT_EQ(IconPixelsOf(icon.HandleForSize(24))->width, 24);

    const HICON released = icon.ReleaseHandle();
    EXPECT_TRUE(icon.Empty());
    EXPECT_TRUE(DestroyIcon(released)) << "the caller owns a released handle";
    icon.SetHandle(CreateIconFromPixels(Solid(8, 0xFFFFFFFFu)));
    EXPECT_EQ(icon.Width(), 8);
}

TEST(TIconTest, DamagedIconFilesAreRefusedAndLeaveTheIconAsItWas) {
    const IconFileOnDisk good({Solid(16, 0xFF00FF00u)});
    std::ifstream in(good.path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    struct Case {
        const char* what;
        std::size_t at;
        std::uint8_t value;
    };
    // Offsets: directory entry at 6 (size at 14, offset at 18), picture header at 22.
    const Case cases[] = {{"picture offset past the end", 21, 0x7F},
                          {"picture size past the end", 17, 0x7F},
                          {"huge width", 26, 0x7F},
                          {"8-bit picture", 36, 8},
                          {"no pictures", 4, 0}};
    TIcon icon;
    icon.SetHandle(CreateIconFromPixels(Solid(4, 0xFF123456u)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bad = bytes;
        bad[c.at] = c.value;
        EXPECT_THROW(ReadIconFile(bad), EInvalidGraphic);
    }
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + 60);
    EXPECT_THROW(ReadIconFile(cut), EInvalidGraphic);
    EXPECT_THROW(icon.LoadFromFile("/nonexistent/x.ico"), EFOpenError);
    EXPECT_EQ(icon.Width(), 4);
}

TEST_F(FormsTest, TheImageControlBlendsItsIconOverTheParentAndPlacesIt) {
    TForm* form = ShowPlainForm({0, 0, 200, 200});
    form->SetColor(clBlue);
    auto* image = CreateComponent<TImage>(form);
    image->SetBounds(10, 10, 40, 40);
    image->SetParent(form);
    // Left half opaque white, right half clear.
    IconPixels half{4, 4, {}};
    for (int i = 0; i < 16; ++i) half.argb.push_back(i % 4 < 2 ? 0xFFFFFFFFu : 0x00000000u);
    image->Picture().Icon().SetHandle(CreateIconFromPixels(half));
    Pump();
    EXPECT_EQ(Pixel(11, 11), clWhite);
    EXPECT_EQ(Pixel(16, 11), clBlue) << "clear icon pixels show the parent";
    EXPECT_EQ(Pixel(30, 30), clBlue) << "unscaled: the 4 x 4 icon stays small";

    image->SetStretch(true);
    Pump();
    EXPECT_EQ(Pixel(25, 45), clWhite);
    EXPECT_EQ(Pixel(35, 45), clBlue);

    struct Case {
        bool center, stretch, proportional;
        TRect bounds;  // of the control
        TRect expected;
    };
    image->Picture().Bitmap().SetSize(20, 10);
    image->Picture().Changed();
    const Case cases[] = {
        {false, false, false, {0, 0, 40, 40}, {0, 0, 20, 10}},
        {true, false, false, {0, 0, 40, 40}, {10, 15, 30, 25}},
        {false, true, false, {0, 0, 40, 40}, {0, 0, 40, 40}},
        {true, true, true, {0, 0, 40, 40}, {0, 10, 40, 30}},
        {false, false, true, {0, 0, 10, 40}, {0, 0, 10, 5}},  // shrinks to fit, keeps its shape
    };
    for (const Case& c : cases) {
        image->SetCenter(c.center);
        image->SetStretch(c.stretch);
        image->SetProportional(c.proportional);
        image->SetBounds(c.bounds.Left, c.bounds.Top, c.bounds.Width(), c.bounds.Height());
        EXPECT_EQ(image->DestRect(), c.expected);
    }
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 20);
    EXPECT_EQ(image->Height(), 10);
}

TEST_F(FormsTest, TheMessageBoxShowsTheSharedIconOfItsKind) {
    ShowPlainForm({0, 0, 100, 100});
    const HICON warning = LoadIcon(nullptr, IDI_WARNING);
    TBitmap expected(32, 32);
    WhenIdle([&] {
        TCustomForm* box = Screen->ActiveForm();
        const TPoint origin = box->ClientToScreen({12, 12});
        // The icon as DrawIconEx lays it over the box's face.
        expected.Fill(clBtnFace);
        DrawIconEx(&expected.Canvas(), 0, 0, warning, 32, 32, 0, nullptr, DI_NORMAL);
        int differ = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) differ += Pixel(origin.X + x, origin.Y + y) != expected.Pixels(x, y);
        EXPECT_EQ(differ, 0);
        screen().KeyPress(VK_RETURN);
    });
    EXPECT_EQ(Application->MessageBox("Careful", "", MB_OK | MB_ICONWARNING), IDOK);
}

TEST_F(FormsTest, FormsGiveTheDesktopTheirIconOrTheApplications) {
    TForm* form = ShowPlainForm({0, 0, 100, 100});
    Application->Icon().SetHandle(CreateIconFromPixels(Solid(32, 0xFF00FF00u)));
    Pump();
    const NativeWindowState* native = screen().NativeState(form->Handle());
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(native->icon, Application->Icon().Handle());
    ASSERT_NE(IconPixelsOf(native->smallIcon), nullptr);
    EXPECT_EQ(IconPixelsOf(native->smallIcon)->width, 16);
    form->Icon().SetHandle(CreateIconFromPixels(Solid(32, 0xFFFF0000u)));
    Pump();
    EXPECT_EQ(screen().NativeState(form->Handle())->icon, form->Icon().Handle());
}

}  // namespace
