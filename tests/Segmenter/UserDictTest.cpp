// User words: they come back whole with their tag and win over the core
// dictionary, words with spaces come back bracketed, imports read every
// line form, and a saved user dictionary is read again at the next start.
#include "SegmenterFixture.h"

#include <string>

#include "Segmenter/UserDict.h"
#include "support/SwitchGuard.h"

TEST_F(SegmenterTest, UserWordsWinOverTheCoreDictionary)
{
    EXPECT_TRUE(HasTokensInOrder(Seg("北京大学"), {"北京大学/nt"}));
    ASSERT_EQ(PELNOR_AddUserWord("京大学", "RUX"), 1);
    EXPECT_TRUE(HasTokensInOrder(Seg("我在北京大学读书"), {"北/ns", "京大学/RUX", "读书/n"}));
    // A new tag replaces the old; a line form without a tag gives "n".
    ASSERT_EQ(PELNOR_AddUserWord("京大学", "/nt2"), 1);
    EXPECT_TRUE(HasTokensInOrder(Seg("北京大学"), {"京大学/nt2"}));
    ASSERT_EQ(PELNOR_AddUserWord("王小明 nr"), 1);
    ASSERT_EQ(PELNOR_AddUserWord("韦斯卡"), 1);
    EXPECT_TRUE(HasTokensInOrder(Seg("王小明用韦斯卡"), {"王小明/nr", "韦斯卡/n"}));
    EXPECT_EQ(PELNOR_AddUserWord("   ", "RUX"), 0);
    EXPECT_EQ(PELNOR_AddUserWord("词", "a b"), 0);
}

TEST_F(SegmenterTest, UserWordsTakeDatesNumbersAndMarksButNeverCutARun)
{
    ASSERT_EQ(PELNOR_AddUserWord("5月", "RUX"), 1);
    ASSERT_EQ(PELNOR_AddUserWord("GB", "RUX"), 1);
    ASSERT_EQ(PELNOR_AddUserWord("：（", "RUX"), 1);
    EXPECT_TRUE(HasTokensInOrder(Seg("2023年5月，GB50016：（甲）"), {"2023年/t", "5月/RUX", "GB/RUX", "50016/m", "：（/RUX"}));
    // Between two letters or two digits a user word does not start or end.
    EXPECT_TRUE(HasTokensInOrder(Seg("GBK编码与15月"), {"GBK/x", "15/m"}));
    ASSERT_EQ(PELNOR_AddUserWord("GBK编", "RUX"), 1);
    EXPECT_TRUE(HasTokensInOrder(Seg("GBK编码"), {"GBK编/RUX"}));
}

TEST_F(SegmenterTest, WordsWithSpacesComeBackBracketed)
{
    CTempDir dir;
    std::string sFile = dir.File("user dict.txt");
    ASSERT_TRUE(WriteTestFile(sFile, "\xEF\xBB\xBF[New York] ns\n[machine  learning]\tRUX\r\n自然语言 RUX\n"
                                     "深度网络 12 nz\n\n[broken\n"));
    EXPECT_EQ(PELNOR_ImportUserDict(sFile.c_str(), 0), 4);
    std::string sOut = Seg("I love New   York,machine learning与自然语言及深度网络");
    EXPECT_TRUE(HasTokensInOrder(sOut, {"love/x", "[New York]/ns", ",/wd", "[machine learning]/RUX", "自然语言/RUX",
                                        "深度网络/nz"}));
    EXPECT_TRUE(HasTokensInOrder(Seg("New York", false), {"[New York]"}));
    // Overwriting drops the earlier words.
    std::string sSecond = dir.File("second.txt");
    ASSERT_TRUE(WriteTestFile(sSecond, "语言及 RUX\n"));
    EXPECT_EQ(PELNOR_ImportUserDict(sSecond.c_str(), 1), 1);
    EXPECT_TRUE(HasTokensInOrder(Seg("New York自然语言及"), {"New/x", "York/x", "语言及/RUX"}));
    EXPECT_EQ(PELNOR_ImportUserDict(dir.File("missing.txt").c_str(), 0), -1);
}

TEST(UserDictLines, EveryLineFormIsRead)
{
    std::string sWord, sTag;
    ASSERT_TRUE(CUserDict::ParseLine("  词语\tRUX  ", sWord, sTag));
    EXPECT_EQ(sWord + "|" + sTag, "词语|RUX");
    ASSERT_TRUE(CUserDict::ParseLine("词语 100 nz", sWord, sTag));
    EXPECT_EQ(sWord + "|" + sTag, "词语|nz");
    ASSERT_TRUE(CUserDict::ParseLine("词语 100", sWord, sTag));
    EXPECT_EQ(sWord + "|" + sTag, "词语|");
    ASSERT_TRUE(CUserDict::ParseLine("[a  b]", sWord, sTag));
    EXPECT_EQ(sWord + "|" + sTag, "a  b|");
    EXPECT_FALSE(CUserDict::ParseLine(" \t", sWord, sTag));
    EXPECT_FALSE(CUserDict::ParseLine("[ ] x", sWord, sTag));
    CUserDict dict;
    EXPECT_FALSE(dict.Add("a ]b", "x"));
    EXPECT_TRUE(dict.Add(" a \t b ", ""));
    EXPECT_TRUE(dict.Add("c", "/v"));
    EXPECT_EQ(dict.ToText(), "[a b]\tn\nc\tv\n");
}

TEST(SegmenterStart, SavedUserWordsAreReadAtTheNextStart)
{
    CTempDir init;
    ASSERT_TRUE(WriteTestFile(init.Path() + "/Data/Configure.xml", "<Configure><Log>off</Log></Configure>"));
    ASSERT_TRUE(CopyTree(BuiltDataDir() + "/Segmenter", init.Path() + "/Data/Segmenter"));
    ASSERT_EQ(PELNOR_Init(init.Path().c_str(), 1), 1) << PELNOR_GetLastErrorMsg();
    CSwitchGuard quiet(g_bLog, false);
    ASSERT_EQ(PELNOR_AddUserWord("韦斯卡 检查", "RUX"), 1);
    ASSERT_EQ(PELNOR_AddUserWord("报告检", "v"), 1);
    ASSERT_EQ(PELNOR_SaveTheUsrDic(), 1);
    PELNOR_Exit();
    EXPECT_EQ(ReadTestFile(init.Path() + "/Data/Segmenter/UserDict.txt"), "报告检\tv\n[韦斯卡 检查]\tRUX\n");
    ASSERT_EQ(PELNOR_Init(init.Path().c_str(), 1), 1);
    const char* sOut = PELNOR_ParagraphProcess("韦斯卡 检查报告检查", 1);
    ASSERT_NE(sOut, nullptr);
    EXPECT_TRUE(HasTokensInOrder(sOut, {"[韦斯卡 检查]/RUX", "报告检/v", "查/v"}));
    PELNOR_Exit();
    EXPECT_EQ(PELNOR_SaveTheUsrDic(), 0);
}
