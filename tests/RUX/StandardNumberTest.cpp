// The clause-number parser: the ways reports write a standard's number,
// the bracket forms of document numbers, and when two numbers are the same.
#include <gtest/gtest.h>

#include "RUX/StandardNumber.h"
#include "Utility/QueryExpand.h"
#include "support/TempDir.h"

namespace {

_tTiaowenHao Parse(const std::string& sNumber)
{
    _tTiaowenHao number;
    CStandardNumber::TiaowenHaoStandard(sNumber, number);
    return number;
}

bool Same(const std::string& a, const std::string& b, const CQueryExpand* pSimilar = nullptr)
{
    return CStandardNumber::IsSameTiaowenHao(Parse(a), Parse(b), pSimilar);
}

}  // namespace

TEST(StandardNumberTest, DashFormsSlashTBlanksAndCaseGiveTheSameParts)
{
    for (const char* sNumber : {"GB 50016-2014", "GB50016—2014", "GB/T 50016-2014", "gb/t50016－2014",
                                "ＧＢ　５００１６－２０１４", "GB 50016–2014", "GB 50016 - 2014"}) {
        _tTiaowenHao number = Parse(sNumber);
        EXPECT_EQ(number.type, "GB") << sNumber;
        EXPECT_EQ(number.no, 50016) << sNumber;
        EXPECT_EQ(number.year, 2014) << sNumber;
        EXPECT_TRUE(number.part.empty()) << sNumber;
    }
    EXPECT_EQ(Parse("GB/T 50016-2014").org, "GB50016-2014");
    EXPECT_EQ(Parse("gb 50016-2014").org, "GB50016-2014");
}

TEST(StandardNumberTest, PartsTwoDigitYearsAndOtherCodes)
{
    _tTiaowenHao part = Parse("GB 13495.1-2015");
    EXPECT_EQ(part.no, 13495);
    EXPECT_EQ(part.part, ".1");
    EXPECT_EQ(Parse("GB 50045-95").year, 1995);
    EXPECT_EQ(Parse("GB 50016-2006").year, 2006);
    _tTiaowenHao aq = Parse("AQ/T 3046-2013");
    EXPECT_EQ(aq.type, "AQ");
    EXPECT_EQ(aq.no, 3046);
    // Parts of one standard are different standards.
    EXPECT_FALSE(Same("GB 4053.1-2009", "GB 4053.2-2009"));
    EXPECT_TRUE(Same("GB 50045-1995", "GB50045-95"));
}

TEST(StandardNumberTest, BracketYearsAndOrders)
{
    for (const char* sNumber : {"安监总管三〔2011〕95号", "安监总管三[2011]95号", "安监总管三【2011】95号"}) {
        _tTiaowenHao number = Parse(sNumber);
        EXPECT_EQ(number.year, 2011) << sNumber;
        EXPECT_EQ(number.no, 95) << sNumber;
        EXPECT_EQ(number.type, "安监总管三") << sNumber;
    }
    _tTiaowenHao order = Parse("国家安全生产监督管理总局令第40号");
    EXPECT_EQ(order.no, 40);
    EXPECT_EQ(order.year, 0);
    EXPECT_EQ(Parse("国家安全生产监督管理总局第40号令").no, 40);
    EXPECT_TRUE(Same("应急〔2019〕78号", "应急[2019]78号"));
    EXPECT_FALSE(Same("应急〔2019〕78号", "应急〔2020〕78号"));
    _tTiaowenHao none;
    EXPECT_FALSE(CStandardNumber::TiaowenHaoStandard("建筑设计防火规范", none));
}

TEST(StandardNumberTest, SamenessByYearAloneAndBySimilarCodes)
{
    // A found number that is only a year matches any cited number of that year.
    _tTiaowenHao yearOnly;
    yearOnly.year = 2014;
    EXPECT_TRUE(CStandardNumber::IsSameTiaowenHao(Parse("GB 50016-2014"), yearOnly, nullptr));
    EXPECT_FALSE(Same("GB 50016-2014", "GB 50016-2006"));
    EXPECT_FALSE(Same("GB 50016-2014", "JGJ 50016-2014"));

    CTempDir dir;
    CQueryExpand similar(dir.Path(), "expand");
    ASSERT_EQ(similar.ImportFromText("GB\tGBJ\n"), 1);
    EXPECT_FALSE(Same("GBJ 16-1987", "GB 16-1987"));
    EXPECT_TRUE(Same("GBJ 16-1987", "GB 16-1987", &similar));
}

TEST(StandardNumberTest, TrialEditionsAndAbbreviationsAreExcluded)
{
    EXPECT_TRUE(CStandardNumber::IsExcluded("AQ 8001-2007（试行）"));
    EXPECT_TRUE(CStandardNumber::IsExcluded("以下简称《规范》"));
    EXPECT_TRUE(CStandardNumber::IsExcluded("50016-2014"));
    EXPECT_FALSE(CStandardNumber::IsExcluded("GB 50016-2014"));
}

TEST(StandardNumberTest, CitedNameComesOutOfItsBookTitleMarks)
{
    int nFollowing = 0;
    EXPECT_EQ(CStandardNumber::TiaowenStandard("《建筑设计防火规范》", nFollowing), "建筑设计防火规范");
    EXPECT_EQ(nFollowing, -1);
    EXPECT_EQ(CStandardNumber::TiaowenStandard("建筑设计防火规范》", nFollowing), "建筑设计防火规范");
    EXPECT_EQ(CStandardNumber::TiaowenStandard("依据《建筑设计防火规范", nFollowing), "建筑设计防火规范");
    EXPECT_EQ(CStandardNumber::TiaowenStandard("《中华人民共和国安全生产法》（2021年修正）", nFollowing),
              "中华人民共和国安全生产法");
    EXPECT_EQ(nFollowing, 2021);
    EXPECT_EQ(CStandardNumber::TiaowenStandard("", nFollowing), "");
}
