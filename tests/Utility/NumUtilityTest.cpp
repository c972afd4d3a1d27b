// Heading numbers (reading, writing, order checks) and Chinese numerals.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "Utility/ChineseNumeral.h"
#include "Utility/EncodingConverter.h"
#include "Utility/Log.h"
#include "Utility/NumUtility.h"
#include "support/TempDir.h"

namespace {

std::string Gbk(const std::string& sUtf8)
{
    std::string sGbk;
    Utf8ToGbk(sUtf8, sGbk);
    return sGbk;
}

_tSection_Info Read(const char* sText, int nType = -1)
{
    CNumUtility util;
    _tSection_Info info;
    util.ExtractOrder(sText, info, nType);
    return info;
}

// Errors of the numeral reader go to the log; keep them in a folder of our own.
class NumUtilityLogged : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_sSavedLogPath = g_sLogPath;
        g_sLogPath = m_dir.Path();
    }
    void TearDown() override { g_sLogPath = m_sSavedLogPath; }
    std::string ErrorLog() const;

    CTempDir m_dir;
    std::string m_sSavedLogPath;
};

std::string NumUtilityLogged::ErrorLog() const
{
    return ReadTestFile(m_dir.File(FormatLocalTime("%Y%m%d") + ".err"));
}

class NumUtilityRead : public NumUtilityLogged {};
class NumUtilityNumeral : public NumUtilityLogged {};
class NumUtilityOrder : public NumUtilityLogged {
protected:
    // Adds each heading and checks the list; the records afterwards.
    std::vector<_tSection_Info> Check(const std::vector<const char*>& vecText, int nDirection = 0,
                                      int nStart = 1, const char* sChapter = nullptr)
    {
        unsigned nId = 0;
        for (const char* s : vecText)
            m_util.AddSections(s, ++nId);
        EXPECT_EQ(m_util.CheckOrder(nDirection, nStart, sChapter), 1);
        return m_util.GetOrders();
    }
    CNumUtility m_util;
};

TEST_F(NumUtilityRead, DottedNumbersSplitTheChapterPart)
{
    _tSection_Info info = Read("1.2.3 方法");
    EXPECT_EQ(info.num_format, NUM_STYLE_DIGIT);
    EXPECT_EQ(info.chapter_id, "1.2");
    EXPECT_EQ(info.chapter_format, NUM_STYLE_DIGIT);
    EXPECT_EQ(info.section_sep, ".");
    EXPECT_EQ(info.text, "3");
    EXPECT_EQ(info.order, 3);
    EXPECT_EQ(info.level, 2);
    EXPECT_EQ(info.sample, "1.2.3 方法");

    info = Read("1.1 研究背景");
    EXPECT_EQ(info.chapter_id, "1");
    EXPECT_EQ(info.order, 1);
    EXPECT_EQ(info.level, 1);

    info = Read("12.10 讨论");
    EXPECT_EQ(info.chapter_id, "12");
    EXPECT_EQ(info.order, 10);
}

TEST_F(NumUtilityRead, TrailingFullStopEndsTheNumber)
{
    _tSection_Info info = Read("1. 引言");
    EXPECT_EQ(info.order, 1);
    EXPECT_EQ(info.level, 0);
    EXPECT_TRUE(info.chapter_id.empty());
    EXPECT_EQ(info.text, "1");
    EXPECT_EQ(info.post, ".");

    // 1.2. is section 2 of chapter 1, like 1.2, not a second "1".
    info = Read("1.2. 方法");
    EXPECT_EQ(info.chapter_id, "1");
    EXPECT_EQ(info.order, 2);
    EXPECT_EQ(info.level, 1);
    EXPECT_EQ(info.post, ".");
}

