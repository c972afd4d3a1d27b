// The revision exports on a document checked through the C interface.
#include <gtest/gtest.h>

#include <string>

#include "support/LibraryFixture.h"
#include "support/TempDir.h"
#include "veskar.h"

using ReviseExports = CLibraryTest;

TEST_F(ReviseExports, CheckedDocumentsAreRevisedPlainAndTracked)
{
    std::string sDoc = WriteSampleDocx("论文 样例.docx");
    std::string sOriginal = ReadTestFile(sDoc);
    ASSERT_NE(VESKAR_CheckReportF(sDoc.c_str(), "", "", 6, 0, false, 0), nullptr) << VESKAR_GetLastErrorMsg();
    std::string sResult = m_docs.File("论文 样例_Check.xml");

    const char* sPlain = VESKAR_ReviseReportF(sResult.c_str(), 0);
    ASSERT_NE(sPlain, nullptr);
    std::string sPlainPath = sPlain;
    EXPECT_EQ(sPlainPath.rfind(m_docs.File("论文 样例_Revised_"), 0), 0u) << sPlainPath;
    EXPECT_EQ(ReadTestFile(sPlainPath).compare(0, 2, "PK"), 0);

    const char* sTracked = VESKAR_ReviseReportTracked(sResult.c_str(), 0);
    ASSERT_NE(sTracked, nullptr);
    EXPECT_NE(std::string(sTracked), sPlainPath);
    EXPECT_EQ(ReadTestFile(sTracked).compare(0, 2, "PK"), 0);
    EXPECT_EQ(ReadTestFile(sDoc), sOriginal);

    // The JSON result names the same document.
    ASSERT_NE(VESKAR_CheckReportF(sDoc.c_str(), "", "", 6, 1, false, 0), nullptr);
    const char* sFromJson = VESKAR_ReviseReportF(m_docs.File("论文 样例_Check.json").c_str(), 0);
    ASSERT_NE(sFromJson, nullptr);
    EXPECT_NE(std::string(sFromJson), "") << VESKAR_GetLastErrorMsg();
}

TEST_F(ReviseExports, FailuresSayWhy)
{
    const char* sNone = VESKAR_ReviseReportF(m_docs.File("无此文件_Check.xml").c_str(), 0);
    ASSERT_NE(sNone, nullptr);
    EXPECT_STREQ(sNone, "");
    EXPECT_NE(std::string(VESKAR_GetLastErrorMsg()).find("Failed Read file"), std::string::npos);
    EXPECT_EQ(VESKAR_ReviseReportF("x.xml", 99), nullptr);
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "VESKAR not init!");
    EXPECT_EQ(VESKAR_ReviseReportTracked(nullptr, 99), nullptr);
}
