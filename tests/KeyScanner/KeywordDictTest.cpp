// Keyword lists and the compiled scanner dictionary: the list format, the
// answer layout the sensitive-word scan reads, guards, classes and scores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Checker/ErrorWordScan.h"
#include "KeyScanner/KeywordDict.h"
#include "KeyScanner/KeywordList.h"
#include "KeyScanner/PinyinInitials.h"
#include "Utility/EncodingConverter.h"

namespace {

const char* const kList = "# test list\n"
                          "既使-->即使\n"
                          "按装-->安装\n"
                          "既使得-->既使得\n"
                          "abc-->ABC\n"
                          "@class 广告 2\n"
                          "最佳\n"
                          "国家级\t3\n"
                          "@class 口语\n"
                          "咱们\n";

CKeywordList ParseList(const std::string& sText)
{
    CKeywordList list;
    std::string sError;
    EXPECT_TRUE(list.Parse(sText, "test", sError)) << sError;
    return list;
}

TEST(KeywordList, ReadsEveryKindOfLine)
{
    CKeywordList list = ParseList(kList);
    const auto& entries = list.Entries();
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[0].type, _tKeyEntry::KEY_ERROR_WORD);
    EXPECT_EQ(entries[0].sRight, "即使");
    EXPECT_EQ(entries[2].type, _tKeyEntry::KEY_GUARD);
    EXPECT_EQ(entries[4].sClass, "广告");
    EXPECT_DOUBLE_EQ(entries[4].weight, 2.0);
    EXPECT_DOUBLE_EQ(entries[5].weight, 3.0);
    EXPECT_DOUBLE_EQ(entries[6].weight, 1.0);
    ASSERT_EQ(list.Classes().size(), 2u);

    CKeywordList again = ParseList(list.ToText());
    ASSERT_EQ(again.Entries().size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(again.Entries()[i].sWord, entries[i].sWord);
        EXPECT_EQ(again.Entries()[i].sClass, entries[i].sClass);
        EXPECT_DOUBLE_EQ(again.Entries()[i].weight, entries[i].weight);
    }
}

TEST(KeywordList, BadLinesAreNamedAndChangeNothing)
{
    const char* const kBad[] = {"ok\n@class\n", "@class a(b) 1\n", "@class c -2\n", "word\tmany\n",
                                "x$y-->z\n", "a-->b##c\n", "-->right\n", "@class d 1e999\n"};
    for (const char* sText : kBad) {
        CKeywordList list;
        std::string sError;
        EXPECT_FALSE(list.Parse(sText, "user.txt", sError)) << sText;
        EXPECT_EQ(sError.rfind("user.txt:", 0), 0u) << sError;
        EXPECT_TRUE(list.Entries().empty());
    }
    CKeywordList list;
    std::string sError;
    EXPECT_FALSE(list.Parse("a\nb\n@class x y\n", "f", sError));
    EXPECT_EQ(sError.rfind("f:3: ", 0), 0u) << sError;
}

TEST(KeywordList, PinyinInitialsOfFirstLevelCharacters)
{
    EXPECT_EQ(PinyinInitials("绝密"), "jm");
    EXPECT_EQ(PinyinInitials("中华人民共和国"), "zhrmghg");
    EXPECT_EQ(PinyinInitials("安装"), "az");
    EXPECT_EQ(PinyinInitials("X光机"), "xgj");
    EXPECT_EQ(PinyinInitials("abc"), "");      // no Chinese character
    EXPECT_EQ(PinyinInitials("最佳！"), "");   // a mark has no initial
    EXPECT_EQ(PinyinInitials("乂"), "");       // second level: no pinyin order
    CKeywordList list = ParseList("@class 涉密 5\n绝密\nXYZ\n既使-->即使\n");
    EXPECT_EQ(list.AddPinyinInitials(), 1);
    EXPECT_EQ(list.Entries().back().sWord, "jm");
    EXPECT_EQ(list.Entries().back().sClass, "涉密");
}