TEST_F(NumUtilityRead, DashSeparatorsAndCaptions)
{
    _tSection_Info info = Read("图1-2 流程");
    EXPECT_EQ(info.section_type, SECTION_TYPE_FIGURE);
    EXPECT_EQ(info.prefix, Gbk("图"));
    EXPECT_EQ(info.chapter_id, "1");
    EXPECT_EQ(info.section_sep, "-");
    EXPECT_EQ(info.order, 2);
    EXPECT_EQ(info.level, 0);

    info = Read("表 3－4 参数");
    EXPECT_EQ(info.section_type, SECTION_TYPE_TABLE);
    EXPECT_EQ(info.section_sep, Gbk("－"));
    EXPECT_EQ(info.chapter_id, "3");
    EXPECT_EQ(info.order, 4);

    // A caption numbered with a full stop still reads its own number.
    info = Read("图2.5 结构");
    EXPECT_EQ(info.chapter_id, "2");
    EXPECT_EQ(info.order, 5);
    EXPECT_EQ(info.level, 0);

    info = Read("图3");
    EXPECT_EQ(info.section_type, SECTION_TYPE_FIGURE);
    EXPECT_EQ(info.order, 3);
    EXPECT_EQ(info.level, 0);

    info = Read("2-1 总体设计");  // a dashed heading is a second-level one
    EXPECT_EQ(info.section_type, SECTION_TYPE_HEADING);
    EXPECT_EQ(info.level, 2);
    EXPECT_EQ(info.order, 1);

    info = Read("1·3 对象");
    EXPECT_EQ(info.section_sep, Gbk("·"));
    EXPECT_EQ(info.order, 3);
}

TEST_F(NumUtilityRead, ChineseNumeralsAndBrackets)
{
    _tSection_Info info = Read("第三章 绪论");
    EXPECT_EQ(info.prefix, Gbk("第"));
    EXPECT_EQ(info.num_format, NUM_STYLE_CHINESE);
    EXPECT_EQ(info.order, 3);
    EXPECT_EQ(info.post, Gbk("章"));

    EXPECT_EQ(Read("第十二章 结论").order, 12);
    EXPECT_EQ(Read("第一百零五条").order, 105);
    info = Read("一、概述");
    EXPECT_EQ(info.order, 1);
    EXPECT_EQ(info.post, Gbk("、"));

    info = Read("（二）方法");
    EXPECT_EQ(info.prefix, Gbk("（"));
    EXPECT_EQ(info.order, 2);
    EXPECT_EQ(info.post, Gbk("）"));
    EXPECT_EQ(info.level, -1);
    EXPECT_EQ(Read("(4) 其他").level, -1);
    // Formula numbers in brackets are not marked as bracketed headings.
    info = Read("(3)", SECTION_TYPE_FORMULA);
    EXPECT_EQ(info.section_type, SECTION_TYPE_FORMULA);
    EXPECT_EQ(info.order, 3);
    EXPECT_EQ(info.level, 0);
    EXPECT_EQ(info.post, ")");
}

TEST_F(NumUtilityRead, OneCharacterStyles)
{
    struct Case { const char* sText; int nStyle; int nOrder; };
    const Case cases[] = {
        {"① 项目概况", NUM_STYLE_CIRCLED, 1},   {"⑩", NUM_STYLE_CIRCLED, 10},
        {"⑴ 范围", NUM_STYLE_PARENTHESISED, 1}, {"⒇", NUM_STYLE_PARENTHESISED, 20},
        {"㈢ 依据", NUM_STYLE_PAREN_IDEOGRAPH, 3}, {"Ｂ．要求", NUM_STYLE_FULLWIDTH_UPPER, 2},
        {"ｃ 说明", NUM_STYLE_FULLWIDTH_LOWER, 3}, {"１２ 标题", NUM_STYLE_FULLWIDTH_DIGIT, 12},
        {"IV. Results", NUM_STYLE_ROMAN_UPPER, 4}, {"iii) scope", NUM_STYLE_ROMAN_LOWER, 3},
        {"XII 附则", NUM_STYLE_ROMAN_UPPER, 12},   {"VX", NUM_STYLE_ROMAN_UPPER, 5},
        {"甲、总则", NUM_STYLE_HEAVENLY_STEM, -2},
    };
    for (const Case& c : cases) {
        CNumUtility util;
        _tSection_Info info;
        EXPECT_EQ(util.ExtractOrder(c.sText, info, -1), c.nStyle) << c.sText;
        EXPECT_EQ(info.order, c.nOrder) << c.sText;
    }
    EXPECT_EQ(Read("IV. Results").post, ".");
    // Roman letters inside a Latin word are no number.
    for (const char* sWord : {"Introduction", "Preview", "Fixed point", "Abstract"})
        EXPECT_EQ(Read(sWord).num_format, NUM_STYLE_NONE) << sWord;
}

