// Segmentation and scanning with the dictionary: forward maximum matching,
// Latin and number runs kept whole, which scan hits are kept in each mode.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "Global/Globals.h"
#include "support/DictTestUtil.h"
#include "support/SwitchGuard.h"
#include "Utility/EncodingConverter.h"
#include "Utility/PDAT.h"
#include "support/TempDir.h"

namespace {

class PDATScanTest : public ::testing::Test {
protected:
    CSwitchGuard m_quiet {g_bLog, false};

    static void Build(CPDAT& dict, const std::vector<std::string>& vecWords) { BuildDict(dict, vecWords); }

    // (start, length) of every hit.
    static std::vector<std::pair<int, int>> Scan(const CPDAT& dict, const std::string& sText, int nMode)
    {
        std::vector<_stTermPosition> vecHits;
        dict.MMScanPosition(sText.c_str(), vecHits, nMode);
        std::vector<std::pair<int, int>> vecOut;
        for (const _stTermPosition& hit : vecHits) {
            vecOut.push_back({hit.iStartPos, hit.nWordLen});
            EXPECT_EQ(dict.Find(sText.substr(static_cast<size_t>(hit.iStartPos), static_cast<size_t>(hit.nWordLen))),
                      hit.nHandle);
            EXPECT_EQ(hit.weight, 0.0);
        }
        return vecOut;
    }
};

TEST_F(PDATScanTest, ForwardMaximumMatchingKeepsLatinAndNumberRunsWhole)
{
    CPDAT dict;
    Build(dict, {Gbk("中国"), Gbk("人民"), Gbk("中国人"), Gbk("共和国")});
    std::string sText = Gbk("中国人民共和国abc123,x-y 2024年\n") + "ok";
    std::string sExpected = Gbk("中国人|民|共和国|abc123|,|x|-|y| |2024|年|\n|") + "ok|";
    EXPECT_EQ(dict.MMSegment(sText.c_str(), 0, "|"), sExpected);

    // No match longer than four bytes: the three-character words fall apart.
    EXPECT_EQ(dict.MMSegment(Gbk("中国人民共和国").c_str(), 4, " "), Gbk("中国 人民 共 和 国 "));

    std::vector<int> vecIds;
    std::string sOut;
    EXPECT_EQ(dict.MMSegment(Gbk("中国人民x").c_str(), vecIds, sOut, false, 0, "/"), 1);
    EXPECT_EQ(vecIds, (std::vector<int>{2}));
    EXPECT_EQ(dict.MMSegment(Gbk("中国人民x").c_str(), vecIds, sOut, true, 0, "/"), 3);
    EXPECT_EQ(vecIds, (std::vector<int>{2, -1, -1}));
    EXPECT_EQ(sOut, Gbk("中国人/民/x/"));
    // A long separator never overruns anything.
    std::string sLongSep(40, '#');
    EXPECT_EQ(dict.MMSegment("a", 0, sLongSep.c_str()), "a" + sLongSep);
    EXPECT_STREQ(dict.MMSegment("", 0, "|"), "");
}

TEST_F(PDATScanTest, ScanModesTreatLatinRunsDifferently)
{
    CPDAT dict;
    Build(dict, {"ab", "12", Gbk("中国"), "e-mail"});
    std::string sText = "xaby ab 123 12 " + Gbk("中国") + " e-mail";
    using Hits = std::vector<std::pair<int, int>>;
    // Mode 0: no hit inside "xaby" or "123".
    EXPECT_EQ(Scan(dict, sText, 0), (Hits{{5, 2}, {12, 2}, {15, 4}, {20, 6}}));
    // Mode 2 keeps every longest match.
    EXPECT_EQ(Scan(dict, sText, 2), (Hits{{1, 2}, {5, 2}, {8, 2}, {12, 2}, {15, 4}, {20, 6}}));
    // Mode 1 matches only Chinese characters, letters and digits.
    EXPECT_EQ(Scan(dict, sText, 1), (Hits{{5, 2}, {12, 2}, {15, 4}}));
}

TEST_F(PDATScanTest, OverlappingHitsInModeOne)
{
    CPDAT dict;
    Build(dict, {Gbk("中国"), Gbk("国人"), Gbk("人民")});
    using Hits = std::vector<std::pair<int, int>>;
    std::string sText = Gbk("中国人民");
    EXPECT_EQ(Scan(dict, sText, 1), (Hits{{0, 4}, {2, 4}, {4, 4}}));
    EXPECT_EQ(Scan(dict, sText, 0), (Hits{{0, 4}, {4, 4}}));
}

// The second byte of a GBK character may be an ASCII letter (81 61 is one);
// it is not part of a Latin run.
TEST_F(PDATScanTest, SecondByteOfAChineseCharacterIsNoLatinLetter)
{
    const std::string sChar = "\x81\x61";
    CPDAT dict;
    Build(dict, {"ab", sChar});
    using Hits = std::vector<std::pair<int, int>>;
    EXPECT_EQ(Scan(dict, sChar + "ab", 0), (Hits{{0, 2}, {2, 2}}));
    EXPECT_EQ(Scan(dict, sChar + "b", 0), (Hits{{0, 2}}));
    EXPECT_EQ(Scan(dict, "a" + sChar, 0), (Hits{{1, 2}}));
}

TEST_F(PDATScanTest, ScanTextListsTheWordsFound)
{
    CPDAT dict;
    Build(dict, {"new york", "city"});
    bool bSpans = false;
    EXPECT_STREQ(dict.MMScan("the new  york city", &bSpans), "new  york\t0\ncity\t1\n");
    EXPECT_TRUE(bSpans);
    EXPECT_STREQ(dict.MMScan("cityscape", &bSpans), "");
    EXPECT_FALSE(bSpans);
}

TEST_F(PDATScanTest, FileSegmentWritesOneLinePerLine)
{
    CTempDir dir;
    CPDAT dict;
    Build(dict, {Gbk("中国"), Gbk("人民")});
    ASSERT_TRUE(WriteTestFile(dir.File("in.txt"), Gbk("中国人民\r\nabc") + "\n"));
    EXPECT_GT(dict.FileSegment(dir.File("in.txt").c_str(), dir.File("out.txt").c_str()), 0.0);
    EXPECT_EQ(ReadTestFile(dir.File("out.txt")), Gbk("中国\t人民\t\nabc\t\n"));
    EXPECT_EQ(dict.FileSegment(dir.File("missing.txt").c_str(), dir.File("out2.txt").c_str()), 0.0);
    EXPECT_NE(g_sLastErrorMessage.find("missing.txt"), std::string::npos);
}

// A built dictionary is shared read-only: its const lookups keep no state.
TEST_F(PDATScanTest, ConstLookupsRunOnSeveralThreads)
{
    CPDAT dict;
    Build(dict, {Gbk("中国"), Gbk("人民"), "ab", "new york"});
    const std::string sText = Gbk("中国人民 ab new  york 中国") + "xab";
    std::vector<_stTermPosition> vecExpected;
    dict.MMScanPosition(sText.c_str(), vecExpected, 0);
    std::vector<int> vecFailures(4, 0);
    std::vector<std::thread> vecThreads;
    for (size_t t = 0; t < vecFailures.size(); ++t)
        vecThreads.emplace_back([&, t] {
            for (int i = 0; i < 300; ++i) {
                std::vector<_stTermPosition> vecHits;
                dict.MMScanPosition(sText.c_str(), vecHits, 0);
                std::vector<int> vecIds;
                std::string sOut;
                dict.MMSegment(sText.c_str(), vecIds, sOut, true, 0, "|");
                vecFailures[t] += vecHits.size() != vecExpected.size() || dict.Find("new york") != 3 ||
                                  dict.Find(Gbk("人民")) != 1 || vecIds.empty();
            }
        });
    for (std::thread& thread : vecThreads)
        thread.join();
    EXPECT_EQ(vecFailures, std::vector<int>(4, 0));
}

}  // namespace
