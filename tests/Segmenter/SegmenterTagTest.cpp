// Segmentation and tags of mixed text: Chinese words from the core
// dictionary, Latin runs, numbers, dates and times, punctuation, the
// closing 等, invalid UTF-8 and the output format.
#include "SegmenterFixture.h"

#include <string>

TEST_F(SegmenterTest, MixedTextGetsTheExpectedTags)
{
    std::string sOut = Seg("2023年5月12日12:30，我们在北京大学测试了GB50016-2014标准、C++程序和3.14的数值……等等。");
    EXPECT_TRUE(HasTokensInOrder(sOut, {"2023年5月12日12:30/t", "，/wd", "我们/r", "北京大学/nt", "测试/vn",
                                        "GB50016-2014/x", "标准/n", "、/wn", "C++/x", "程序/n", "3.14/m",
                                        "数值/n", "……/ws", "等等/udeng", "。/wj"}));
}

TEST_F(SegmenterTest, MaximumProbabilityPrefersTheLikelierSplit)
{
    EXPECT_EQ(Seg("中华人民共和国成立了", false), "中华人民共和国 成立 了");
    EXPECT_EQ(Seg("研究生命起源", false), "研究 生命 起源");
    // Latin letters join Chinese only in words of the dictionary.
    EXPECT_TRUE(HasTokensInOrder(Seg("买了一件T恤和A股"), {"T恤/n", "A股/n"}));
}

TEST_F(SegmenterTest, PunctuationMarksGetTheirTags)
{
    std::string sOut = Seg("甲，乙。丙、丁——戊……己？庚！辛：壬；癸（子）丑【寅】卯《辰》巳“午”未‘申’酉");
    EXPECT_TRUE(HasTokensInOrder(sOut, {"，/wd", "。/wj", "、/wn", "——/wp", "……/ws", "？/ww", "！/wt", "：/wm",
                                        "；/wf", "（/wkz", "）/wky", "【/wkz", "】/wky", "《/wkz", "》/wky",
                                        "“/wyz", "”/wyy", "‘/wyz", "’/wyy"}));
    // Straight quotes open and close in turn; runs of dots and hyphens are one mark.
    EXPECT_TRUE(HasTokensInOrder(Seg("他说\"好\"然后...再--看·点"),
                                 {"\"/wyz", "\"/wyy", ".../ws", "--/wp", "·/w"}));
    EXPECT_TRUE(HasTokensInOrder(Seg("a,b. c?d!e:f;g"), {",/wd", "./wj", "?/ww", "!/wt", ":/wm", ";/wf"}));
}

TEST_F(SegmenterTest, LatinRunsStayWholeAndNumbersAreM)
{
    std::string sOut = Seg("iPhone12和COVID-19，don't，1,000,000与3.14及50%，e-mail、C#、x86_64、５０、Ｗｏｒｄ");
    EXPECT_TRUE(HasTokensInOrder(sOut, {"iPhone12/x", "COVID-19/x", "don't/x", "1,000,000/m", "3.14/m", "50%/m",
                                        "e-mail/x", "C#/x", "x86_64/x", "５０/m", "Ｗｏｒｄ/x"}));
    // A comma list of numbers is no thousands group; a range is no Latin word.
    EXPECT_EQ(Seg("1,2,3"), "1/m ,/wd 2/m ,/wd 3/m");
    EXPECT_EQ(Seg("5-10"), "5/m -/w 10/m");
}

TEST_F(SegmenterTest, DatesAndTimesAreT)
{
    std::string sOut = Seg("2023年5月12日，2023-05-12，12:30:45，8点15分，12时，5月3号，二〇二三年五月十二日，十二月");
    EXPECT_TRUE(HasTokensInOrder(sOut, {"2023年5月12日/t", "2023-05-12/t", "12:30:45/t", "8点15分/t", "12时/t",
                                        "5月3号/t", "二〇二三年五月十二日/t", "十二月/t"}));
    // Counts and impossible values are no dates.
    EXPECT_TRUE(HasTokensInOrder(Seg("3年"), {"3/m"}));
    EXPECT_TRUE(HasTokensInOrder(Seg("得了5分"), {"5/m"}));
    EXPECT_TRUE(HasTokensInOrder(Seg("2023年13月"), {"2023年/t", "13/m"}));
    EXPECT_EQ(Seg("25:00"), "25/m :/wm 00/m");
    EXPECT_TRUE(HasTokensInOrder(Seg("3点建议"), {"3/m"}));
}

TEST_F(SegmenterTest, ClosingDengIsUdengButTheVerbIsNot)
{
    EXPECT_TRUE(HasTokensInOrder(Seg("北京、上海等城市"), {"等/udeng", "城市/ns"}));
    EXPECT_TRUE(HasTokensInOrder(Seg("苹果、香蕉等等。"), {"等等/udeng", "。/wj"}));
    EXPECT_TRUE(HasTokensInOrder(Seg("例如……等"), {"……/ws", "等/udeng"}));
    EXPECT_TRUE(HasTokensInOrder(Seg("我们等他"), {"等/u"}));
    EXPECT_TRUE(HasTokensInOrder(Seg("等一下再说"), {"等/u", "一下/m"}));
}

TEST_F(SegmenterTest, OutputIsSingleSpacedWithoutWhiteSpaceTokens)
{
    EXPECT_EQ(Seg("  中国 \t 人民\r\n"), "中国/ns 人民/n");
    EXPECT_EQ(Seg("中国　人民", false), "中国 人民");  // ideographic space
    EXPECT_EQ(Seg(""), "");
    EXPECT_EQ(Seg(" \n "), "");
    EXPECT_EQ(PELNOR_ParagraphProcess(nullptr, 1), nullptr);
}

TEST_F(SegmenterTest, InvalidUtf8BytesAreSingleXTokens)
{
    std::string sText = "\xFF中国\xE4\xB8 \xC0\xAF\xED\xA0\x80ok";
    EXPECT_EQ(Seg(sText), "\xFF/x 中国/ns \xE4/x \xB8/x \xC0/x \xAF/x \xED/x \xA0/x \x80/x ok/x");
    EXPECT_EQ(WithoutBlanks(Seg(sText, false)), WithoutBlanks(sText));
}

TEST_F(SegmenterTest, UntaggedOutputHoldsEveryByteOfTheText)
{
    const std::string sText =
        "第3章 实验结果（见表3-1）：准确率达到98.5%，比基线高2.3个百分点；2021年9月起，"
        "我们用Python 3.8和PyTorch训练了ResNet-50模型……\"详见附录A\"。★注：数据截至12:00。"
        "\xC3\x28 末尾\xE2\x82";
    std::string sOut = Seg(sText, false);
    EXPECT_EQ(WithoutBlanks(sOut), WithoutBlanks(sText));
    EXPECT_EQ(sOut.find("  "), std::string::npos);
    for (const std::string& sToken : SplitTokens(Seg(sText)))
        EXPECT_NE(sToken.rfind('/'), std::string::npos) << sToken;
}

TEST_F(SegmenterTest, GbkModeReadsAndWritesGbk)
{
    PELNOR_Exit();
    ASSERT_EQ(PELNOR_Init(VESKAR_TEST_BUILD_DIR, 0), 1);
    // 中国。 in GBK
    const char* sOut = PELNOR_ParagraphProcess("\xD6\xD0\xB9\xFA\xA1\xA3", 1);
    ASSERT_NE(sOut, nullptr);
    EXPECT_STREQ(sOut, "\xD6\xD0\xB9\xFA/ns \xA1\xA3/wj");
}
