// The spelling pass's services (word id, pair frequency, English words),
// failures to start, and segmentation on several threads while user words
// change.
#include "SegmenterFixture.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "API/ExportGuard.h"
#include "veskar.h"

TEST_F(SegmenterTest, WordIdPairFrequencyAndEnglishWords)
{
    int nDe = PELNOR_GetWordID("的"), nQue = PELNOR_GetWordID("确");
    ASSERT_GE(nDe, 0);
    ASSERT_GE(nQue, 0);
    EXPECT_EQ(PELNOR_GetWordID("的确"), PELNOR_GetWordID("的确"));
    EXPECT_EQ(PELNOR_GetWordID("不是一个词语的东西"), -1);
    EXPECT_EQ(PELNOR_GetWordID(nullptr), -1);
    // 的确 is a common word, so the pair is known; 确的 is none.
    EXPECT_GE(PELNOR_GetPairFreq(nDe, nQue), 5);
    EXPECT_EQ(PELNOR_GetPairFreq(nQue, nDe), 0);
    EXPECT_EQ(PELNOR_GetPairFreq(-1, nDe), 0);
    EXPECT_EQ(PELNOR_GetPairFreq(nDe, 1 << 30), 0);
    EXPECT_EQ(PELNOR_IsEnglishWord("software"), 1);
    EXPECT_EQ(PELNOR_IsEnglishWord("Running"), 1);
    EXPECT_EQ(PELNOR_IsEnglishWord("PARIS"), 1);
    EXPECT_EQ(PELNOR_IsEnglishWord("softwre"), 0);
    EXPECT_EQ(PELNOR_IsEnglishWord(""), 0);
    EXPECT_EQ(PELNOR_IsEnglishWord("中国"), 0);
}

TEST_F(SegmenterTest, ExportedSegmentFollowsTheSegmenter)
{
    const char* sOut = VESKAR_Segment("中国人民", true);
    ASSERT_NE(sOut, nullptr);
    EXPECT_STREQ(sOut, "中国/ns 人民/n");
    EXPECT_STREQ(VESKAR_Segment("中国人民", false), "中国 人民");
    EXPECT_EQ(VESKAR_Segment(nullptr, true), nullptr);
    PELNOR_Exit();
    EXPECT_EQ(VESKAR_Segment("中国", true), nullptr);
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "VESKAR not init!");
}

TEST(SegmenterStart, StoppedSegmenterRefusesEveryCall)
{
    PELNOR_Exit();
    EXPECT_EQ(PELNOR_ParagraphProcess("中国", 1), nullptr);
    EXPECT_EQ(PELNOR_AddUserWord("中国", "n"), 0);
    EXPECT_EQ(PELNOR_ImportUserDict("/nonexistent", 0), -1);
    EXPECT_EQ(PELNOR_GetWordID("中国"), -1);
    EXPECT_STREQ(PELNOR_GetLastErrorMsg(), "The segmenter is not started");
}

TEST(SegmenterStart, MissingOrCorruptDictionariesFailCleanly)
{
    CTempDir init;
    ASSERT_TRUE(WriteTestFile(init.Path() + "/Data/Configure.xml", "<Configure><Log>off</Log></Configure>"));
    EXPECT_EQ(PELNOR_Init(init.Path().c_str(), 1), 0);
    EXPECT_NE(std::string(PELNOR_GetLastErrorMsg()).find("Segmenter"), std::string::npos);
    std::string sDir = init.Path() + "/Data/Segmenter";
    ASSERT_TRUE(CopyTree(BuiltDataDir() + "/Segmenter", sDir));
    std::string sAttr = ReadTestFile(sDir + "/CoreDict.attr");
    ASSERT_TRUE(WriteTestFile(sDir + "/CoreDict.attr", sAttr.substr(0, sAttr.size() - 7)));
    EXPECT_EQ(PELNOR_Init(init.Path().c_str(), 1), 0);
    EXPECT_NE(std::string(PELNOR_GetLastErrorMsg()).find("CoreDict.attr"), std::string::npos);
    ASSERT_TRUE(WriteTestFile(sDir + "/CoreDict.attr", sAttr));
    ASSERT_TRUE(WriteTestFile(sDir + "/English.pdat", "short"));
    EXPECT_EQ(PELNOR_Init(init.Path().c_str(), 1), 0);
    EXPECT_EQ(PELNOR_ParagraphProcess("中国", 1), nullptr);
}

TEST_F(SegmenterTest, ConcurrentSegmentationWhileUserWordsAreAdded)
{
    const std::string sText = "韦斯卡检查报告中的第3章，2023年5月12日完成了GB50016-2014的核对。";
    std::atomic<bool> bStop{false};
    std::atomic<int> nBad{0};
    std::vector<std::thread> vecThreads;
    for (int t = 0; t < 4; ++t) {
        vecThreads.emplace_back([&]() {
            while (!bStop.load()) {
                const char* sOut = PELNOR_ParagraphProcess(sText.c_str(), 0);
                if (!sOut || WithoutBlanks(sOut) != WithoutBlanks(sText))
                    ++nBad;
            }
        });
    }
    for (int i = 0; i < 200; ++i)
        PELNOR_AddUserWord(("检查词" + std::to_string(i)).c_str(), "RUX");
    PELNOR_AddUserWord("斯卡检查报", "RUX");
    bStop = true;
    for (std::thread& thread : vecThreads)
        thread.join();
    EXPECT_EQ(nBad.load(), 0);
    EXPECT_TRUE(HasTokensInOrder(Seg(sText), {"斯卡检查报/RUX", "2023年5月12日/t"}));
}