TEST(KeywordDict, AnswersInTheLayoutTheScanReads)
{
    CKeywordDict dict(ParseList(kList));
    EXPECT_EQ(dict.ErrorWordCount(), 3u);
    EXPECT_EQ(dict.GuardCount(), 1u);
    EXPECT_EQ(dict.KeywordCount(), 3u);
    std::string sText = "既使下雨也要按装，既使如此。";
    std::string sAnswer = dict.Scan(sText, 3, true);
    EXPECT_EQ(sAnswer, "(Check 错别字)即使-->既使##安装-->按装##即使-->既使$");
    std::vector<WordPair> vecItems;
    ASSERT_EQ(ParseKeyScanAnswer(sAnswer, vecItems), 1);
    ASSERT_EQ(vecItems.size(), 3u);
    EXPECT_EQ(vecItems[1], WordPair("安装", "按装"));
    EXPECT_EQ(dict.Scan("这里没有错字。", 3, true), "");
    EXPECT_EQ(dict.Scan("", 3, true), "");
}

TEST(KeywordDict, GuardedPhrasesAndLatinRunsAreNotReported)
{
    CKeywordDict dict(ParseList(kList));
    EXPECT_EQ(dict.Scan("这样既使得成本降低。", 1, true), "");
    EXPECT_EQ(dict.Scan("这样既使得成本降低，既使如此", 1, true), "(Check 错别字)即使-->既使$");
    EXPECT_EQ(dict.Scan("xabcx abcd", 1, true), "");
    // Written as found (case folds), and never reported when already right.
    EXPECT_EQ(dict.Scan("用 Abc 做", 1, true), "(Check 错别字)ABC-->Abc$");
    EXPECT_EQ(dict.Scan("用 ABC 做", 1, true), "");
}

TEST(KeywordDict, ClassesCountWeightsAfterTheErrorWords)
{
    CKeywordDict dict(ParseList(kList));
    std::string sText = "咱们的最佳产品是国家级最佳，既使";
    EXPECT_EQ(dict.Scan(sText, 2, true), "(Check 广告 7)最佳##国家级$(Check 口语 1)咱们$");
    EXPECT_EQ(dict.Scan(sText, 3, true), "(Check 错别字)即使-->既使$(Check 广告 7)最佳##国家级$(Check 口语 1)咱们$");
    std::vector<WordPair> vecItems;
    // Without wrongly written words the scan finds no items to report.
    ASSERT_EQ(ParseKeyScanAnswer(dict.Scan("最佳", 3, true), vecItems), 1);
    EXPECT_TRUE(vecItems.empty());
}

TEST(KeywordDict, GbkTextGetsGbkAnswers)
{
    CKeywordDict dict(ParseList(kList));
    std::string sGbk;
    ASSERT_TRUE(Utf8ToGbk("请按装软件", sGbk));
    std::string sExpected;
    ASSERT_TRUE(Utf8ToGbk("(Check 错别字)安装-->按装$", sExpected));
    EXPECT_EQ(dict.Scan(sGbk, 1, false), sExpected);
}

TEST(KeywordDict, InvalidUtf8NeverJoinsCharacters)
{
    CKeywordDict dict(ParseList(kList));
    std::string sBroken = std::string("既") + "\xFF" + "使" + "\xE6\x8C" + "按装";
    EXPECT_EQ(dict.Scan(sBroken, 3, true), "(Check 错别字)安装-->按装$");
    EXPECT_EQ(dict.Scan(std::string("\x80\x80\xC0", 3), 3, true), "");
}

TEST(KeywordDict, LaterEntriesWin)
{
    CKeywordDict dict(ParseList(std::string(kList) + "按装-->按装\n最佳-->最好\n"));
    EXPECT_EQ(dict.Scan("按装最佳", 3, true), "(Check 错别字)最好-->最佳$");
}

}  // namespace
