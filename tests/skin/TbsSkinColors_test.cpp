#include "TbsSkinColors.h"

#include <gtest/gtest.h>

TEST(TbsSkinColors, StartsAtZeroAndResetsToTheSystemColours) {
    TbsSkinColors colors;
    EXPECT_EQ(colors.cbtnface, 0u);
    EXPECT_EQ(colors.cbtnshadow, 0u);
    colors.ResetColors();
    const TColor expected[] = {0xFF00000F, 0xFF000012, 0xFF000005, 0xFF000008,
                               0xFF00000D, 0xFF00000E, 0xFF000014, 0xFF000010};
    const TColor actual[] = {colors.cbtnface,   colors.cbtntext,       colors.cwindow,       colors.cwindowtext,
                             colors.chighlight, colors.chighlighttext, colors.cbtnhighlight, colors.cbtnshadow};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(actual[i], expected[i]) << i;
}

TEST(TbsSkinColors, ReadsEachKeyWithItsDefault) {
    TStringList lines;
    lines.SetText(
        "[SKINCOLORS]\n"
        "CBTNFACE=12632256\n"      // key names match without regard to case
        "cbtntext=$00FF00\n"
        "cwindow=-16777211\n"      // negative decimal: the same bit pattern as 0xFF000005
        "cwindowtext=blue\n"       // malformed: the default
        "chighlight=\n");
    const TMemIniFile ini(lines);
    TbsSkinColors colors;
    colors.ReadFromIni(ini);
    EXPECT_EQ(colors.cbtnface, 0xC0C0C0u);
    EXPECT_EQ(colors.cbtntext, 0x00FF00u);
    EXPECT_EQ(colors.cwindow, 0xFF000005u);
    EXPECT_EQ(colors.cwindowtext, 0xFF000008u);
    EXPECT_EQ(colors.chighlight, 0xFF00000Du);
    EXPECT_EQ(colors.chighlighttext, 0xFF00000Eu);
    EXPECT_EQ(colors.cbtnhighlight, 0xFF000014u);
    EXPECT_EQ(colors.cbtnshadow, 0xFF000010u);
}
