// The dictionary exports: single ".pdat" files (no started library), and
// the imports that regenerate the shared dictionaries of a started one.
#include <gtest/gtest.h>

#include <json/json.h>
#include <sstream>
#include <string>

#include "Global/Globals.h"
#include "API/SharedServices.h"
#include "Utility/FileUtility.h"
#include "Utility/QueryExpand.h"
#include "support/LibraryFixture.h"
#include "support/SwitchGuard.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

Json::Value ParseJson(const char* sText)
{
    Json::Value root;
    std::istringstream in(sText ? sText : "");
    EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &root, nullptr)) << (sText ? sText : "null");
    return root;
}

class DictFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteTestFile(m_dir.File("list.txt"), "中国\n中华人民共和国\nABC\n[New York]\n既使\n中国\n"));
        ASSERT_EQ(VESKAR_DictBuild(m_dir.File("list.txt").c_str(), Dict().c_str(), 0, 0), 5)
            << VESKAR_GetLastErrorMsg();
    }
    std::string Dict() const { return m_dir.File("d.pdat"); }

    CSwitchGuard m_quiet {g_bLog, false};
    CTempDir m_dir;
};

TEST_F(DictFiles, BuildFindScanExport)
{
    EXPECT_EQ(VESKAR_DictFind(Dict().c_str(), "中国", 0), 0);
    EXPECT_EQ(VESKAR_DictFind(Dict().c_str(), "abc", 0), 2);
    EXPECT_EQ(VESKAR_DictFind(Dict().c_str(), "new \t york", 0), 3);
    EXPECT_EQ(VESKAR_DictFind(Dict().c_str(), "日本", 0), -1);
    // The dictionary holds GB18030: raw UTF-8 bytes do not find its words.
    EXPECT_EQ(VESKAR_DictFind(Dict().c_str(), "中国", 1), -1);

    std::string sText = "他说中华人民共和国和中国，既使abcd也有ABC";
    Json::Value hits = ParseJson(VESKAR_DictScan(Dict().c_str(), sText.c_str(), 0, 0));
    ASSERT_EQ(hits.size(), 4u);
    for (const Json::Value& hit : hits)
        EXPECT_EQ(sText.substr(hit["offset"].asUInt(), hit["length"].asUInt()), hit["word"].asString());
    EXPECT_EQ(hits[0]["word"].asString(), "中华人民共和国");
    EXPECT_EQ(hits[0]["id"].asInt(), 1);
    EXPECT_EQ(hits[3]["word"].asString(), "ABC");

    std::string sOut = m_dir.File("out.txt");
    EXPECT_EQ(VESKAR_DictExport(Dict().c_str(), sOut.c_str(), 0), 5);
    std::string sExported = ReadTestFile(sOut);
    for (const char* sWord : {"中国\n", "中华人民共和国\n", "abc\n", "[new york]\n", "既使\n"})
        EXPECT_NE(sExported.find(sWord), std::string::npos) << sWord;
}

TEST_F(DictFiles, RawBytesAndModes)
{
    std::string sRaw = m_dir.File("raw.pdat");
    ASSERT_EQ(VESKAR_DictBuild(m_dir.File("list.txt").c_str(), sRaw.c_str(), 1, 1), 5);
    EXPECT_EQ(VESKAR_DictFind(sRaw.c_str(), "中国", 1), 0);
    EXPECT_EQ(VESKAR_DictFind(sRaw.c_str(), "abc", 1), -1);  // single bytes: no folding
    Json::Value hits = ParseJson(VESKAR_DictScan(sRaw.c_str(), "xx中国", 2, 1));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0]["offset"].asInt(), 2);
}