TEST_F(NumUtilityRead, TextsWithoutNumbers)
{
    CNumUtility util;
    _tSection_Info info;
    EXPECT_EQ(util.ExtractOrder("摘要", info, -1), -1);
    EXPECT_EQ(info.prefix, Gbk("摘要"));
    // At most five bytes of prefix, then the character reached.
    EXPECT_EQ(util.ExtractOrder("研究背景与意义1", info, -1), -1);
    EXPECT_EQ(info.prefix, Gbk("研究背景"));
    EXPECT_EQ(util.ExtractOrder("", info, -1), -1);
    EXPECT_EQ(util.ExtractOrder(nullptr, info, -1), -1);
    EXPECT_EQ(util.GetFormat(), -1);  // nothing numbered seen yet
}

TEST_F(NumUtilityRead, BlanksTrimmedAndEncodings)
{
    _tSection_Info info = Read(" \t\xE3\x80\x80" "2.1 设计  ");
    EXPECT_EQ(info.sample, "2.1 设计");
    EXPECT_TRUE(info.prefix.empty());
    EXPECT_EQ(info.order, 1);

    CNumUtility gbk(false);
    _tSection_Info fromGbk;
    EXPECT_EQ(gbk.ExtractOrder(Gbk("第三章 绪论").c_str(), fromGbk, -1), NUM_STYLE_CHINESE);
    EXPECT_EQ(fromGbk.order, 3);
    EXPECT_EQ(fromGbk.sample, Gbk("第三章 绪论"));
    EXPECT_STREQ(gbk.GenerateNum(3, NUM_STYLE_CHINESE), Gbk("三").c_str());
}

TEST_F(NumUtilityRead, FirstNumberedHeadingSetsThePattern)
{
    CNumUtility util;
    _tSection_Info info;
    util.ExtractOrder("前言", info, -1);
    util.ExtractOrder("第一章 总则", info, -1);
    util.ExtractOrder("1.1 范围", info, -1);
    EXPECT_EQ(util.GetFormat(), NUM_STYLE_CHINESE);
    EXPECT_EQ(util.GetPrefix(), Gbk("第"));
    EXPECT_EQ(util.GetPostfix(), Gbk("章"));
    util.Reset();
    EXPECT_EQ(util.GetFormat(), -1);
    EXPECT_TRUE(util.GetPrefix().empty());
}

TEST_F(NumUtilityRead, OverlongAndMalformedNumbersStayBounded)
{
    EXPECT_EQ(Read("12345678901234567890 年").order, -1);
    EXPECT_EQ(Read("1-").order, 1);
    EXPECT_EQ(Read("第一二章").order, -1);  // not a numeral expression
    EXPECT_NE(ErrorLog().find(" is invalid Chinese numeric expression"), std::string::npos);
    // Invalid UTF-8 and a cut GBK character are read without harm.
    EXPECT_EQ(Read("\xFF\xFE" "3").order, 3);
    CNumUtility gbk(false);
    _tSection_Info info;
    gbk.ExtractOrder("\xB5", info, -1);
    EXPECT_EQ(info.order, 0);
}

