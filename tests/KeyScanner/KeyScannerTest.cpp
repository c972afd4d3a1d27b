// The KS_* interface on a copy of the built data folder: start and stop,
// the shipped lists, user lists, and scans on several threads.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Checker/ErrorWordScan.h"
#include "Global/Globals.h"
#include "KeyScanner/KeyScanner.h"
#include "Utility/FileUtility.h"
#include "Utility/WordListText.h"
#include "support/TempDataDir.h"

namespace {

class KeyScannerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(KS_Init(m_data.Path().c_str(), 1), 1) << KS_GetLastErrorMsg(); }
    void TearDown() override { KS_Exit(); }
    std::string Scan(const std::string& sText, int nMode = 3) { return KS_ScanDetail(sText.c_str(), nMode, 0); }

    CTempDataDir m_data;
    CTempDir m_files;
};

TEST_F(KeyScannerTest, ShippedListFindsEveryWrongWord)
{
    std::string sList = ReadTestFile(m_data.DataFile("KeyScanner/ErrorWord.txt"));
    size_t nChecked = 0;
    for (const std::string& sLine : SplitTextLines(sList)) {
        size_t nArrow = sLine.find("-->");
        if (sLine.empty() || sLine[0] == '#' || nArrow == std::string::npos)
            continue;
        std::string sWrong = sLine.substr(0, nArrow);
        std::string sRight = sLine.substr(nArrow + 3);
        std::string sAnswer = Scan("文中" + sWrong + "。", 1);
        if (sWrong == sRight)
            EXPECT_EQ(sAnswer, "") << sWrong;
        else
            EXPECT_EQ(sAnswer, "(Check 错别字)" + sRight + "-->" + sWrong + "$");
        ++nChecked;
    }
    EXPECT_GE(nChecked, 300u);
    EXPECT_EQ(Scan("既使下雨，我们也要再接再励，不能迫不急待。", 1),
              "(Check 错别字)即使-->既使##再接再厉-->再接再励##迫不及待-->迫不急待$");
    EXPECT_EQ(Scan("这样既使得成本降低，也以德报怨。", 1), "");
    EXPECT_EQ(Scan("报告属于绝密文件，效果国际领先。", 2),
              "(Check 涉密标识 5)绝密文件$(Check 绝对化表述 1.5)国际领先$");
}

TEST_F(KeyScannerTest, NothingWithoutAStartOrWithAnotherHandle)
{
    EXPECT_STREQ(KS_ScanDetail("按装", 3, 1), "");
    EXPECT_STREQ(KS_ScanDetail(nullptr, 3, 0), "");
    KS_Exit();
    EXPECT_STREQ(KS_ScanDetail("按装", 3, 0), "");
    EXPECT_EQ(KS_ImportUserDict("x", false, false, 0), -1);
    EXPECT_STREQ(KS_GetLastErrorMsg(), "KeyScanner not init!");
    CTempDir empty;
    EXPECT_EQ(KS_Init(empty.Path().c_str(), 1), 0);
    EXPECT_NE(std::string(KS_GetLastErrorMsg()).find("No data folder"), std::string::npos);
    ASSERT_TRUE(WriteTestFile(empty.File("Data/Configure.xml"), "<Configure/>"));
    EXPECT_EQ(KS_Init(empty.Path().c_str(), 1), 0);
    EXPECT_NE(std::string(KS_GetLastErrorMsg()).find("ErrorWord.txt"), std::string::npos);
}

TEST_F(KeyScannerTest, UserListsAddReplaceAndPersist)
{
    std::string sFirst = m_files.File("first.txt");
    ASSERT_TRUE(WriteTestFile(sFirst, "按装-->按装\n@class 项目 2\n天眼工程\n"));
    EXPECT_EQ(KS_ImportUserDict(sFirst.c_str(), true, false, 0), 3);  // with "tygc"
    EXPECT_EQ(Scan("请按装天眼工程（tygc）", 3), "(Check 项目 4)天眼工程##tygc$");
    std::string sSecond = m_files.File("second.txt");
    ASSERT_TRUE(WriteTestFile(sSecond, "鲁棒-->稳健\n"));
    EXPECT_EQ(KS_ImportUserDict(sSecond.c_str(), false, false, 0), 1);
    EXPECT_EQ(Scan("鲁棒的天眼工程"), "(Check 错别字)稳健-->鲁棒$(Check 项目 2)天眼工程$");

    // The user list comes back after a restart.
    KS_Exit();
    ASSERT_EQ(KS_Init(m_data.Path().c_str(), 1), 1);
    EXPECT_EQ(Scan("鲁棒的天眼工程"), "(Check 错别字)稳健-->鲁棒$(Check 项目 2)天眼工程$");

    // Overwriting drops the earlier user entries; the shipped lists stay.
    EXPECT_EQ(KS_ImportUserDict(sSecond.c_str(), false, true, 0), 1);
    EXPECT_EQ(Scan("按装天眼工程"), "(Check 错别字)安装-->按装$");
}

TEST_F(KeyScannerTest, BadUserListsChangeNothing)
{
    std::string sUserFile = m_data.DataFile("KeyScanner/UserDict.txt");
    EXPECT_EQ(KS_ImportUserDict(m_files.File("missing.txt").c_str(), false, false, 0), -1);
    std::string sBad = m_files.File("bad.txt");
    ASSERT_TRUE(WriteTestFile(sBad, "鲁棒-->稳健\n@class 坏(类) 1\n"));
    EXPECT_EQ(KS_ImportUserDict(sBad.c_str(), false, false, 0), -1);
    EXPECT_NE(std::string(KS_GetLastErrorMsg()).find("bad.txt:2:"), std::string::npos);
    EXPECT_EQ(KS_ImportUserDict(sBad.c_str(), false, false, 7), -1);
    EXPECT_FALSE(FileExists(sUserFile));
    EXPECT_EQ(Scan("鲁棒"), "");
}

TEST_F(KeyScannerTest, ScansOnManyThreadsWhileImporting)
{
    std::string sUser = m_files.File("user.txt");
    ASSERT_TRUE(WriteTestFile(sUser, "@class 项目 1\n天眼工程\n"));
    const std::string sExpected = "(Check 错别字)即使-->既使##安装-->按装$";
    std::atomic<int> nWrong {0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                std::string sAnswer = KS_ScanDetail("既使按装也可以", 1, 0);
                std::vector<WordPair> vecItems;
                if (sAnswer != sExpected || ParseKeyScanAnswer(sAnswer, vecItems) != 1 || vecItems.size() != 2)
                    ++nWrong;
            }
        });
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(KS_ImportUserDict(sUser.c_str(), false, i % 2 == 0, 0), 1);
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(nWrong, 0);
}

}  // namespace
