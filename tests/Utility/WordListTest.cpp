// Word lists: id -> text beside a dictionary, their ".wordlist" file (plain
// and scrambled), imports that agree with the dictionary's ids, and corrupt
// files refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "support/DictTestUtil.h"
#include "support/SwitchGuard.h"
#include "Utility/EncodingConverter.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"
#include "support/TempDir.h"

namespace {

class WordListTest : public ::testing::Test {
protected:
    CSwitchGuard m_quiet {g_bLog, false};
    CTempDir m_dir;
};

TEST_F(WordListTest, OutOfRangeIdsReadAsEmpty)
{
    CWordList list;
    list.AddWordInit();
    EXPECT_EQ(list.AddWord("zero", 0), 0);
    EXPECT_EQ(list.AddWord("two", 2), 2);
    EXPECT_EQ(list.AddWord("lost", -1), -1);
    list.AddWordComplete();
    EXPECT_EQ(list.GetItemCount(), 2u);
    EXPECT_EQ(list.GetBound(), 3);
    EXPECT_STREQ(list.GetWord(-1), "");
    EXPECT_STREQ(list.GetWord(3), "");
    EXPECT_STREQ(list.GetWord(2), "two");
    EXPECT_STREQ(list.GetWord(1), "zero");  // an id without text reads offset 0
    EXPECT_EQ(list.AddWord("late", 5), -1);  // complete lists are read-only
    CWordList fresh;
    EXPECT_STREQ(fresh.GetWord(0), "");
}

TEST_F(WordListTest, LaterTextWinsForARepeatedId)
{
    CWordList list;
    list.AddWordInit();
    list.AddWord("old", 1);
    list.AddWord("first", 0);
    list.AddWord("new", 1);
    list.AddWordComplete();
    list.AddWordComplete();
    EXPECT_STREQ(list.GetWord(1), "new");
    EXPECT_STREQ(list.GetWord(0), "first");
    EXPECT_EQ(list.GetItemCount(), 3u);
}

TEST_F(WordListTest, ImportAgreesWithTheDictionaryForEveryId)
{
    std::string sList = m_dir.File("words.txt");
    // A line far longer than any line buffer reads as one entry in both imports.
    std::string sLong = std::string(1500, 'w') + " " + std::string(2000, 'v');
    std::string sText = "\xEF\xBB\xBF" + Gbk("中国") + "\n[red apple] x\nred_apple\n  \n" + Gbk("人民") +
                        " 12\nABC\n" + Gbk("中国") + "\n" + sLong + "\n";
    ASSERT_TRUE(WriteTestFile(sList, sText));
    CPDAT dict;
    ASSERT_EQ(dict.Import(sList.c_str()), 5);
    CWordList list;
    EXPECT_EQ(list.Import(sList.c_str(), &dict), 7);
    EXPECT_EQ(std::string(list.GetWord(4)), std::string(1500, 'w'));
    for (unsigned nId = 0; nId < dict.GetItemCount(); ++nId)
        EXPECT_EQ(dict.Find(list.GetWord(static_cast<int>(nId))), static_cast<int>(nId)) << nId;
    EXPECT_STREQ(list.GetWord(1), "red apple");
    EXPECT_STREQ(list.GetWord(3), "ABC");  // the text as listed, found through folding
    EXPECT_EQ(ReadTestFile(sList + "_wordlist_export.txt"), ReadTestFile(sList + "_export.txt"));

    // Entries the dictionary does not know are left out.
    CPDAT small;
    small.AddWordInit();
    small.AddWord("abc");
    small.AddWordComplete();
    CWordList partial;
    EXPECT_EQ(partial.Import(sList.c_str(), &small), 1);
    EXPECT_STREQ(partial.GetWord(0), "ABC");
    EXPECT_EQ(partial.Import(m_dir.File("missing.txt").c_str(), &small), 0);
}

TEST_F(WordListTest, ImportFromMemoryUsesTheDictionaryIds)
{
    CPDAT dict;
    dict.AddWordInit();
    dict.AddWord("one");
    dict.AddWord("two");
    dict.AddWordComplete();
    CWordList list(false, &dict);
    EXPECT_EQ(list.Import({"two", "\xEF\xBB\xBFone", "three"}, &dict), 2);
    EXPECT_STREQ(list.GetWord(0), "one");
    EXPECT_STREQ(list.GetWord(1), "two");
}

TEST_F(WordListTest, SaveLoadRoundTripPlainAndScrambled)
{
    for (bool bScrambled : {false, true}) {
        CWordList list(bScrambled);
        list.AddWordInit();
        list.AddWord("secret word", 0);
        list.AddWord(Gbk("机密").c_str(), 1);
        list.AddWord("", 3);
        list.AddWordComplete();
        std::string sPath = m_dir.File(bScrambled ? "s.wordlist" : "p.wordlist");
        ASSERT_EQ(list.Save(sPath.c_str()), 1);
        std::string sData = ReadTestFile(sPath);
        int32_t nHeader[2] = {0, 0};
        std::memcpy(nHeader, sData.data(), 8);
        EXPECT_EQ(nHeader[0], 3);
        EXPECT_EQ(nHeader[1], 4);
        EXPECT_EQ(sData.size(), 8 + 4 * 5 + 4 + std::string("secret word").size() + 1 + 5 + 1);
        EXPECT_EQ(sData.find("secret word") == std::string::npos, bScrambled);

        CWordList loaded(bScrambled);
        ASSERT_EQ(loaded.Load(sPath.c_str()), 1);
        for (int nId = -1; nId <= 4; ++nId)
            EXPECT_STREQ(loaded.GetWord(nId), list.GetWord(nId)) << nId;
        EXPECT_EQ(loaded.SaveToBuffer(), sData);
        EXPECT_EQ(loaded.GetItemCount(), 3u);
    }
    // Read without the flag, a scrambled list gives other text, never a crash.
    CWordList wrong(false);
    ASSERT_EQ(wrong.Load(m_dir.File("s.wordlist").c_str()), 1);
    EXPECT_STRNE(wrong.GetWord(0), "secret word");
}

TEST_F(WordListTest, CorruptFilesAreRefused)
{
    CWordList list;
    list.AddWordInit();
    list.AddWord("alpha", 0);
    list.AddWord("beta", 1);
    list.AddWordComplete();
    const std::string sGood = list.SaveToBuffer();
    auto WithInt = [&](size_t nAt, int32_t nValue) {
        std::string s = sGood;
        std::memcpy(&s[nAt], &nValue, 4);
        return s;
    };
    std::vector<std::string> vecBad = {
        "", sGood.substr(0, 7), sGood.substr(0, 12), sGood.substr(0, sGood.size() - 1), sGood + "!",
        WithInt(4, -1),          // negative bound
        WithInt(4, 0x7FFFFFFF),  // bound far past the file
        WithInt(12, 12),         // offset past the block
        WithInt(8, -2),          // negative offset
        WithInt(20, -1),         // negative block size
        WithInt(20, 1000),       // block size past the file
    };
    for (size_t i = 0; i < vecBad.size(); ++i) {
        std::string sPath = m_dir.File("bad" + std::to_string(i) + ".wordlist");
        ASSERT_TRUE(WriteTestFile(sPath, vecBad[i]));
        CWordList loaded;
        loaded.AddWordInit();
        loaded.AddWord("kept", 0);
        loaded.AddWordComplete();
        EXPECT_EQ(loaded.Load(sPath.c_str()), 0) << "case " << i;
        EXPECT_NE(g_sLastErrorMessage.find("corrupt word list"), std::string::npos);
        EXPECT_STREQ(loaded.GetWord(0), "kept");
    }
    CWordList missing;
    EXPECT_EQ(missing.Load(m_dir.File("none.wordlist").c_str()), 0);
    EXPECT_EQ(g_sLastErrorMessage, "Fail read file " + m_dir.File("none.wordlist"));
}

TEST_F(WordListTest, ExportLeavesOutFilteredChineseWords)
{
    CPDAT dict;
    dict.AddWordInit();
    for (const std::string& sWord : {Gbk("中国人"), std::string("abc"), Gbk("人"), Gbk("民族")})
        dict.AddWord(sWord.c_str());
    dict.AddWordComplete();
    CWordList list;
    list.Import({Gbk("中国人"), "abc", Gbk("人"), Gbk("民族")}, &dict);
    std::string sFilter = m_dir.File("filter.txt");
    // Only known Chinese words longer than two bytes are filtered.
    ASSERT_TRUE(WriteTestFile(sFilter, Gbk("中国人") + " 5\nabc\n" + Gbk("人") + "\n" + Gbk("未知词") + "\n"));
    std::string sOut = m_dir.File("out.txt");
    ASSERT_EQ(list.Export(sOut.c_str(), &dict, sFilter.c_str()), 1);
    EXPECT_EQ(ReadTestFile(sOut), "abc\n" + Gbk("人") + "\n" + Gbk("民族") + "\n");
    ASSERT_EQ(list.Export(sOut.c_str(), &dict), 1);
    EXPECT_EQ(ReadTestFile(sOut), Gbk("中国人") + "\nabc\n" + Gbk("人") + "\n" + Gbk("民族") + "\n");
    EXPECT_EQ(list.Export(m_dir.File("no/such/out.txt").c_str(), &dict), 0);
}

}  // namespace
