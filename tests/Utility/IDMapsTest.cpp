// Identifier maps: grouping of pairs, related ids, the ".map" file with its
// corrupt cases, the text imports and the readable export.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Global/Globals.h"
#include "Utility/IDMaps.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

namespace {

class IDMapsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dict.AddWordInit();
        for (const char* sWord : {"computer", "pc", "machine", "phone", "mobile phone", "cell"})
            m_dict.AddWord(sWord);
        m_dict.AddWordComplete();
        m_words.Import({"computer", "pc", "machine", "phone", "mobile phone", "cell"}, &m_dict);
    }
    CSwitchGuard m_quiet {g_bLog, false};

    static std::vector<int> Group(const CIDMaps& maps, int nId)
    {
        int nCount = -1;
        const int32_t* pIds = maps.GetMaps(nId, &nCount);
        if (!pIds) {
            EXPECT_EQ(nCount, 0);
            return {};
        }
        return std::vector<int>(pIds, pIds + nCount);
    }

    CTempDir m_dir;
    CPDAT m_dict;
    CWordList m_words;
};

TEST_F(IDMapsTest, PairsAreSortedGroupedAndDeduplicated)
{
    CIDMaps maps;
    maps.MapInit();
    maps.MapAdd(5, 7);
    maps.MapAdd(5, 7);
    maps.MapAdd(5, 3);
    maps.MapAdd(2, 9);
    maps.MapAdd(-1, 4);  // ignored
    maps.MapAdd(1, -2);  // ignored
    maps.MapAdd(1, -1);  // an unknown target is kept
    maps.MapComplete();
    EXPECT_EQ(maps.GetSize(), 5);
    EXPECT_EQ(maps.GetBound(), 6);
    EXPECT_EQ(Group(maps, 5), (std::vector<int>{3, 7}));
    EXPECT_EQ(maps.GetMapID(5), 3);
    EXPECT_EQ(Group(maps, 2), (std::vector<int>{9}));
    EXPECT_EQ(Group(maps, 1), (std::vector<int>{-1}));
    EXPECT_TRUE(Group(maps, 0).empty());
    EXPECT_TRUE(Group(maps, 6).empty());
    EXPECT_TRUE(Group(maps, -1).empty());
    EXPECT_EQ(maps.GetMapID(0), -1);
    EXPECT_EQ(maps.GetMapID(99), -1);
    EXPECT_EQ(maps.GetMaps(3, nullptr), nullptr);
}

