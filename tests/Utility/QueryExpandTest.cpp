// Similar-word and spelling-error dictionaries: the text format, both kinds
// of lookup, their three files, and the shipped sources.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Global/Globals.h"
#include "Utility/FileUtility.h"
#include "Utility/QueryExpand.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

namespace {

using Words = std::vector<std::string>;

const char* const kSimilar = "\xEF\xBB\xBF# standard names\n"
                             "中华人民共和国\t中国\t我国\n"
                             "\n"
                             "  世界卫生组织 \t 世卫组织\tWHO\t\n"
                             "孤零零\n"
                             "\t中国\n"
                             "北京大学\t北大\t北京大学\n";

const char* const kSpelling = "既使\t即使\n按装\t安装\n帐薄\t账簿\t账本\n即使\t即使\n";

class QueryExpandTest : public ::testing::Test {
protected:
    CSwitchGuard m_quiet {g_bLog, false};
    CTempDir m_dir;
};

TEST_F(QueryExpandTest, SimilarWordsRelateBothWays)
{
    CQueryExpand dict(m_dir.Path(), "expand");
    EXPECT_FALSE(dict.IsLoaded());
    EXPECT_EQ(dict.Kind(), CQueryExpand::QUERY_SIMILAR);
    std::string sSkipped;
    EXPECT_EQ(dict.ImportFromText(kSimilar, &sSkipped), 3);
    EXPECT_EQ(sSkipped, "Line 5: 孤零零\nLine 6: 中国\n");
    EXPECT_EQ(dict.GetSimilarWords("中华人民共和国"), (Words {"中国", "我国"}));
    EXPECT_EQ(dict.GetSimilarWords("我国"), (Words {"中华人民共和国", "中国"}));
    EXPECT_EQ(dict.GetSimilarWords("who"), (Words {"世界卫生组织", "世卫组织"}));
    EXPECT_EQ(dict.GetSimilarWords("北大"), (Words {"北京大学"}));
    EXPECT_EQ(dict.GetSimilarWords("北京大学"), (Words {"北大"}));
    EXPECT_TRUE(dict.GetSimilarWords("日本").empty());
    EXPECT_TRUE(dict.GetSimilarWords("").empty());
    EXPECT_EQ(dict.WordCount(), 8u);
}

TEST_F(QueryExpandTest, SpellingErrorsMapOneWay)
{
    CQueryExpand dict(m_dir.Path(), "SpellError");
    EXPECT_EQ(dict.Kind(), CQueryExpand::QUERY_SPELLERROR);
    EXPECT_EQ(dict.ImportFromText(kSpelling), 3);
    EXPECT_EQ(dict.GetRightForm("既使"), "即使");
    EXPECT_EQ(dict.GetRightForms("帐薄"), (Words {"账簿", "账本"}));
    EXPECT_TRUE(dict.GetRightForms("即使").empty());
    EXPECT_EQ(dict.GetRightForm("安装"), "");
    EXPECT_TRUE(dict.Contains("安装"));
    EXPECT_EQ(dict.UserDictText("srclist"), "既使 srclist\n按装 srclist\n帐薄 srclist\n");
}

TEST_F(QueryExpandTest, FilesRoundTripAndAreCheckedTogether)
{
    std::string sText = m_dir.File("spell.txt");
    ASSERT_TRUE(WriteFileAtomic(sText, kSpelling));
    {
        CQueryExpand dict(m_dir.Path(), "SpellError");
        EXPECT_EQ(dict.Import(sText.c_str()), 3);
    }
    CQueryExpand loaded(m_dir.Path(), "SpellError");
    ASSERT_TRUE(loaded.IsLoaded());
    EXPECT_EQ(loaded.GetRightForm("按装"), "安装");

    // A map from another dictionary names ids this one does not have.
    CQueryExpand other(m_dir.Path(), "expand");
    ASSERT_GT(other.ImportFromText(kSimilar), 0);
    std::string sPdat, sWords, sMap;
    ASSERT_TRUE(other.SaveToBuffers(sPdat, sWords, sMap));
    std::string sPdat2, sWords2, sMap2;
    ASSERT_TRUE(loaded.SaveToBuffers(sPdat2, sWords2, sMap2));
    // Strings that already hold another dictionary's files are replaced.
    std::string sPdat3 = sPdat2, sWords3 = sWords2, sMap3 = sMap2;
    ASSERT_TRUE(other.SaveToBuffers(sPdat3, sWords3, sMap3));
    EXPECT_EQ(sPdat3, sPdat);
    EXPECT_EQ(sWords3, sWords);
    EXPECT_EQ(sMap3, sMap);
    EXPECT_FALSE(loaded.LoadFromBuffers(sPdat2, sWords2, sMap));
    EXPECT_FALSE(loaded.IsLoaded());
    EXPECT_TRUE(loaded.GetRightForms("按装").empty());
    EXPECT_TRUE(loaded.LoadFromBuffers(sPdat2, sWords2, sMap2));

    // Short or corrupt files leave the dictionary empty, never crash.
    ASSERT_TRUE(WriteFileAtomic(m_dir.File("SpellError.wordlist"), sWords2.substr(0, sWords2.size() / 2)));
    CQueryExpand broken(m_dir.Path(), "SpellError");
    EXPECT_FALSE(broken.IsLoaded());
    EXPECT_EQ(broken.GetRightForm("按装"), "");
}

TEST_F(QueryExpandTest, FailedImportsKeepTheDictionary)
{
    CQueryExpand dict(m_dir.Path(), "SpellError");
    ASSERT_EQ(dict.ImportFromText(kSpelling), 3);
    EXPECT_EQ(dict.Import(m_dir.File("missing.txt").c_str()), -1);
    EXPECT_NE(g_sLastErrorMessage.find("Failed reading file"), std::string::npos);
    std::string sEmpty = m_dir.File("empty.txt");
    ASSERT_TRUE(WriteFileAtomic(sEmpty, "# nothing\n单独\n"));
    EXPECT_EQ(dict.Import(sEmpty.c_str()), 0);
    EXPECT_EQ(dict.GetRightForm("既使"), "即使");
    // A group of words that all read as empty is no entry either: it used to
    // count as imported and save files that would not load again.
    std::string sNul = m_dir.File("nul.txt");
    ASSERT_TRUE(WriteFileAtomic(sNul, std::string("\0甲\t\0乙\n", 10)));
    EXPECT_EQ(dict.Import(sNul.c_str()), 0);
    EXPECT_EQ(dict.GetRightForm("既使"), "即使");

    CQueryExpand unwritable(m_dir.File("no/such/folder"), "SpellError");
    std::string sText = m_dir.File("spell.txt");
    ASSERT_TRUE(WriteFileAtomic(sText, kSpelling));
    EXPECT_EQ(unwritable.Import(sText.c_str()), -1);
    EXPECT_FALSE(unwritable.IsLoaded());
}

TEST_F(QueryExpandTest, LookupsRunWhileImportsReplaceTheTables)
{
    CQueryExpand dict(m_dir.Path(), "SpellError");
    ASSERT_EQ(dict.ImportFromText(kSpelling), 3);
    std::atomic<bool> bWrong {false};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([&] {
            for (int i = 0; i < 2000; ++i)
                if (dict.GetRightForm("既使") != "即使")
                    bWrong = true;
        });
    }
    for (int i = 0; i < 30; ++i)
        dict.ImportFromText(i % 2 ? kSpelling : std::string(kSpelling) + "按排\t安排\n");
    for (auto& reader : readers)
        reader.join();
    EXPECT_FALSE(bWrong);
}

TEST_F(QueryExpandTest, ShippedSourcesBuildTheDataFolder)
{
    CQueryExpand similar(BuiltDataDir(), "expand");
    CQueryExpand spelling(BuiltDataDir(), "SpellError");
    ASSERT_TRUE(similar.IsLoaded());
    ASSERT_TRUE(spelling.IsLoaded());
    EXPECT_GE(similar.WordCount(), 500u);
    EXPECT_GE(spelling.WordCount(), 500u);
    Words vecChina = similar.GetSimilarWords("中国");
    ASSERT_FALSE(vecChina.empty());
    EXPECT_EQ(vecChina[0], "中华人民共和国");
    EXPECT_EQ(spelling.GetRightForm("既使"), "即使");
    EXPECT_EQ(spelling.GetRightForm("再接再励"), "再接再厉");
    std::string sUserDict = ReadTestFile(BuiltDataDir() + "/SpellError_userdict.txt");
    EXPECT_NE(sUserDict.find("按装 srclist\n"), std::string::npos);
    EXPECT_EQ(sUserDict.find("安装 srclist\n"), std::string::npos);
}

}  // namespace
