// The ".pdat" file and the text imports and exports of a dictionary: the
// byte layout, save and load giving the same dictionary, corrupt files
// refused, and the word-list line conventions.
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
#include "support/TempDir.h"

namespace {

const size_t kStatesAt = 262152;

void PutInt(std::string& sData, size_t nAt, int32_t nValue)
{
    std::memcpy(&sData[nAt], &nValue, 4);
}

int32_t GetInt(const std::string& sData, size_t nAt)
{
    int32_t nValue = 0;
    std::memcpy(&nValue, sData.data() + nAt, 4);
    return nValue;
}

class PDATFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dict.AddWordInit();
        for (const char* sWord : {"alpha", "alphabet", "new york", "b"})
            m_dict.AddWord(sWord);
        m_dict.AddWord(Gbk("中华人民共和国").c_str());
        m_dict.AddWord(Gbk("中华").c_str());
        m_dict.AddWordComplete();
    }
    CSwitchGuard m_quiet {g_bLog, false};

    void ExpectSameLookups(const CPDAT& dict) const
    {
        for (const std::string& sWord : {std::string("alpha"), std::string("ALPHABET"), std::string("new   york"),
                                         std::string("b"), Gbk("中华人民共和国"), Gbk("中华"), std::string("zz")})
            EXPECT_EQ(dict.Find(sWord), m_dict.Find(sWord)) << sWord;
        int nHandle = -1;
        bool bSpans = false;
        EXPECT_EQ(dict.GetMaxWord("alphabets", &nHandle, &bSpans), 8);
        EXPECT_EQ(nHandle, 1);
    }

    CTempDir m_dir;
    CPDAT m_dict;
};

TEST_F(PDATFileTest, FileLayoutAndRoundTrip)
{
    std::string sPath = m_dir.File("words.pdat");
    ASSERT_EQ(m_dict.Save(sPath.c_str()), 1);
    std::string sData = ReadTestFile(sPath);
    int32_t nLowerBound = GetInt(sData, 262144);
    EXPECT_EQ(nLowerBound, m_dict.GetLowerBound());
    EXPECT_EQ(GetInt(sData, 262148), 6);
    EXPECT_EQ(sData.size(), kStatesAt + 12 * static_cast<size_t>(nLowerBound + 1) + 4);
    EXPECT_EQ(GetInt(sData, sData.size() - 4), PDAT_MODE_GBK);

    CPDAT loaded(PDAT_MODE_BYTE);  // the stored mode wins
    ASSERT_EQ(loaded.Load(sPath.c_str()), 1);
    EXPECT_EQ(loaded.GetMode(), PDAT_MODE_GBK);
    EXPECT_EQ(loaded.GetItemCount(), 6u);
    ExpectSameLookups(loaded);
    EXPECT_EQ(loaded.SaveToBuffer(), sData);
    EXPECT_EQ(loaded.ExportToText(), m_dict.ExportToText());
}

TEST_F(PDATFileTest, CharacterTableStartsTheFile)
{
    std::string sData = m_dict.SaveToBuffer();
    // 'a' occurs most often over the words, so it has transition code 0.
    EXPECT_EQ(GetInt(sData, 'a' * 4), 0);
    EXPECT_EQ(GetInt(sData, 'z' * 4), -1);
    EXPECT_GE(GetInt(sData, 0xD6D0 * 4), 0);  // the GBK code of the first character
}

TEST_F(PDATFileTest, CorruptOrShortFilesAreRefusedAndChangeNothing)
{
    const std::string sGood = m_dict.SaveToBuffer();
    std::vector<std::string> vecBad;
    for (size_t nCut : {size_t(0), size_t(4), size_t(262143), kStatesAt, sGood.size() - 4, sGood.size() - 1})
        vecBad.push_back(sGood.substr(0, nCut));
    vecBad.push_back(sGood + "x");
    std::string s = sGood;
    PutInt(s, 'q' * 4, -7);  // a transition code below -1
    vecBad.push_back(s);
    s = sGood;
    PutInt(s, 262144, 0x7FFFFFF0);  // a bound far past the file
    vecBad.push_back(s);
    s = sGood;
    PutInt(s, 262144, -1);
    vecBad.push_back(s);
    s = sGood;
    PutInt(s, 262148, 1000000);  // more words than states
    vecBad.push_back(s);
    s = sGood;
    PutInt(s, kStatesAt + 4, 1 << 30);  // a parent outside the array
    vecBad.push_back(s);
    s = sGood;
    PutInt(s, kStatesAt, INT32_MIN);  // a base no state can have
    vecBad.push_back(s);
    s = sGood;
    PutInt(s, kStatesAt + 8, -5);  // a word id below -1
    vecBad.push_back(s);
    s = sGood;
    PutInt(s, s.size() - 4, 3);  // an unknown mode
    vecBad.push_back(s);

    for (size_t i = 0; i < vecBad.size(); ++i) {
        std::string sPath = m_dir.File("bad" + std::to_string(i) + ".pdat");
        ASSERT_TRUE(WriteTestFile(sPath, vecBad[i]));
        CPDAT dict;
        dict.AddWordInit();
        dict.AddWord("kept");
        dict.AddWordComplete();
        EXPECT_EQ(dict.Load(sPath.c_str()), 0) << "case " << i;
        EXPECT_EQ(g_sLastErrorMessage, "Fail read file " + sPath + ": truncated or corrupt dictionary");
        EXPECT_EQ(dict.Find("kept"), 0) << "case " << i;
    }
}

