// The error catalogue in its binary and text forms, its JSON export and
// lookups, and the font-size name table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Global/Globals.h"
#include "Utility/ID2Message.h"
#include "Utility/Num2FontSize.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

namespace {

const char* const kHeader = "ErrId\tErrorMsg\tEachScore\tMaxScore\n";

class CatalogueTest : public ::testing::Test {
protected:
    CSwitchGuard m_quiet {g_bLog, false};
    CTempDir m_dir;
};

TEST_F(CatalogueTest, BinaryRoundTripKeepsMessagesAndScores)
{
    CID2Message catalogue;
    ASSERT_EQ(catalogue.ImportFromBuffer(std::string(kHeader) +
                                         "1.3.10\t编号错误\t0.5\t4\n1.3.5\t顺序\t1.25\t2.5\n1000\t规则\n"),
              3);
    std::string sFile = m_dir.File("ErrorMessage.dat");
    ASSERT_EQ(catalogue.Save(sFile.c_str()), 3);
    EXPECT_EQ(ReadTestFile(sFile).find("编号错误"), std::string::npos);  // stored scrambled

    CID2Message loaded;
    ASSERT_EQ(loaded.Load(sFile.c_str()), 1);
    EXPECT_STREQ(loaded.GetText("1.3.10"), "编号错误");
    float fMax = -1;
    EXPECT_FLOAT_EQ(loaded.GetScore("1.3.5", fMax), 1.25f);
    EXPECT_FLOAT_EQ(fMax, 2.5f);
    EXPECT_FLOAT_EQ(loaded.GetScore("1000", fMax), 0);
    EXPECT_FLOAT_EQ(fMax, 0);
    EXPECT_EQ(loaded.SaveToBuffer(), catalogue.SaveToBuffer());
    // codes sort as plain strings
    EXPECT_LT(loaded.Export2Json().find("1.3.10"), loaded.Export2Json().find("1.3.5"));
}

TEST_F(CatalogueTest, TextRoundTripAndLaterLinesWin)
{
    CID2Message catalogue;
    ASSERT_EQ(catalogue.ImportFromBuffer(std::string(kHeader) + "2.1\t旧\t1\t2\r\n\n   \n2.1\t新\t3\t4\r\n"), 1);
    EXPECT_STREQ(catalogue.GetText("2.1"), "新");
    std::string sFile = m_dir.File("catalogue.txt");
    ASSERT_EQ(catalogue.Export(sFile.c_str()), 1);
    EXPECT_EQ(ReadTestFile(sFile), std::string(kHeader) + "2.1\t新\t3.00\t4.00\n");
    CID2Message again;
    ASSERT_EQ(again.Import(sFile.c_str()), 1);
    EXPECT_EQ(again.SaveToBuffer(), catalogue.SaveToBuffer());
}

TEST_F(CatalogueTest, ImportReplacesMessagesButKeepsScores)
{
    CID2Message catalogue;
    catalogue.ImportFromBuffer(std::string(kHeader) + "1.1\tA\t1\t2\n1.2\tB\t3\t4\n");
    ASSERT_EQ(catalogue.ImportFromBuffer("only a header\n"), 0);
    EXPECT_EQ(catalogue.Export2Json(), "[]");
    EXPECT_STREQ(catalogue.GetText("1.1"), "Wrong text id 1.1");
    EXPECT_EQ(g_sLastErrorMessage, "Wrong text id 1.1");
    float fMax = 0;
    EXPECT_FLOAT_EQ(catalogue.GetScore("1.2", fMax), 3);  // score without a message survives
    EXPECT_FLOAT_EQ(fMax, 4);
    EXPECT_EQ(catalogue.ScoreCount(), 2u);
    std::string sFile = m_dir.File("out.txt");
    EXPECT_EQ(catalogue.Export(sFile.c_str()), 0);
    EXPECT_EQ(ReadTestFile(sFile), kHeader);
}

TEST_F(CatalogueTest, JsonExportListsEveryMessage)
{
    CID2Message catalogue;
    catalogue.ImportFromBuffer(std::string(kHeader) + "99.3\t标点\"错误\"\t0.1\t3\n1.5.2\t替换\n");
    EXPECT_EQ(catalogue.Export2Json(),
                 R"([{"each_score":0.0,"id":"1.5.2","max_score":0.0,"msg":"替换"},)"
                 R"({"each_score":0.1,"id":"99.3","max_score":3.0,"msg":"标点\"错误\""}])");
}

