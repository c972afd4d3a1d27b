// The share split of 'veskar batch --shard i/n' and the folder walk it
// splits: every document in exactly one share, shares that do not move when
// the folder changes or the program is rebuilt, and clear refusals.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "veskar/DocumentWalk.h"
#include "veskar/ShardSplit.h"

namespace {

std::vector<std::string> SamplePaths()
{
    std::vector<std::string> vecPaths;
    for (int i = 0; i < 2100; ++i)
        vecPaths.push_back((i % 3 ? "theses/" : "papers/2024/") + std::to_string(i) + (i % 2 ? ".docx" : ".pdf"));
    vecPaths.push_back("论文/张三.docx");
    vecPaths.push_back("a");
    return vecPaths;
}

CShardSplit Share(unsigned nIndex, unsigned nCount)
{
    CShardSplit shard;
    std::string sError;
    EXPECT_TRUE(shard.Parse(std::to_string(nIndex) + "/" + std::to_string(nCount), sError)) << sError;
    return shard;
}

}  // namespace

TEST(ShardSplit, EveryPathFallsInExactlyOneShareForOneToSevenShares)
{
    const std::vector<std::string> vecPaths = SamplePaths();
    for (unsigned n = 1; n <= 7; ++n) {
        std::vector<CShardSplit> vecShares;
        for (unsigned i = 1; i <= n; ++i)
            vecShares.push_back(Share(i, n));
        std::vector<size_t> vecSizes(n, 0);
        for (const auto& sPath : vecPaths) {
            int nHolders = 0;
            for (unsigned i = 0; i < n; ++i) {
                if (vecShares[i].Contains(sPath)) {
                    ++nHolders;
                    ++vecSizes[i];
                }
            }
            EXPECT_EQ(nHolders, 1) << sPath << " with n = " << n;
        }
        // No share is left idle or takes most of the work.
        for (unsigned i = 0; i < n; ++i) {
            EXPECT_GT(vecSizes[i], vecPaths.size() / n / 2) << "share " << i + 1 << "/" << n;
            EXPECT_LT(vecSizes[i], vecPaths.size() / n * 2) << "share " << i + 1 << "/" << n;
        }
    }
}

TEST(ShardSplit, SharesStayPutAcrossBuildsAndMachines)
{
    // Runs of one job array may come from different builds: a path's share
    // must never change, or a document would be checked twice or never.
    std::vector<unsigned> vecShares;
    for (const char* sPath : {"a.docx", "theses/1.docx", "论文/张三.docx", "x/y/z.pdf"})
        vecShares.push_back(CShardSplit::ShareOf(sPath, 1000));
    EXPECT_EQ(vecShares, (std::vector<unsigned>{542, 924, 530, 40}));
    EXPECT_EQ(CShardSplit::ShareOf("anything.pdf", 1), 0u);
}

TEST(ShardSplit, RefusesMalformedShares)
{
    for (const char* sText : {"", "1", "0/3", "4/3", "1/0", "-1/3", "1/3x", "a/b", "1//3", "1/1000001", " 1/3"}) {
        CShardSplit shard;
        std::string sError;
        EXPECT_FALSE(shard.Parse(sText, sError)) << "'" << sText << "'";
        EXPECT_NE(sError.find("i/n"), std::string::npos) << sError;
    }
    CShardSplit shard;
    std::string sError;
    ASSERT_TRUE(shard.Parse("3/3", sError));
    EXPECT_EQ(shard.Index(), 3u);
    EXPECT_EQ(shard.Count(), 3u);
}

TEST(DocumentWalk, ListsCheckableDocumentsAsSortedRelativePaths)
{
    CTempDir dir;
    for (const char* sName : {"b.DOCX", "a.doc", "sub/c.pdf", "sub/deeper/d.txt", "sub/e.wps", "f_tuple.txt",
                              "g.json", "h.xml", "noextension", "sub/i.docm"})
        WriteTestFile(dir.File(sName), "x");
    std::vector<std::string> vecFiles;
    std::string sError;
    ASSERT_TRUE(ListDocuments(dir.Path(), vecFiles, sError)) << sError;
    EXPECT_EQ(vecFiles, (std::vector<std::string>{"a.doc", "b.DOCX", "sub/c.pdf", "sub/deeper/d.txt", "sub/e.wps",
                                                  "sub/i.docm"}));
}

TEST(DocumentWalk, MissingFolderIsAnErrorWithItsName)
{
    CTempDir dir;
    std::vector<std::string> vecFiles;
    std::string sError;
    EXPECT_FALSE(ListDocuments(dir.File("missing"), vecFiles, sError));
    EXPECT_NE(sError.find("missing"), std::string::npos) << sError;
    EXPECT_TRUE(vecFiles.empty());
}