TEST(NumUtilityGenerate, EveryStyle)
{
    CNumUtility util;
    EXPECT_STREQ(util.GenerateNum(3, NUM_STYLE_CHINESE), "三");
    EXPECT_STREQ(util.GenerateNum(12, NUM_STYLE_CHINESE), "十二");
    EXPECT_STREQ(util.GenerateNum(12, NUM_STYLE_CHINESE_UPPER), "拾贰");
    EXPECT_STREQ(util.GenerateNum(4, NUM_STYLE_ROMAN_UPPER), "IV");
    EXPECT_STREQ(util.GenerateNum(14, NUM_STYLE_ROMAN_UPPER), "XIV");
    EXPECT_STREQ(util.GenerateNum(9, NUM_STYLE_ROMAN_LOWER), "ix");
    EXPECT_STREQ(util.GenerateNum(2, NUM_STYLE_FULLWIDTH_LOWER), "ｂ");
    EXPECT_STREQ(util.GenerateNum(26, NUM_STYLE_FULLWIDTH_UPPER), "Ｚ");
    EXPECT_STREQ(util.GenerateNum(20, NUM_STYLE_PARENTHESISED), "⒇");
    EXPECT_STREQ(util.GenerateNum(5, NUM_STYLE_CIRCLED), "⑤");
    EXPECT_STREQ(util.GenerateNum(3, NUM_STYLE_PAREN_IDEOGRAPH), "㈢");
    EXPECT_STREQ(util.GenerateNum(0, NUM_STYLE_DIGIT), "0");
    EXPECT_STREQ(util.GenerateNum(105, NUM_STYLE_DIGIT), "105");
    EXPECT_STREQ(util.GenerateNum(12, NUM_STYLE_FULLWIDTH_DIGIT), "１２");
    // Outside a style's range, or an unknown style: nothing.
    EXPECT_STREQ(util.GenerateNum(11, NUM_STYLE_CIRCLED), "");
    EXPECT_STREQ(util.GenerateNum(0, NUM_STYLE_PARENTHESISED), "");
    EXPECT_STREQ(util.GenerateNum(40, NUM_STYLE_ROMAN_UPPER), "");
    EXPECT_STREQ(util.GenerateNum(27, NUM_STYLE_FULLWIDTH_LOWER), "");
    EXPECT_STREQ(util.GenerateNum(3, 5), "");
    EXPECT_STREQ(util.GenerateNum(3, -1), "");
}

TEST(NumUtilityGenerate, ReadBackWhatIsWritten)
{
    const int styles[] = {NUM_STYLE_DIGIT, NUM_STYLE_FULLWIDTH_DIGIT, NUM_STYLE_CHINESE,
                          NUM_STYLE_ROMAN_UPPER, NUM_STYLE_ROMAN_LOWER, NUM_STYLE_PARENTHESISED,
                          NUM_STYLE_CIRCLED, NUM_STYLE_PAREN_IDEOGRAPH, NUM_STYLE_FULLWIDTH_UPPER,
                          NUM_STYLE_FULLWIDTH_LOWER};
    CNumUtility util;
    for (int nStyle : styles) {
        for (int n = 1; n <= 39; ++n) {
            std::string sNum = util.GenerateNum(n, nStyle);
            if (sNum.empty())
                continue;
            _tSection_Info info;
            EXPECT_EQ(util.ExtractOrder((sNum + " 标题").c_str(), info, -1), nStyle) << sNum;
            EXPECT_EQ(info.order, n) << sNum;
        }
    }
}

TEST(NumUtilityGenerate, NewSectionNumberFromAPattern)
{
    CNumUtility util;
    _tSection_Info info;
    util.ExtractOrder("3 绪论", info, -1);
    _tSection_Format pattern;
    pattern.prefix = Gbk("第");
    pattern.num_format = NUM_STYLE_CHINESE;
    pattern.post = Gbk("章");
    pattern.section_type = 1;
    EXPECT_STREQ(util.SetNewSectionNo(info, pattern), "第三章");
    EXPECT_EQ(info.textNew, "第三章");
    pattern.section_type = 2;  // post is written only for level 1, references, formulas
    EXPECT_STREQ(util.SetNewSectionNo(info, pattern), "第三");

    util.ExtractOrder("2.4 实验", info, -1);
    pattern = _tSection_Format();
    pattern.num_format = NUM_STYLE_DIGIT;
    pattern.section_sep = "-";
    EXPECT_STREQ(util.SetNewSectionNo(info, pattern), "2-4");
    EXPECT_FALSE(info.IsSameFormat(pattern));
}