TEST_F(DictFiles, FailuresAreClear)
{
    EXPECT_EQ(VESKAR_DictFind(m_dir.File("none.pdat").c_str(), "a", 0), -2);
    EXPECT_EQ(VESKAR_DictFind(nullptr, "a", 0), -2);
    EXPECT_EQ(VESKAR_DictFind(Dict().c_str(), nullptr, 0), -1);
    EXPECT_EQ(VESKAR_DictScan(Dict().c_str(), "x", 3, 0), nullptr);
    EXPECT_EQ(VESKAR_DictScan(Dict().c_str(), "x", 0, 2), nullptr);
    EXPECT_EQ(VESKAR_DictBuild(m_dir.File("none.txt").c_str(), m_dir.File("x.pdat").c_str(), 0, 0), -1);
    EXPECT_EQ(VESKAR_DictBuild(m_dir.File("list.txt").c_str(), m_dir.File("x.pdat").c_str(), 3, 0), -1);
    ASSERT_TRUE(WriteTestFile(m_dir.File("empty.txt"), "\n  \n"));
    EXPECT_EQ(VESKAR_DictBuild(m_dir.File("empty.txt").c_str(), m_dir.File("x.pdat").c_str(), 0, 0), 0);
    EXPECT_FALSE(FileExists(m_dir.File("x.pdat")));
    EXPECT_EQ(VESKAR_DictExport(Dict().c_str(), m_dir.File("no/such/out.txt").c_str(), 0), -1);
    // A cut dictionary is refused, never read past its end.
    std::string sData = ReadTestFile(Dict());
    ASSERT_TRUE(WriteTestFile(m_dir.File("cut.pdat"), sData.substr(0, sData.size() - 7)));
    EXPECT_EQ(VESKAR_DictFind(m_dir.File("cut.pdat").c_str(), "中国", 0), -2);
    EXPECT_NE(std::string(VESKAR_GetLastErrorMsg()).find("corrupt"), std::string::npos);
}

using DictImports = CLibraryTest;

TEST_F(DictImports, SimilarAndSpellingDictionariesAreRegenerated)
{
    ASSERT_TRUE(g_pSimDict && g_pSimDict->IsLoaded());
    EXPECT_EQ(g_pSimDict->GetSimilarWords("中国").at(0), "中华人民共和国");
    std::string sSim = m_docs.File("sim.txt");
    ASSERT_TRUE(WriteTestFile(sSim, "深度学习\tDL\t深层学习\n"));
    EXPECT_EQ(VESKAR_ImportSimDict(sSim.c_str()), 1);
    EXPECT_EQ(g_pSimDict->GetSimilarWords("深层学习"), (std::vector<std::string> {"深度学习", "DL"}));
    EXPECT_TRUE(g_pSimDict->GetSimilarWords("中国").empty());

    std::string sSpell = m_docs.File("spell.txt");
    ASSERT_TRUE(WriteTestFile(sSpell, "鲁棒\t稳健\n"));
    EXPECT_EQ(VESKAR_ImportSpellErrorDict(sSpell.c_str()), 1);
    EXPECT_EQ(g_pSpellCheckDict->GetRightForm("鲁棒"), "稳健");
    EXPECT_EQ(ReadTestFile(m_data.DataFile("SpellError_userdict.txt")), "鲁棒 srclist\n");

    // Both survive a restart: the files were written into the data folder.
    VESKAR_Exit();
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    EXPECT_EQ(g_pSpellCheckDict->GetRightForm("鲁棒"), "稳健");
    EXPECT_EQ(g_pSimDict->GetSimilarWords("DL").size(), 2u);

    EXPECT_EQ(VESKAR_ImportSimDict(m_docs.File("missing.txt").c_str()), -1);
    EXPECT_EQ(g_pSimDict->GetSimilarWords("DL").size(), 2u);
}

TEST_F(DictImports, FieldDictionaryNeedsTheKeywordScanner)
{
    std::string sField = m_docs.File("field.txt");
    ASSERT_TRUE(WriteTestFile(sField, "@class 项目 1\n天眼工程\n"));
    EXPECT_EQ(VESKAR_ImportFieldDict(sField.c_str(), false, false), -1);  // FilterCheck is off
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "KeyScanner not init!");
    VESKAR_Exit();
    ASSERT_TRUE(WriteTestFile(m_data.DataFile("RUX-Configure.json"), "{\"FilterCheck\": \"on\"}"));
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    EXPECT_EQ(VESKAR_ImportFieldDict(sField.c_str(), true, false), 2);
    EXPECT_NE(ReadTestFile(m_data.DataFile("KeyScanner/UserDict.txt")).find("tygc"), std::string::npos);
}

TEST(DictImportsBeforeStart, FailWithoutCrashing)
{
    EXPECT_EQ(VESKAR_ImportSimDict("x.txt"), 0);
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "g_pSimDict not init!");
    EXPECT_EQ(VESKAR_ImportSpellErrorDict(nullptr), 0);
}

}  // namespace
