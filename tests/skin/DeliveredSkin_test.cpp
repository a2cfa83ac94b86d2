// The skin delivered beside the program, in both of its forms: the skin
// directory the program loads and the packed .skn made from it by skinpack.

#include <gtest/gtest.h>

#include "SkinFormsTestSupport.h"
#include "SkinRecordFactory.h"
#include "TbsSkinData.h"

namespace {

using skintest::SamePixels;

class DeliveredSkin : public skintest::SkinFormsTest {};

TEST_F(DeliveredSkin, DirectoryAndPackedFileLoadToTheSameRecordsAndPixels) {
    WatchMessageBoxes();
    auto fromDirectory = CreateUnowned<TbsSkinData>();
    auto fromPacked = CreateUnowned<TbsSkinData>();
    fromDirectory->LoadIniSkin(MIRVO_SOURCE_DIR "/dat/skin1/skin.ini");
    fromPacked->LoadPackedSkinFile(MIRVO_SOURCE_DIR "/dat/skin1.skn");
    EXPECT_TRUE(boxes.empty()) << "a load reported an error";
    ASSERT_FALSE(fromDirectory->IsEmpty());
    ASSERT_FALSE(fromPacked->IsEmpty());

    const auto& objects = fromDirectory->SkinObjects();
    ASSERT_EQ(objects.size(), fromPacked->SkinObjects().size());
    for (std::size_t i = 0; i < objects.size(); ++i)
        EXPECT_TRUE(SameSkinRecord(*objects[i], *fromPacked->SkinObjects()[i])) << objects[i]->EntryName;

    const auto& controls = fromDirectory->SkinControls();
    ASSERT_EQ(controls.size(), fromPacked->SkinControls().size());
    for (std::size_t i = 0; i < controls.size(); ++i)
        EXPECT_TRUE(SameSkinRecord(*controls[i], *fromPacked->SkinControls()[i])) << controls[i]->EntryName;

    EXPECT_TRUE(SamePixels(fromDirectory->MainBitmap(), fromPacked->MainBitmap()));
    EXPECT_TRUE(SamePixels(fromDirectory->InactiveBitmap(), fromPacked->InactiveBitmap()));
    EXPECT_TRUE(SamePixels(fromDirectory->MaskBitmap(), fromPacked->MaskBitmap()));
    const auto& pictures = fromDirectory->ActiveBitmaps();
    ASSERT_EQ(pictures.size(), fromPacked->ActiveBitmaps().size());
    for (std::size_t i = 0; i < pictures.size(); ++i)
        EXPECT_TRUE(SamePixels(*pictures[i], *fromPacked->ActiveBitmaps()[i])) << "picture " << i;
}

}  // namespace