TEST_F(IDMapsTest, RelatedIdsFollowASingleMappingToItsGroup)
{
    CIDMaps maps;
    maps.MapInit();
    for (auto pair : std::vector<std::pair<int, int>>{{1, 2}, {2, 1}, {2, 3}, {2, 4}, {5, 6}, {5, 7}, {8, 9}, {9, 8}})
        maps.MapAdd(pair.first, pair.second);
    maps.MapComplete();
    std::vector<int> vecIds {42};
    EXPECT_EQ(maps.GetSimMaps(1, vecIds), 3);
    EXPECT_EQ(vecIds, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(maps.GetSimMaps(5, vecIds), 2);
    EXPECT_EQ(vecIds, (std::vector<int>{6, 7}));
    EXPECT_EQ(maps.GetSimMaps(8, vecIds), 1);
    EXPECT_EQ(vecIds, (std::vector<int>{9}));
    EXPECT_EQ(maps.GetSimMaps(30, vecIds), 0);
    EXPECT_TRUE(vecIds.empty());
}

TEST_F(IDMapsTest, SaveLoadRoundTripAndLayout)
{
    CIDMaps maps;
    maps.MapInit();
    maps.MapAdd(0, 4);
    maps.MapAdd(0, 4);
    maps.MapAdd(2, 1);
    maps.MapComplete();
    std::string sPath = m_dir.File("x.map");
    ASSERT_EQ(maps.Save(sPath.c_str()), 1);
    std::string sData = ReadTestFile(sPath);
    std::vector<int32_t> vecInts(sData.size() / 4);
    std::memcpy(vecInts.data(), sData.data(), sData.size());
    // size, bound, 3 data slots (the duplicate's slot stays -1), 3 ranges
    EXPECT_EQ(vecInts, (std::vector<int32_t>{3, 3, 4, 1, -1, 0, 0, -1, -1, 1, 1}));
    CIDMaps loaded;
    ASSERT_EQ(loaded.Load(sPath.c_str()), 1);
    for (int nId = -1; nId <= 3; ++nId)
        EXPECT_EQ(Group(loaded, nId), Group(maps, nId));
    EXPECT_EQ(loaded.SaveToBuffer(), sData);
}

TEST_F(IDMapsTest, CorruptFilesAreRefused)
{
    CIDMaps maps;
    maps.MapInit();
    maps.MapAdd(0, 1);
    maps.MapAdd(1, 0);
    maps.MapComplete();
    const std::string sGood = maps.SaveToBuffer();  // 2, 2, [1, 0], (0,0), (1,1)
    auto WithInt = [&](size_t nIndex, int32_t nValue) {
        std::string s = sGood;
        std::memcpy(&s[nIndex * 4], &nValue, 4);
        return s;
    };
    std::vector<std::string> vecBad = {
        "", sGood.substr(0, 6), sGood.substr(0, sGood.size() - 4), sGood + "1234",
        WithInt(0, -1), WithInt(1, -1), WithInt(0, 0x40000000),
        WithInt(2, -3),  // a mapped id below -1
        WithInt(5, 2),   // a range ending past the data
        WithInt(4, 1),   // start after end
        WithInt(6, -1),  // only one end of a range empty
    };
    for (size_t i = 0; i < vecBad.size(); ++i) {
        std::string sPath = m_dir.File("bad" + std::to_string(i) + ".map");
        ASSERT_TRUE(WriteTestFile(sPath, vecBad[i]));
        CIDMaps loaded;
        EXPECT_EQ(loaded.Load(sPath.c_str()), 0) << "case " << i;
        EXPECT_NE(g_sLastErrorMessage.find("corrupt map"), std::string::npos);
    }
    CIDMaps missing;
    EXPECT_EQ(missing.Load(m_dir.File("none.map").c_str()), 0);
    EXPECT_EQ(g_sLastErrorMessage, "Fail read file " + m_dir.File("none.map"));
}

TEST_F(IDMapsTest, TabImportMapsTheLastWordToTheOthers)
{
    std::string sList = m_dir.File("syn.txt");
    // The last line has no line end: its last character must survive.
    ASSERT_TRUE(WriteTestFile(sList, "pc\tmachine\tcomputer\r\n"
                                     "unknown\tphone\n"
                                     "cell\tcell\n"
                                     "lonely\n"
                                     "pc\tnobody knows\n"
                                     "computer\tpc"));
    CIDMaps maps;
    EXPECT_EQ(maps.Import(sList.c_str(), &m_dict), 4);
    EXPECT_EQ(Group(maps, 0), (std::vector<int>{1, 2}));  // computer -> pc, machine
    EXPECT_EQ(Group(maps, 3), (std::vector<int>{-1}));    // phone -> unknown
    EXPECT_EQ(Group(maps, 1), (std::vector<int>{0}));     // pc -> computer
    EXPECT_TRUE(Group(maps, 5).empty());                  // cell -> cell refused
    EXPECT_EQ(maps.Import(m_dir.File("missing.txt").c_str(), &m_dict), 0);
}

TEST_F(IDMapsTest, SimilarWordsMapBothWays)
{
    CIDMaps maps;
    EXPECT_EQ(maps.ImportSimFromText("computer, pc machine\n[mobile phone] cell,nobody\nphone\n\n", &m_dict), 8);
    EXPECT_EQ(Group(maps, 0), (std::vector<int>{1, 2}));
    EXPECT_EQ(Group(maps, 2), (std::vector<int>{0, 1}));
    EXPECT_EQ(Group(maps, 4), (std::vector<int>{5}));
    EXPECT_EQ(Group(maps, 5), (std::vector<int>{4}));
    EXPECT_TRUE(Group(maps, 3).empty());
}

TEST_F(IDMapsTest, OneToManyImportEchoesTheCleanedLines)
{
    CPDAT targets;
    targets.AddWordInit();
    targets.AddWord("desktop");
    targets.AddWord("mobile phone");
    targets.AddWordComplete();
    std::string sList = m_dir.File("one2mul.txt");
    ASSERT_TRUE(WriteTestFile(sList, "computer desktop,mobile_phone\nnobody desktop\n\nphone [mobile phone] x\n"));
    CIDMaps maps;
    EXPECT_EQ(maps.Import(sList.c_str(), &m_dict, &targets), 3);
    EXPECT_EQ(Group(maps, 0), (std::vector<int>{0, 1}));
    EXPECT_EQ(Group(maps, 3), (std::vector<int>{1}));
    EXPECT_EQ(ReadTestFile(sList + "_map_export.txt"),
              "computer\tdesktop\t[mobile phone]\nnobody\tdesktop\n\nphone\t[mobile phone]\tx\n");
    CIDMaps single;
    // With one dictionary for both sides, "mobile phone" is a known target.
    EXPECT_EQ(single.ImportOne2Mul(sList.c_str(), &m_dict), 2);
    EXPECT_EQ(Group(single, 0), (std::vector<int>{4}));
}

TEST_F(IDMapsTest, ExportWritesTheReadableDump)
{
    CIDMaps maps;
    maps.MapInit();
    maps.MapAdd(0, 1);
    maps.MapAdd(0, 2);
    maps.MapAdd(2, 0);
    maps.MapComplete();
    EXPECT_EQ(maps.ExportToText(&m_words, &m_words, true),
              "Data Size=3,Index Size=3\n"
              "Handle=0(computer),Start=0\tEnd=1 count=2\n data=1(pc) 2(machine) \n"
              "Handle=2(machine),Start=2\tEnd=2 count=1\n data=0(computer) \n");
    std::string sAll = maps.ExportToText(nullptr, nullptr, false);
    EXPECT_NE(sAll.find("Handle=1(),Start=-1\tEnd=-1 count=0\n data=\n"), std::string::npos);
    std::vector<std::pair<std::string, std::string>> vecPairs;
    maps.Export(vecPairs, &m_words, &m_words);
    EXPECT_EQ(vecPairs, (std::vector<std::pair<std::string, std::string>>{
                            {"computer", "pc"}, {"computer", "machine"}, {"machine", "computer"}}));
    EXPECT_EQ(maps.Export(m_dir.File("dump.txt").c_str(), &m_words, &m_words, false), 1);
    EXPECT_EQ(ReadTestFile(m_dir.File("dump.txt")), maps.ExportToText(&m_words, &m_words, false));
}

}  // namespace
