// The calling thread's output folder through the C interface: checks,
// parses and batches write there and nowhere beside the documents; other
// threads keep their own setting. Also the text for reading.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "Utility/FileUtility.h"
#include "support/DocxBuilder.h"
#include "support/LibraryFixture.h"
#include "veskar.h"

namespace fs = std::filesystem;

namespace {

size_t EntriesIn(const std::string& sFolder)
{
    return static_cast<size_t>(std::distance(fs::directory_iterator(sFolder), fs::directory_iterator()));
}

// Puts the calling thread's output folder back to "beside the document".
struct OutputDirReset {
    ~OutputDirReset() { VESKAR_SetOutputDir(nullptr); }
};

using OutputDir = CLibraryTest;

}  // namespace

TEST_F(OutputDir, ACheckWritesOnlyIntoTheOutputFolder)
{
    OutputDirReset reset;
    std::string sDoc = WriteSampleDocx("paper.docx");
    CTempDir out;
    ASSERT_EQ(VESKAR_SetOutputDir(out.File("results").c_str()), 1);
    const char* sResult = VESKAR_CheckReportF(sDoc.c_str(), "", "", 6, 0, false, 0);
    ASSERT_NE(sResult, nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_EQ(std::string(sResult), out.File("results/paper_Check.xml"));
    EXPECT_TRUE(FileExists(out.File("results/paper.xml")));
    EXPECT_TRUE(IsDirectory(out.File("results/paper_unzip")));
    EXPECT_EQ(EntriesIn(m_docs.Path()), 1u);

    // Back to the default: beside the document.
    ASSERT_EQ(VESKAR_SetOutputDir(""), 1);
    sResult = VESKAR_CheckReportF(sDoc.c_str(), "", "", 6, 0, false, 0);
    ASSERT_NE(sResult, nullptr);
    EXPECT_EQ(std::string(sResult), m_docs.File("paper_Check.xml"));
}

TEST_F(OutputDir, TheSettingBelongsToTheCallingThread)
{
    OutputDirReset reset;
    std::string sDoc = WriteSampleDocx("paper.docx");
    CTempDir out;
    ASSERT_EQ(VESKAR_SetOutputDir(out.Path().c_str()), 1);
    std::string sOther;
    std::thread other([&] {
        const char* sSummary = VESKAR_ParseFile(sDoc.c_str(), 0, 0);
        sOther = sSummary ? sSummary : VESKAR_GetLastErrorMsg();
    });
    other.join();
    EXPECT_NE(sOther.find(m_docs.File("paper.xml")), std::string::npos) << sOther;
    const char* sMine = VESKAR_ParseFile(sDoc.c_str(), 0, 0);
    ASSERT_NE(sMine, nullptr);
    EXPECT_NE(std::string(sMine).find(out.File("paper.xml")), std::string::npos) << sMine;
    // A folder that cannot be made is refused and the setting is kept.
    ASSERT_TRUE(WriteTestFile(out.File("plainfile"), "x"));
    EXPECT_EQ(VESKAR_SetOutputDir(out.File("plainfile/sub").c_str()), 0);
    EXPECT_NE(std::string(VESKAR_GetLastErrorMsg()).find("output folder"), std::string::npos);
}

TEST_F(OutputDir, ABatchMirrorsItsTreeSoEqualNamesStayApart)
{
    OutputDirReset reset;
    WriteSampleDocx("a.docx");
    ASSERT_TRUE(WriteTestFile(m_docs.File("sub/placeholder.png"), "not a document"));
    WriteSampleDocx("sub/a.docx");
    ASSERT_TRUE(WriteTestFile(m_docs.File("a.txt"), "第一章 绪论\n正文。\n"));
    CTempDir out;
    ASSERT_EQ(VESKAR_SetOutputDir(out.Path().c_str()), 1);
    size_t nFiles = VESKAR_CheckReportDirEx(m_docs.Path().c_str(), "", 6, 0, 2, nullptr, nullptr);
    EXPECT_EQ(nFiles, 4u);  // every file listed, the picture too
    EXPECT_TRUE(FileExists(out.File("a_Check.xml")));
    EXPECT_TRUE(FileExists(out.File("sub/a_Check.xml")));
    // a.txt shares its base name with a.docx: it keeps its extension.
    EXPECT_TRUE(FileExists(out.File("a.txt_Check.xml")));
    EXPECT_EQ(EntriesIn(m_docs.Path()), 3u);  // a.docx, a.txt, sub
}

TEST_F(OutputDir, ABatchOnAFileOrAMissingFolderSaysSo)
{
    std::string sDoc = WriteSampleDocx("paper.docx");
    EXPECT_EQ(VESKAR_CheckReportDirEx(sDoc.c_str(), "", 6, 0, 1, nullptr, nullptr), 0u);
    EXPECT_NE(std::string(VESKAR_GetLastErrorMsg()).find("not a folder"), std::string::npos);
    EXPECT_EQ(VESKAR_CheckReportDirEx(m_docs.File("absent").c_str(), "", 6, 0, 1, nullptr, nullptr), 0u);
    EXPECT_NE(std::string(VESKAR_GetLastErrorMsg()).find("Cannot open folder"), std::string::npos);
}

TEST_F(OutputDir, TextsAreReadWithoutWritingBesideTheDocument)
{
    std::string sDoc = WriteSampleDocx("paper.docx");
    ASSERT_TRUE(WriteTestFile(m_docs.File("note.txt"), "第一行\r\n第二行\r\n"));
    const char* sPlain = VESKAR_GetPlainText(sDoc.c_str());
    ASSERT_NE(sPlain, nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_EQ(std::string(sPlain), "第1章 绪论\n本文研究道路裂缝检测方法。\n1.1 研究背景\n道路养护需要及时发现裂缝。\n"
                                   "方法\t精度\n本文\t0.93\n");
    const char* sRaw = VESKAR_GetFileText(m_docs.File("note.txt").c_str());
    ASSERT_NE(sRaw, nullptr);
    EXPECT_EQ(std::string(sRaw), "第一行\r\n第二行\r\n");
    EXPECT_EQ(EntriesIn(m_docs.Path()), 2u);
    EXPECT_EQ(VESKAR_GetPlainText(m_docs.File("absent.docx").c_str()), nullptr);
}

TEST_F(OutputDir, ImportDocNamesTheInputFormat)
{
    std::string sDoc = WriteSampleDocx("paper.docx");
    const char* sFile = VESKAR_ImportDoc(sDoc.c_str(), "", 0);
    ASSERT_NE(sFile, nullptr) << VESKAR_GetLastErrorMsg();
    std::string sXml;
    ASSERT_TRUE(ReadWholeFile(sFile, sXml));
    EXPECT_NE(sXml.find("<format>docx</format>"), std::string::npos);
}
