// Unpacking: every kind of bad package gets its own clear error, nothing is
// written outside the package folder, and no output looks complete.
#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

#include "Docx/DocxPackage.h"
#include "Docx/DocxTestUtil.h"
#include "Global/Globals.h"
#include "Utility/FileUtility.h"

using B = CDocxBuilder;

namespace {

// Imports sName from dir and checks that it failed with a message holding
// sExpected and left neither result file nor unpacked folder behind.
void ExpectRefused(const CTempDir& dir, const std::string& sName, const std::string& sExpected)
{
    CDocxParser parser;
    std::string sPath = dir.File(sName + ".docx");
    EXPECT_EQ(parser.ImportFile(sPath.c_str(), "", 0, 0), -1) << sName;
    EXPECT_NE(g_sLastErrorMessage.find(sExpected), std::string::npos) << g_sLastErrorMessage;
    EXPECT_FALSE(FileExists(dir.File(sName + ".xml"))) << sName;
    EXPECT_FALSE(FileExists(dir.File(sName + "_Content.xml"))) << sName;
    EXPECT_FALSE(FileExists(dir.File(sName + "_unzip"))) << sName;
}

}  // namespace

TEST(PackageMends, EachBadPackageHasItsOwnError)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("text.docx"), "this is plain text, not a package"));
    ExpectRefused(dir, "text", "is not a ZIP package");

    ASSERT_TRUE(WriteZip(dir.File("empty.docx"), {}));
    ExpectRefused(dir, "empty", "holds no items");

    ASSERT_TRUE(WriteZip(dir.File("nodoc.docx"), {{"word/styles.xml", "<w:styles/>"}}));
    ExpectRefused(dir, "nodoc", "holds no word/document.xml");

    CDocxBuilder builder;
    builder.Body(B::Para(std::string(5000, 'x')));
    ASSERT_TRUE(builder.Write(dir.File("whole.docx")));
    std::string sWhole = ReadTestFile(dir.File("whole.docx"));
    ASSERT_TRUE(WriteTestFile(dir.File("cut.docx"), sWhole.substr(0, sWhole.size() / 2)));
    ExpectRefused(dir, "cut", "truncated or damaged");

    // A sparse file over the size limit is refused before it is read.
    {
        std::ofstream out(dir.File("huge.docx"), std::ios::binary);
        out << "PK\x03\x04";
    }
    ASSERT_EQ(truncate(dir.File("huge.docx").c_str(), static_cast<off_t>(CDocxPackage::MAX_PACKAGE_BYTES + 1)), 0);
    ExpectRefused(dir, "huge", "larger than the 256 MB limit");

    ExpectRefused(dir, "missing", "Cannot open file");
}

TEST(PackageMends, ItemNamesThatLeaveTheFolderAreRefused)
{
    CTempDir dir;
    std::string sDocument = B::Document(B::Para("x"));
    ASSERT_TRUE(WriteZip(dir.File("climb.docx"), {{"word/document.xml", sDocument}, {"../../evil.txt", "x"}}));
    ExpectRefused(dir, "climb", "points outside the package folder");
    EXPECT_FALSE(FileExists(DirName(dir.Path()) + "/evil.txt"));
    ASSERT_TRUE(WriteZip(dir.File("abs.docx"), {{"word/document.xml", sDocument}, {"/tmp/veskar-evil.txt", "x"}}));
    ExpectRefused(dir, "abs", "points outside the package folder");
    ASSERT_TRUE(WriteZip(dir.File("back.docx"), {{"word/document.xml", sDocument}, {"word\\..\\..\\evil.txt", "x"}}));
    ExpectRefused(dir, "back", "points outside the package folder");

    EXPECT_TRUE(CDocxPackage::IsSafeEntryName("word/media/image1.png"));
    EXPECT_TRUE(CDocxPackage::IsSafeEntryName("word/..hidden"));
    EXPECT_FALSE(CDocxPackage::IsSafeEntryName("word/../../x"));
    EXPECT_FALSE(CDocxPackage::IsSafeEntryName(".."));
    EXPECT_FALSE(CDocxPackage::IsSafeEntryName(""));
    EXPECT_FALSE(CDocxPackage::IsSafeEntryName("C:/x"));
}

