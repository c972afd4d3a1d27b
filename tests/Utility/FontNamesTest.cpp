// Names of one typeface.
#include <gtest/gtest.h>

#include "Utility/FontNames.h"

TEST(FontNames, EnglishAndEditionNamesAreTheChineseFace)
{
    EXPECT_TRUE(IsSameFont("SimSun", "宋体"));
    EXPECT_TRUE(IsSameFont("simhei", "黑体"));
    EXPECT_TRUE(IsSameFont("仿宋_GB2312", "FangSong"));
    EXPECT_TRUE(IsSameFont("楷体_GB2312", "楷体"));
    EXPECT_FALSE(IsSameFont("宋体", "黑体"));
    EXPECT_FALSE(IsSameFont("SimSun", "NSimSun"));
    EXPECT_EQ(CanonicalFontName("Times New Roman"), "Times New Roman");
}