TEST(NumUtilityGenerate, NewSectionNumberFromParts)
{
    CNumUtility util;
    _tSection_Info info;
    util.ExtractOrder("1.2 方法", info, -1);
    EXPECT_STREQ(util.SetNewSectionNo(info, 5, nullptr, nullptr, -1, nullptr), "1.5");
    EXPECT_STREQ(util.SetNewSectionNo(info, 5, nullptr, "3", NUM_STYLE_CHINESE, nullptr), "3.五");
    info.orderNew = 7;
    EXPECT_STREQ(util.SetNewSectionNo(info, -1, nullptr, nullptr, -1, nullptr), "1.7");
    info.orderNew = 0;
    EXPECT_STREQ(util.SetNewSectionNo(info, -1, nullptr, nullptr, -1, nullptr), "1.2");

    util.ExtractOrder("第二章 方法", info, -1);
    EXPECT_STREQ(util.SetNewSectionNo(info, 4, nullptr, nullptr, -1, nullptr), "第四章");
    // An empty text replaces info's part, a null one keeps it.
    EXPECT_STREQ(util.SetNewSectionNo(info, 4, "", nullptr, -1, ""), "四");
    EXPECT_STREQ(util.SetNewSectionNo(info, 4, nullptr, nullptr, NUM_STYLE_CIRCLED, ")"), "第④)");
    // A number the style cannot write gives no correction at all.
    EXPECT_STREQ(util.SetNewSectionNo(info, 11, nullptr, nullptr, NUM_STYLE_CIRCLED, nullptr), "");

    CNumUtility gbk(false);
    gbk.ExtractOrder(Gbk("第二章").c_str(), info, -1);
    EXPECT_EQ(std::string(gbk.SetNewSectionNo(info, 3, nullptr, nullptr, -1, nullptr)), Gbk("第三章"));
}