TEST(PackageMends, UnpackingEmptiesTheFolderFirstAndNeverChangesFolder)
{
    CTempDir dir;
    std::string sCwd = GetCurrentDir();
    ASSERT_TRUE(WriteTestFile(dir.File("doc_unzip/[Content_Types].xml"), "<Types/>"));  // an earlier unpack
    ASSERT_TRUE(WriteTestFile(dir.File("doc_unzip/word/header1.xml"), "<w:hdr><w:p><w:r><w:t>stale</w:t></w:r></w:p></w:hdr>"));
    CDocxParser parser;
    ASSERT_EQ(ParseBody(parser, OpeningHeading(), dir), 1);
    EXPECT_TRUE(parser.Model().Headers().empty());
    EXPECT_TRUE(FileExists(dir.File("doc_unzip/word/document.xml")));
    EXPECT_EQ(GetCurrentDir(), sCwd);
}

TEST(PackageMends, AFolderOfTheUsersOwnIsNeverEmptied)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("doc_unzip/notes.txt"), "my own notes"));
    CDocxParser parser;
    EXPECT_EQ(ParseBody(parser, OpeningHeading(), dir), -1);
    EXPECT_NE(g_sLastErrorMessage.find("does not hold an unpacked package"), std::string::npos) << g_sLastErrorMessage;
    EXPECT_EQ(ReadTestFile(dir.File("doc_unzip/notes.txt")), "my own notes");
    EXPECT_FALSE(FileExists(dir.File("doc.xml")));
}

TEST(PackageMends, CapitalExtensionIsReadUnderItsOwnName)
{
    CTempDir dir;
    CDocxBuilder builder;
    builder.Body(OpeningHeading() + B::Para("内容"));
    ASSERT_TRUE(builder.Write(dir.File("REPORT.DOCX")));
    CDocxParser parser;
    ASSERT_EQ(parser.ImportFile(dir.File("REPORT.DOCX").c_str(), "", 0, 0), 1);
    EXPECT_EQ(parser.m_sDocFormatExt, "docx");
    EXPECT_TRUE(FileExists(dir.File("REPORT.xml")));
}

TEST(PackageMends, DocxTextLeavesNoUnpackedFolder)
{
    CTempDir dir;
    CDocxBuilder builder;
    builder.Body(B::Para("第一段") + B::Table({{"a", "b"}}) + B::Para("第二段"));
    ASSERT_TRUE(builder.Write(dir.File("t.docx")));
    CDocxParser parser;
    const char* sText = parser.GetDocxText(dir.File("t.docx").c_str());
    ASSERT_NE(sText, nullptr);
    EXPECT_STREQ(sText, "第一段\r\na \tb \t\r\n第二段\r\n");
    EXPECT_FALSE(FileExists(dir.File("t_unzip")));
    EXPECT_FALSE(FileExists(dir.File("t.xml")));
}

// The parser reads its parts from memory: they must be exactly the files
// written into the folder, also for an item of many read chunks and for a
// name given twice (the later item is the one on disk).
TEST(PackageMends, KeptItemsAreTheFilesInTheFolder)
{
    CTempDir dir;
    std::string sBig = B::Document(B::Para(std::string(300000, 'y')));
    ASSERT_TRUE(WriteZip(dir.File("kept.docx"), {{"word/document.xml", sBig},
                                                 {"word/styles.xml", "<first/>"},
                                                 {"word/media/a.png", "png"},
                                                 {"word//styles.xml", "<second/>"}}));
    CDocxPackage package;
    auto isKept = [](const std::string& sName) { return sName.compare(0, 11, "word/media/") != 0; };
    std::string sFolder = dir.File("kept_unzip");
    ASSERT_EQ(package.Unpack(dir.File("kept.docx"), sFolder, isKept), CDocxPackage::UNPACK_OK);
    std::map<std::string, std::string> mapKept = package.TakeKept();
    ASSERT_EQ(mapKept.size(), 2u);
    EXPECT_EQ(mapKept["word/document.xml"], sBig);
    EXPECT_EQ(ReadTestFile(sFolder + "/word/document.xml"), sBig);
    EXPECT_EQ(mapKept["word/styles.xml"], "<second/>");
    EXPECT_EQ(ReadTestFile(sFolder + "/word/styles.xml"), "<second/>");
    EXPECT_EQ(ReadTestFile(sFolder + "/word/media/a.png"), "png");

    // A package refused halfway (its first item damaged) keeps nothing.
    std::string sWhole = ReadTestFile(dir.File("kept.docx"));
    sWhole[80] = static_cast<char>(sWhole[80] ^ 0x55);
    ASSERT_TRUE(WriteTestFile(dir.File("bad.docx"), sWhole));
    EXPECT_EQ(package.Unpack(dir.File("bad.docx"), dir.File("bad_unzip"), isKept), CDocxPackage::ERR_DAMAGED);
    EXPECT_TRUE(package.TakeKept().empty());
    EXPECT_FALSE(FileExists(dir.File("bad_unzip")));
}