// A folder under a dictionary's name is no file to read: refused, not read
// as an endless or empty stream.
TEST_F(PDATFileTest, FolderInPlaceOfTheFileIsRefused)
{
    std::string sPath = m_dir.File("folder.pdat");
    ASSERT_TRUE(WriteTestFile(sPath + "/inner", "x"));
    CPDAT dict;
    EXPECT_EQ(dict.Load(sPath.c_str()), 0);
    EXPECT_EQ(g_sLastErrorMessage, "Fail read file " + sPath);
}

TEST_F(PDATFileTest, MissingFilesAndUtf8Names)
{
    CPDAT dict;
    std::string sMissing = m_dir.File("none.pdat");
    EXPECT_EQ(dict.Load(sMissing.c_str()), 0);
    EXPECT_EQ(g_sLastErrorMessage, "Fail read file " + sMissing);
    EXPECT_EQ(dict.Save(m_dir.File("no/such/folder/x.pdat").c_str()), 0);

    // A file stored under the GBK spelling is found by its UTF-8 name.
    std::string sUtf8 = m_dir.File("词典.pdat");
    ASSERT_EQ(m_dict.Save(m_dir.File(Gbk("词典.pdat")).c_str()), 1);
    ASSERT_EQ(dict.Load(sUtf8.c_str()), 1);
    ExpectSameLookups(dict);
}

TEST_F(PDATFileTest, UnfinishedAndEmptyDictionariesSaveLoadably)
{
    CPDAT building;
    building.AddWordInit();
    building.AddWord("never completed");
    std::string sPath = m_dir.File("unfinished.pdat");
    ASSERT_EQ(building.Save(sPath.c_str()), 1);
    CPDAT loaded;
    EXPECT_EQ(loaded.Load(sPath.c_str()), 1);
    EXPECT_EQ(loaded.Find("never completed"), -1);

    CPDAT empty;
    empty.AddWordComplete();
    ASSERT_EQ(empty.Save(sPath.c_str()), 1);
    EXPECT_EQ(loaded.Load(sPath.c_str()), 1);
    EXPECT_TRUE(loaded.IsEmpty());
}

TEST_F(PDATFileTest, ImportReadsBracketsUnderscoresAndSkipsDuplicates)
{
    std::string sList = m_dir.File("list.txt");
    ASSERT_TRUE(WriteTestFile(sList, "\xEF\xBB\xBF" "apple\n"
                                     "[hello world] ignored words\r\n"
                                     "hello_world\n"
                                     "   \n"
                                     "banana extra tokens\n"
                                     "[unclosed  bracket\n"
                                     "apple\n"
                                     "\tcherry"));
    CPDAT dict;
    EXPECT_EQ(dict.Import(sList.c_str()), 5);
    EXPECT_EQ(dict.Find("apple"), 0);
    EXPECT_EQ(dict.Find("hello world"), 1);
    EXPECT_EQ(dict.Find("banana"), 2);
    EXPECT_EQ(dict.Find("unclosed bracket"), 3);
    EXPECT_EQ(dict.Find("cherry"), 4);
    EXPECT_EQ(dict.Find("extra"), -1);
    EXPECT_EQ(ReadTestFile(sList + "_export.txt"),
              "apple\n[hello world]\n[hello world]\nbanana\n[unclosed  bracket]\napple\ncherry\n");

    CPDAT filter;
    filter.AddWordInit();
    filter.AddWord("banana");
    filter.AddWordComplete();
    CPDAT filtered;
    EXPECT_EQ(filtered.Import(sList.c_str(), &filter), 4);
    EXPECT_EQ(filtered.Find("banana"), -1);
    EXPECT_EQ(filtered.Find("unclosed bracket"), 2);

    EXPECT_EQ(dict.Import(m_dir.File("missing.txt").c_str()), 0);
}

TEST_F(PDATFileTest, ExportListsEveryWordSoItImportsAgain)
{
    std::string sOut = m_dir.File("export.txt");
    ASSERT_EQ(m_dict.Export(sOut.c_str()), 1);
    std::string sText = ReadTestFile(sOut);
    EXPECT_NE(sText.find("[new york]\n"), std::string::npos);
    EXPECT_NE(sText.find(Gbk("中华人民共和国") + "\n"), std::string::npos);
    CPDAT again;
    EXPECT_EQ(again.Import(sOut.c_str()), 6);
    for (const char* sWord : {"alpha", "alphabet", "new york", "b"})
        EXPECT_GE(again.Find(sWord), 0) << sWord;
    EXPECT_GE(again.Find(Gbk("中华")), 0);
    EXPECT_EQ(m_dict.Export(m_dir.File("no/such/x.txt").c_str()), 0);
}

}  // namespace
