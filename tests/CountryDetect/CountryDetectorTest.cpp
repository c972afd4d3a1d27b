// Country names found in texts: Chinese and English names, other names,
// longest names first, order of appearance, and the shipped list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CountryDetect/CountryDetector.h"
#include "CountryDetect/CountryList.h"
#include "Utility/EncodingConverter.h"
#include "support/TempDataDir.h"

namespace {

const char* const kList =
    "# code\tChinese\tEnglish\tothers\n"
    "CN\t中国\tChina\t中华人民共和国;PRC\n"
    "CF\t中非\tCentral African Republic\t中非共和国\n"
    "NE\t尼日尔\tNiger\t\n"
    "NG\t尼日利亚\tNigeria\t\n"
    "US\t美国\tUnited States\tUSA;America\n";

std::vector<std::string> Names(const CCountryList& list, const std::string& sText)
{
    std::vector<std::string> vecNames;
    for (size_t nIndex : list.Find(sText))
        vecNames.push_back(list.Country(nIndex).sChinese);
    return vecNames;
}

TEST(CountryList, FindsNamesInOrderLongestFirst)
{
    CCountryList list;
    ASSERT_EQ(list.Parse(kList), 5u);
    EXPECT_EQ(Names(list, "中华人民共和国与美国签署协议，中国代表出席"), (std::vector<std::string>{"中国", "美国"}));
    EXPECT_EQ(Names(list, "中非共和国位于非洲"), (std::vector<std::string>{"中非"}));
    EXPECT_EQ(Names(list, "尼日利亚不是尼日尔"), (std::vector<std::string>{"尼日利亚", "尼日尔"}));
    EXPECT_EQ(Names(list, "Exports from NIGERIA and the usa"), (std::vector<std::string>{"尼日利亚", "美国"}));
    EXPECT_TRUE(Names(list, "Americas and Chinatown").empty());  // whole words only
    EXPECT_TRUE(Names(list, "").empty());
}

TEST(CountryDetector, ShippedListAndGbkInterface)
{
    std::vector<std::string> vecCountries, vecEnglish;
    CountryDetect_Exit();
    EXPECT_EQ(CountryDetect_Compute("x", vecCountries, vecEnglish), -1);
    CTempDataDir data;
    ASSERT_EQ(CountryDetect_Init(data.Path().c_str()), 1);
    std::string sGbk;
    Utf8ToGbk("本项目由日本和德意志联邦共和国的企业联合承建，台湾地区供应部分设备。", sGbk);
    ASSERT_EQ(CountryDetect_Compute(sGbk.c_str(), vecCountries, vecEnglish), 2);
    std::string sFirst;
    GbkToUtf8(vecCountries[0], sFirst);
    EXPECT_EQ(sFirst, "日本");
    EXPECT_EQ(vecEnglish[0], "Japan");
    EXPECT_EQ(vecEnglish[1], "Germany");
    CountryDetect_Exit();
    CTempDir empty;
    EXPECT_EQ(CountryDetect_Init(empty.Path().c_str()), 0);
}

}  // namespace