TEST_F(NumUtilityNumeral, ReadsExpressions)
{
    struct Case { const char* sText; int nValue; };
    const Case cases[] = {
        {"零", 0}, {"十", 10}, {"十二", 12}, {"二十", 20}, {"一十二", 12}, {"一百零五", 105},
        {"一百一十", 110}, {"两百", 200}, {"一千零一", 1001}, {"三万", 30000}, {"十万", 100000},
        {"十五万零三百", 150300}, {"一亿二千万", 120000000}, {"壹佰贰拾", 120},
        {"二十一亿", 2100000000}, {"二〇", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str2Integer(c.sText, true), c.nValue) << c.sText;
    EXPECT_EQ(Str2Integer(Gbk("一百零五").c_str(), false), 105);
}

TEST_F(NumUtilityNumeral, RejectsInvalidAndMixedInput)
{
    EXPECT_EQ(Str2Integer("一二", true), -1);
    EXPECT_NE(ErrorLog().find("一二 is invalid Chinese numeric expression"), std::string::npos);
    EXPECT_EQ(Str2Integer("百", true), -1);
    EXPECT_NE(ErrorLog().find("百 is invalid num expersion"), std::string::npos);
    EXPECT_EQ(Str2Integer("十2", true), -1);
    EXPECT_NE(ErrorLog().find("十2 using invalid charater in Chinese numeric expression. "),
              std::string::npos);
    EXPECT_EQ(Str2Integer("三abc", true), -1);
    EXPECT_EQ(Str2Integer("", true), -1);
    EXPECT_EQ(Str2Integer(nullptr, true), -1);
    // Values past the int range fail instead of wrapping.
    EXPECT_EQ(Str2Integer("二十二亿", true), -1);
    EXPECT_EQ(Str2Integer("三万亿", true), -1);
    EXPECT_EQ(Str2Integer("九千九百九十九亿九千九百九十九万", true), -1);
}

TEST_F(NumUtilityNumeral, SingleCharacters)
{
    EXPECT_EQ(ChineseNum2Digit("九", true), 9);
    EXPECT_EQ(ChineseNum2Digit("玖章", true), 9);
    EXPECT_EQ(ChineseNum2Digit("○", true), 0);
    EXPECT_EQ(ChineseNum2Digit("亿", true), 100000000);
    EXPECT_EQ(ChineseNum2Digit("仟", true), 1000);
    EXPECT_EQ(ChineseNum2Digit(Gbk("两").c_str(), false), 2);
    EXPECT_EQ(ChineseNum2Digit("x", true), -2);
    EXPECT_EQ(ChineseNum2Digit("章", true), -2);
    EXPECT_EQ(ChineseNum2Digit("", true), -2);
    EXPECT_EQ(ChineseNum2Digit("\xB5", false), -2);
}

TEST_F(NumUtilityNumeral, WritesNumbers)
{
    struct Case { long long nValue; const char* sLower; };
    const Case cases[] = {
        {0, "零"}, {10, "十"}, {12, "十二"}, {20, "二十"}, {105, "一百零五"}, {110, "一百一十"},
        {1001, "一千零一"}, {1010, "一千零一十"}, {10000, "一万"}, {10005, "一万零五"},
        {10010, "一万零一十"}, {150000, "十五万"}, {1000500, "一百万零五百"},
        {100000005, "一亿零五"}, {100010000, "一亿零一万"}, {1200000000, "十二亿"},
        {1000000000000LL, "一万亿"}, {-3, "负三"},
    };
    std::string s;
    for (const Case& c : cases) {
        Integer2Str(c.nValue, s, false, true);
        EXPECT_EQ(s, c.sLower) << c.nValue;
    }
    Integer2Str(105, s, true, true);
    EXPECT_EQ(s, "壹佰零伍");
    Integer2Str(12, s, false, false);
    EXPECT_EQ(s, Gbk("十二"));

    EXPECT_TRUE(Integer2Str("00105", s, false, true));
    EXPECT_EQ(s, "一百零五");
    EXPECT_TRUE(Integer2Str("-12", s, false, true));
    EXPECT_EQ(s, "负十二");
    for (const char* sBad : {"", "-", "12a", "1.5", "1234567890123456789"}) {
        EXPECT_FALSE(Integer2Str(sBad, s, false, true)) << sBad;
        EXPECT_TRUE(s.empty());
    }
    EXPECT_FALSE(Integer2Str(static_cast<const char*>(nullptr), s, false, true));
}

TEST_F(NumUtilityNumeral, RoundTrip)
{
    std::string s;
    for (long long n = 0; n <= INT_MAX; n = n < 20000 ? n + 1 : n * 3 + 7) {
        for (bool bUpper : {false, true}) {
            Integer2Str(n, s, bUpper, true);
            ASSERT_EQ(Str2Integer(s.c_str(), true), n) << s;
        }
    }
    Integer2Str(INT_MAX, s, false, true);
    EXPECT_EQ(Str2Integer(s.c_str(), true), INT_MAX);
}

TEST_F(NumUtilityOrder, WrongNumberIsCorrected)
{
    auto vec = Check({"1 绪论", "2 方法", "4 结论"});
    EXPECT_TRUE(vec[0].error_id.empty());
    EXPECT_TRUE(vec[1].error_id.empty());
    EXPECT_EQ(vec[2].error_id, "1.3.6");
    EXPECT_EQ(vec[2].orderNew, 3);
    EXPECT_EQ(vec[2].textNew, "3");
    EXPECT_EQ(vec[2].para_id, 3u);
}

TEST_F(NumUtilityOrder, MissingNumberTakesItsPlace)
{
    auto vec = Check({"1 绪论", "相关工作", "3 方法"});
    EXPECT_EQ(vec[1].error_id, "1.3.8");
    EXPECT_EQ(vec[1].orderNew, -138);
    EXPECT_EQ(vec[1].textNew, "2");
    EXPECT_TRUE(vec[2].error_id.empty());  // 3 is right once 2 is supplied
}

TEST_F(NumUtilityOrder, UnnumberedRecordsAtTheEdgesAreLeftAlone)
{
    auto vec = Check({"前言", "1 绪论", "2 方法", "致谢"});
    for (const auto& info : vec)
        EXPECT_TRUE(info.error_id.empty()) << info.sample;
    EXPECT_EQ(m_util.GetFormat(), NUM_STYLE_DIGIT);  // the unnumbered do not outvote
}

TEST_F(NumUtilityOrder, ChineseChapters)
{
    auto vec = Check({"第一章 绪论", "第二章 方法", "第四章 结果", "第五章 结论"});
    EXPECT_EQ(vec[2].error_id, "1.3.6");
    EXPECT_EQ(vec[2].textNew, "第三章");
    EXPECT_EQ(vec[3].error_id, "1.3.6");
    EXPECT_EQ(vec[3].textNew, "第四章");
}

TEST_F(NumUtilityOrder, StyleOutsideTheListPattern)
{
    auto vec = Check({"1、总则", "2、范围", "三、术语", "4、要求"});
    EXPECT_EQ(vec[2].error_id, "1.3.6");
    EXPECT_EQ(vec[2].orderNew, 3);
    EXPECT_EQ(vec[2].textNew, "3、");
    EXPECT_TRUE(vec[3].error_id.empty());
}

TEST_F(NumUtilityOrder, RequiredStart)
{
    auto vec = Check({"2 方法", "3 结果"});
    EXPECT_EQ(vec[0].error_id, "1.3.6");
    EXPECT_EQ(vec[0].textNew, "1");
    EXPECT_EQ(vec[1].textNew, "2");

    // An unnumbered heading right before is the missing first number.
    CNumUtility util;
    for (const char* s : {"引言", "2 方法", "3 结果"})
        util.AddSections(s, 0);
    util.CheckOrder(0, 1, nullptr);
    EXPECT_EQ(util.GetOrders()[0].error_id, "1.3.8");
    EXPECT_EQ(util.GetOrders()[0].textNew, "1");
    EXPECT_TRUE(util.GetOrders()[1].error_id.empty());

    // No fixed start: any first number is fine.
    CNumUtility any;
    for (const char* s : {"3 a", "4 b"})
        any.AddSections(s, 0);
    any.CheckOrder(0, -1, nullptr);
    EXPECT_TRUE(any.GetOrders()[0].error_id.empty());
}

TEST_F(NumUtilityOrder, DashedCaptions)
{
    auto vec = Check({"图1-1 流程", "图1-2 结构", "图1-4 界面"});
    EXPECT_EQ(vec[2].error_id, "1.3.6");
    EXPECT_EQ(vec[2].textNew, "图1-3");
}

TEST_F(NumUtilityOrder, ChapterPartAgainstTheGivenChapter)
{
    auto vec = Check({"3.1 设计", "3.2 实现"}, 0, 1, "2");
    EXPECT_EQ(vec[0].error_id, "1.3.10");
    EXPECT_EQ(vec[0].orderNew, 1);
    EXPECT_EQ(vec[0].textNew, "2.1");
    EXPECT_EQ(vec[1].textNew, "2.2");

    CNumUtility deeper;
    for (const char* s : {"2.1.1 a", "2.3.2 b"})
        deeper.AddSections(s, 0);
    deeper.CheckOrder(0, 1, "2.1");
    EXPECT_TRUE(deeper.GetOrders()[0].error_id.empty());
    EXPECT_EQ(deeper.GetOrders()[1].error_id, "1.3.6");  // differs from the list's 2.1

    // Chapter 12 does not lie inside chapter 1.
    CNumUtility twelve;
    for (const char* s : {"12.1 a", "12.2 b"})
        twelve.AddSections(s, 0);
    twelve.CheckOrder(0, 1, "1");
    EXPECT_EQ(twelve.GetOrders()[0].error_id, "1.3.10");
    EXPECT_EQ(twelve.GetOrders()[0].textNew, "1.1");
}

TEST_F(NumUtilityOrder, ChapterPartAgainstTheListMajority)
{
    auto vec = Check({"2.1 a", "2.2 b", "3.3 c"});
    EXPECT_EQ(vec[2].error_id, "1.3.6");
    EXPECT_EQ(vec[2].orderNew, 3);
    EXPECT_EQ(vec[2].textNew, "2.3");
    EXPECT_EQ(m_util.GetChapterId(), "2");
    EXPECT_EQ(m_util.GetSectionSep(), ".");
}

TEST_F(NumUtilityOrder, NewRunAndStrayRecords)
{
    auto vec = Check({"第一章 总则", "第二章 范围", "一、术语", "二、要求"});
    for (const auto& info : vec)
        EXPECT_TRUE(info.error_id.empty()) << info.sample;

    CNumUtility stray;
    for (const char* s : {"1 a", "2 b", "附1 说明", "3 c"})
        stray.AddSections(s, 0);
    stray.CheckOrder(0, 1, nullptr);
    for (const auto& info : stray.GetOrders())
        EXPECT_TRUE(info.error_id.empty()) << info.sample;
}

TEST_F(NumUtilityOrder, RepeatedNumbersWithNegativeDirection)
{
    auto vec = Check({"[1] a", "[1] b", "[2] c"}, -1);
    for (const auto& info : vec)
        EXPECT_TRUE(info.error_id.empty()) << info.sample;

    CNumUtility forward;
    for (const char* s : {"[1] a", "[1] b", "[2] c"})
        forward.AddSections(s, 0);
    forward.CheckOrder(0, 1, nullptr);
    EXPECT_EQ(forward.GetOrders()[1].error_id, "1.3.6");
    EXPECT_EQ(forward.GetOrders()[1].textNew, "[2]");

    // Going backwards, the check stops at the first unnumbered record.
    CNumUtility stop;
    for (const char* s : {"[1] a", "接上文", "[5] c"})
        stop.AddSections(s, 0);
    stop.CheckOrder(-1, 1, nullptr);
    for (const auto& info : stop.GetOrders())
        EXPECT_TRUE(info.error_id.empty()) << info.sample;
}

TEST_F(NumUtilityOrder, RomanAndCircledLists)
{
    auto vec = Check({"I. 引言", "II. 方法", "IV. 结论"});
    EXPECT_EQ(vec[2].textNew, "III.");

    CNumUtility circled;
    for (const char* s : {"① a", "② b", "⑤ c"})
        circled.AddSections(s, 0);
    circled.CheckOrder(0, 1, nullptr);
    EXPECT_EQ(circled.GetOrders()[2].textNew, "③");
}

TEST_F(NumUtilityOrder, EmptyAndExtremeLists)
{
    EXPECT_EQ(m_util.CheckOrder(0, 1, nullptr), 1);
    m_util.AddSections("", 1);
    m_util.AddSections(nullptr, 1);
    EXPECT_TRUE(m_util.GetOrders().empty());

    _tSection_Info big;
    big.num_format = NUM_STYLE_DIGIT;
    big.order = INT_MAX;
    m_util.AddSections(big, 1);
    m_util.AddSections(big, 2);
    // The counter stops at the int range instead of overflowing.
    EXPECT_EQ(m_util.CheckOrder(0, -1, nullptr), 1);
    EXPECT_TRUE(m_util.GetOrders()[0].error_id.empty());
}

}  // namespace
