// Path folding, atomic writes, local file-name spelling and the text
// encoding conversions the loaders rely on.
#include <gtest/gtest.h>

#include <string>

#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "support/TempDir.h"

namespace {

TEST(FileUtility, NormalisesPathsLexically)
{
    EXPECT_EQ(NormalisePath("/a/b/Data/../Data/Error/x.dat"), "/a/b/Data/Error/x.dat");
    EXPECT_EQ(NormalisePath("/a//b/./c/"), "/a/b/c");
    EXPECT_EQ(NormalisePath("/../x"), "/x");
    EXPECT_EQ(NormalisePath("../a/../../b"), "../../b");
    EXPECT_EQ(NormalisePath("a/.."), ".");
    EXPECT_EQ(JoinPath("/d/", "f"), "/d/f");
    EXPECT_EQ(DirName("/d/e/f.docx"), "/d/e");
    EXPECT_EQ(DirName("f.docx"), ".");
}

TEST(FileUtility, AtomicWriteReplacesWholeFilesAndLeavesNoTemporaries)
{
    CTempDir dir;
    std::string sPath = dir.File("out.txt");
    ASSERT_TRUE(WriteFileAtomic(sPath, "first version, longer"));
    ASSERT_TRUE(WriteFileAtomic(sPath, "second"));
    EXPECT_EQ(ReadTestFile(sPath), "second");
    EXPECT_FALSE(WriteFileAtomic(dir.File("no/such/dir/x"), "y"));
    std::string sData;
    ASSERT_TRUE(ReadWholeFile(sPath, sData));
    EXPECT_FALSE(ReadWholeFile(sPath, sData, 3));  // over the cap
    EXPECT_FALSE(ReadWholeFile(dir.Path(), sData));  // a folder is not a file
}

TEST(FileUtility, FindsTheGbkSpellingOfAFileName)
{
    CTempDir dir;
    std::string sUtf8 = dir.File("报告.txt");
    std::string sGbk;
    ASSERT_TRUE(Utf8ToGbk(sUtf8, sGbk));
    WriteTestFile(sGbk, "x");
    std::string sOut;
    EXPECT_EQ(GetAnsiFilename(sUtf8.c_str(), sOut, false), 1);
    EXPECT_EQ(sOut, sGbk);
    WriteTestFile(sUtf8, "y");
    EXPECT_EQ(GetAnsiFilename(sUtf8.c_str(), sOut, false), 0);
    EXPECT_EQ(sOut, sUtf8);
    EXPECT_EQ(GetAnsiFilename(dir.File("无.txt").c_str(), sOut, false), 0);
}

TEST(EncodingConverter, RoundTripsChineseAndRejectsBrokenInput)
{
    std::string sGbk, sBack;
    ASSERT_TRUE(Utf8ToGbk("第一章 绪论 (A)", sGbk));
    EXPECT_EQ(sGbk.size(), 15u);
    ASSERT_TRUE(GbkToUtf8(sGbk, sBack));
    EXPECT_EQ(sBack, "第一章 绪论 (A)");
    EXPECT_FALSE(GbkToUtf8(std::string("\xB5\xDA\xFF", 3), sBack));
    EXPECT_EQ(sBack, "第");
    EXPECT_TRUE(IsValidUtf8("中文abc"));
    EXPECT_FALSE(IsValidUtf8(std::string("\xE4\xB8", 2)));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));        // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));    // surrogate
}

}  // namespace
