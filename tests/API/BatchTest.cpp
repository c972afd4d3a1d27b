// Batch checking of folders: which files are jobs, worker counts, bad
// documents among good ones, and every result exactly once under load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

#include "API/BatchCheck.h"
#include "Utility/FileUtility.h"
#include "support/DocxBuilder.h"
#include "support/LibraryFixture.h"
#include "veskar.h"

namespace {

struct _tSeen {
    std::mutex mutex;
    std::map<std::string, int> mapCount;
    std::map<std::string, std::string> mapError;
    size_t nMaxDone = 0;
};

void Record(void* pHost, const char* sFile, size_t nDone, size_t /*nTotal*/, const char* sResult, const char* sError)
{
    auto* pSeen = static_cast<_tSeen*>(pHost);
    std::lock_guard<std::mutex> lock(pSeen->mutex);
    ++pSeen->mapCount[sFile];
    if (!sResult)
        pSeen->mapError[sFile] = sError ? sError : "";
    pSeen->nMaxDone = std::max(pSeen->nMaxDone, nDone);
}

using Batch = CLibraryTest;

TEST(BatchJobs, ChoosesDocumentsByExtension)
{
    EXPECT_TRUE(IsBatchJob("/a/b.DOCX"));
    EXPECT_TRUE(IsBatchJob("/a/b.doc"));
    EXPECT_TRUE(IsBatchJob("/a/b.Docm"));
    EXPECT_TRUE(IsBatchJob("/a/b.PDF"));
    EXPECT_TRUE(IsBatchJob("/a/b.wps"));
    EXPECT_TRUE(IsBatchJob("/a/b.txt"));
    EXPECT_FALSE(IsBatchJob("/a/b_tuple.txt"));
    EXPECT_FALSE(IsBatchJob("/a/b.png"));
    EXPECT_FALSE(IsBatchJob("/a.docx/readme"));
    EXPECT_FALSE(IsBatchJob("/a/b_Check.xml"));
    // The export that tools splitting a folder rely on says the same.
    EXPECT_EQ(VESKAR_IsBatchDocument("/a/b.DOCX"), 1);
    EXPECT_EQ(VESKAR_IsBatchDocument("/a/b_tuple.txt"), 0);
    EXPECT_EQ(VESKAR_IsBatchDocument(nullptr), 0);
}

TEST_F(Batch, FiveFilesMakeThreeJobs)
{
    WriteSampleDocx("A.DOCX");
    WriteTestFile(m_docs.File("sub/b.pdf"), "%PDF-1.4 not really");
    WriteTestFile(m_docs.File("sub/deeper/c.txt"), "第一章 绪论\n正文。\n");
    WriteTestFile(m_docs.File("c_tuple.txt"), "x");
    WriteTestFile(m_docs.File("d.png"), "\x89PNG");
    _tSeen seen;
    EXPECT_EQ(VESKAR_CheckReportDirEx(m_docs.Path().c_str(), "", 6, 0, 4, Record, &seen), 5u);
    EXPECT_EQ(seen.mapCount.size(), 3u);
    EXPECT_TRUE(FileExists(m_docs.File("A_Check.xml")));
    EXPECT_TRUE(FileExists(m_docs.File("sub/deeper/c_Check.xml")));
    EXPECT_EQ(seen.nMaxDone, 3u);
}

TEST_F(Batch, NoWorkersCheckNothing)
{
    WriteSampleDocx("a.docx");
    _tSeen seen;
    EXPECT_EQ(VESKAR_CheckReportDirEx(m_docs.Path().c_str(), "", 6, 0, 0, Record, &seen), 1u);
    EXPECT_TRUE(seen.mapCount.empty());
    EXPECT_FALSE(FileExists(m_docs.File("a_Check.xml")));
    EXPECT_EQ(VESKAR_CheckReportDir("/no/such/folder", "", 6, 0, 2), 0u);
}

// A package whose document part inflates to more than a gigabyte.
void WriteZipBomb(const std::string& sPath)
{
    std::string sZeros(UINT64_C(1) << 20, '\0');
    std::vector<std::pair<std::string, std::string>> items = {{"[Content_Types].xml", "<Types/>"}};
    WriteZipRepeated(sPath, items, "word/document.xml", sZeros, 1100);
}

TEST_F(Batch, BadDocumentsFailCleanlyBesideGoodOnes)
{
    std::string sGood1 = WriteSampleDocx("good one.docx");
    std::string sGood2 = WriteSampleDocx("引号\"和'空格' 论文.docx");
    WriteTestFile(m_docs.File("empty.docx"), "");
    std::string sData = ReadTestFile(sGood1);
    WriteTestFile(m_docs.File("truncated.docx"), sData.substr(0, sData.size() / 2));
    WriteTestFile(m_docs.File("picture.docx"), std::string("\x89PNG\r\n\x1a\n", 8) + std::string(200, 'x'));
    WriteZipBomb(m_docs.File("bomb.docx"));
    // Unreadable for everyone but root, who reads it like any good document.
    WriteTestFile(m_docs.File("locked.docx"), sData);
    chmod(m_docs.File("locked.docx").c_str(), 0);
    size_t nBad = geteuid() == 0 ? 4 : 5;
    _tSeen seen;
    EXPECT_EQ(VESKAR_CheckReportDirEx(m_docs.Path().c_str(), "", 6, 1, 2, Record, &seen), 7u);
    ASSERT_EQ(seen.mapCount.size(), 7u);
    for (const auto& item : seen.mapCount)
        EXPECT_EQ(item.second, 1) << item.first;
    EXPECT_EQ(seen.mapError.size(), nBad);
    for (const auto& item : seen.mapError)
        EXPECT_FALSE(item.second.empty()) << item.first;
    EXPECT_NE(seen.mapError[m_docs.File("bomb.docx")].find("MB"), std::string::npos)
        << seen.mapError[m_docs.File("bomb.docx")];
    EXPECT_TRUE(FileExists(m_docs.File("good one_Check.json")));
    EXPECT_TRUE(FileExists(m_docs.File("引号\"和'空格' 论文_Check.json")));
    EXPECT_FALSE(FileExists(m_docs.File("bomb_Check.json")));
    EXPECT_FALSE(IsDirectory(m_docs.File("bomb_unzip")));
}

TEST_F(Batch, EightWorkersCheckEachOfAHundredDocumentsOnce)
{
    std::string sFirst = WriteSampleDocx("doc0.docx");
    std::string sData = ReadTestFile(sFirst);
    for (int i = 1; i < 100; ++i)
        WriteTestFile(m_docs.File("set" + std::to_string(i % 7) + "/doc" + std::to_string(i) + ".docx"), sData);
    _tSeen seen;
    EXPECT_EQ(VESKAR_CheckReportDirEx(m_docs.Path().c_str(), "", 6, 0, 8, Record, &seen), 100u);
    EXPECT_EQ(seen.mapCount.size(), 100u);
    for (const auto& item : seen.mapCount)
        EXPECT_EQ(item.second, 1) << item.first;
    EXPECT_TRUE(seen.mapError.empty());
    EXPECT_EQ(seen.nMaxDone, 100u);
    EXPECT_TRUE(FileExists(m_docs.File("set3/doc10_Check.xml")));
}

}  // namespace
