// Directory walking for batches: filters, sub-folders, ordering, progress
// lines, link cycles, and that the current directory is left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <unistd.h>
#include <vector>

#include "BrowseDir/BrowseDir.h"
#include "BrowseDir/ScanFiles.h"
#include "Utility/FileUtility.h"
#include "support/TempDir.h"

namespace {

void Collect(void* pHost, const char* sText)
{
    static_cast<std::vector<std::string>*>(pHost)->push_back(sText);
}

TEST(BrowseDir, ListsEveryFileInSubfoldersWithoutChangingDirectory)
{
    CTempDir dir;
    WriteTestFile(dir.File("a.DOCX"), "1");
    WriteTestFile(dir.File("sub/b.pdf"), "22");
    WriteTestFile(dir.File("sub/deeper/c.txt"), "333");
    WriteTestFile(dir.File("空格 名字/d.jpg"), "4");
    std::string sCwd = GetCurrentDir();
    std::vector<std::string> vecFiles;
    ASSERT_TRUE(gfn_vScanFiles(dir.Path().c_str(), vecFiles, "*.*", true));
    EXPECT_EQ(GetCurrentDir(), sCwd);
    ASSERT_EQ(vecFiles.size(), 4u);
    EXPECT_EQ(std::count(vecFiles.begin(), vecFiles.end(), dir.Path() + "/sub/deeper/c.txt"), 1);
    EXPECT_EQ(std::count(vecFiles.begin(), vecFiles.end(), dir.Path() + "/空格 名字/d.jpg"), 1);
}

TEST(BrowseDir, FiltersByExtensionWithoutCase)
{
    CTempDir dir;
    for (const char* sName : {"x.Doc", "y.DOCX", "z.txt", "w.png", "noext"})
        WriteTestFile(dir.File(sName), "x");
    std::vector<std::string> vecFiles;
    gfn_vScanFiles(dir.Path().c_str(), vecFiles, "*.doc;*.docx", true);
    EXPECT_EQ(vecFiles.size(), 2u);
}

TEST(BrowseDir, MissingFolderAndLinkCycles)
{
    std::vector<std::string> vecFiles;
    EXPECT_FALSE(gfn_vScanFiles("/no/such/folder", vecFiles, "*.*", true));
    CTempDir dir;
    WriteTestFile(dir.File("loop/f.txt"), "x");
    ASSERT_EQ(symlink(dir.Path().c_str(), dir.File("loop/back").c_str()), 0);
    EXPECT_TRUE(gfn_vScanFiles(dir.Path().c_str(), vecFiles, "*", true));
    EXPECT_EQ(vecFiles.size(), 1u);
}

TEST(BrowseDir, ReportsProgressEveryThousandFiles)
{
    CTempDir dir;
    for (int i = 0; i < 1000; ++i)
        WriteTestFile(dir.File("f" + std::to_string(i) + ".txt"), "");
    CBrowseDir browser;
    ASSERT_TRUE(browser.SetInitDir(dir.Path().c_str()));
    std::vector<std::string> vecLines;
    browser.BeginBrowse("*.*", true, &vecLines, Collect);
    EXPECT_EQ(browser.Files().size(), 1000u);
    ASSERT_EQ(vecLines.size(), 3u);
    EXPECT_EQ(vecLines[0].rfind("ThreadCount=", 0), 0u);
    EXPECT_EQ(vecLines[1].rfind("BrowseDir Get  1000 files,", 0), 0u);
    EXPECT_EQ(vecLines[2].rfind("Sort ending  1000 files,", 0), 0u);
    EXPECT_TRUE(std::is_sorted(browser.Files().begin(), browser.Files().end()));
}

}  // namespace