TEST_F(CatalogueTest, CorruptOrShortBinaryFilesFailWithoutChangingTheCatalogue)
{
    CID2Message good;
    good.ImportFromBuffer(std::string(kHeader) + "1.1\t甲\t1\t2\n1.2\t乙\t3\t4\n");
    std::string sBytes = good.SaveToBuffer();
    for (size_t nCut = 0; nCut < sBytes.size(); ++nCut) {
        CID2Message loaded;
        EXPECT_FALSE(loaded.LoadFromBuffer(sBytes.substr(0, nCut))) << "cut at " << nCut;
        EXPECT_EQ(loaded.MessageCount(), 0u);
    }
    std::string sHuge = sBytes;
    uint64_t nBig = UINT64_C(1) << 62;
    sHuge.replace(8, 8, reinterpret_cast<const char*>(&nBig), 8);  // first code's length
    CID2Message loaded;
    EXPECT_FALSE(loaded.LoadFromBuffer(sHuge));
    EXPECT_EQ(loaded.Load(m_dir.File("none.dat").c_str()), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Fail read file " + m_dir.File("none.dat"));
}

TEST_F(CatalogueTest, UnwritableFilesReportFailure)
{
    CID2Message catalogue;
    std::string sPath = m_dir.File("missing/folder/x.dat");
    EXPECT_EQ(catalogue.Save(sPath.c_str()), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Fail write file " + sPath);
    EXPECT_EQ(catalogue.Export(sPath.c_str()), -1);
}

TEST_F(CatalogueTest, FontSizesBothWays)
{
    CNum2FontSize sizes;
    ASSERT_EQ(sizes.ImportFromBuffer("Name\tNumber\n小四 24\n五号\t21\r\n坏行\n初号 84\n小四 25\n"), 3);
    EXPECT_EQ(sizes.GetFontSizeNum("小四"), 25);
    EXPECT_STREQ(sizes.GetFontSizeName(21), "五号");
    EXPECT_EQ(sizes.GetFontSizeNum("不存在"), 0);
    EXPECT_STREQ(sizes.GetFontSizeName(99), "99");
    EXPECT_EQ(sizes.ImportFromBuffer("header\n"), 0);
    EXPECT_EQ(sizes.Import(m_dir.File("none").c_str()), -1);
}

TEST_F(CatalogueTest, ShippedDataCoversEveryRaisedCode)
{
    CID2Message catalogue;
    ASSERT_EQ(catalogue.Load((BuiltDataDir() + "/Error/ErrorMessage.dat").c_str()), 1);
    const char* const kCodes[] = {"1.1.1", "1.1.4", "1.2.4", "1.3.1", "1.3.15", "1.5.5", "1.6", "2.12", "3.1",
                                  "11.1",  "12.1",  "14.9",  "99.7",  "100.2",  "1000"};
    for (const char* sCode : kCodes)
        EXPECT_EQ(std::string(catalogue.GetText(sCode)).rfind("Wrong text id", 0), std::string::npos) << sCode;
    CNum2FontSize sizes;
    EXPECT_EQ(sizes.Import((BuiltDataDir() + "/Font/FontSize.dat").c_str()), 16);
    EXPECT_EQ(sizes.GetFontSizeNum("小四"), 24);
    EXPECT_EQ(sizes.GetFontSizeNum("五号"), 21);
}

}  // namespace
