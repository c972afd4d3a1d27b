// Where a document's outputs go: never over a file of the user's, under a
// name of their own when two documents share a base name, and into the
// caller's output folder when one is set. Also the text for reading.
#include <gtest/gtest.h>

#include <filesystem>

#include "Convert/ExternalProgram.h"
#include "Docx/DocumentPlace.h"
#include "Docx/DocxPackage.h"
#include "Docx/DocxTestUtil.h"
#include "Docx/PlainText.h"
#include "Global/Globals.h"
#include "Utility/CallContext.h"
#include "Utility/FileUtility.h"

using B = CDocxBuilder;
namespace fs = std::filesystem;

namespace {

bool HasOffice()
{
    return !CExternalProgram::Find("soffice").empty() || !CExternalProgram::Find("libreoffice").empty();
}

// Names in a folder that start with "." (private conversion folders).
size_t HiddenEntries(const std::string& sFolder)
{
    size_t nCount = 0;
    for (const auto& entry : fs::directory_iterator(sFolder))
        nCount += entry.path().filename().string()[0] == '.';
    return nCount;
}

// Writes a .doc through LibreOffice, from a small RTF (which it reads well).
bool MakeDoc(const CTempDir& dir, const std::string& sBase)
{
    std::string sSource = dir.File("src/" + sBase + ".rtf");
    if (!WriteTestFile(sSource, "{\\rtf1\\ansi {\\fonttbl\\f0 Times;}\\f0 Converted text\\par}"))
        return false;
    std::string sOffice = CExternalProgram::Find("soffice").empty() ? "libreoffice" : "soffice";
    std::vector<std::string> vecArgs = {sOffice, "-env:UserInstallation=file://" + dir.File("profile"), "--headless",
                                        "--convert-to", "doc", "--outdir", dir.Path(), sSource};
    std::string sError;
    if (CExternalProgram::Run(vecArgs, 300, sError) != 0) {
        ADD_FAILURE() << sError;
        return false;
    }
    CDocxPackage::RemoveFolder(dir.File("profile"));
    CDocxPackage::RemoveFolder(dir.File("src"));
    return FileExists(dir.File(sBase + ".doc"));
}

}  // namespace

TEST(DocumentPlace, TheFirstFormatKeepsTheBareNameOthersKeepTheirExtension)
{
    CTempDir dir;
    for (const char* sName : {"report.doc", "report.docx", "notes.txt", "notes.pdf", "solo.wps", "Up.DOCX",
                              "Up.docx"})
        ASSERT_TRUE(WriteTestFile(dir.File(sName), "x"));
    EXPECT_EQ(CDocumentPlace::For(dir.File("report.docx")).sName, "report");
    EXPECT_EQ(CDocumentPlace::For(dir.File("report.doc")).sName, "report.doc");
    EXPECT_EQ(CDocumentPlace::For(dir.File("notes.pdf")).sName, "notes");
    EXPECT_EQ(CDocumentPlace::For(dir.File("notes.txt")).sName, "notes.txt");
    EXPECT_EQ(CDocumentPlace::For(dir.File("solo.wps")).sName, "solo");
    // The same format spelled twice: the spelling that sorts first keeps the name.
    EXPECT_EQ(CDocumentPlace::For(dir.File("Up.DOCX")).sName, "Up");
    EXPECT_EQ(CDocumentPlace::For(dir.File("Up.docx")).sName, "Up.docx");
    EXPECT_EQ(CDocumentPlace::For(dir.File("report.docx")).sFolder, dir.Path());
    EXPECT_EQ(CDocumentPlace::For(dir.File("report.doc")).WorkFolder(), dir.File("report.doc_unzip"));
    EXPECT_EQ(CDocumentPlace::For("bare.docx").sFolder, ".");
}

TEST(DocumentPlace, TheThreadsOutputFolderTakesEveryOutput)
{
    CTempDir docs, out;
    CDocxBuilder builder;
    builder.Body(OpeningHeading() + B::Para("正文"));
    ASSERT_TRUE(builder.Write(docs.File("paper.docx")));
    ASSERT_TRUE(WriteTestFile(docs.File("note.txt"), "一行\n"));
    CCallContext context;
    context.sOutputFolder = out.File("new/deeper");
    {
        CCallContext::CScope scope(context);
        CDocxParser parser;
        ASSERT_EQ(parser.ImportFile(docs.File("paper.docx").c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
        EXPECT_EQ(parser.m_sResult, out.File("new/deeper/paper.xml"));
        EXPECT_TRUE(IsDirectory(out.File("new/deeper/paper_unzip/word")));
        ASSERT_EQ(parser.ImportFile(docs.File("note.txt").c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
        EXPECT_TRUE(FileExists(out.File("new/deeper/note_Content.xml")));
        EXPECT_EQ(CDocumentPlace::OutputFileFor(docs.File("note.txt")), out.File("new/deeper/note.txt"));
    }
    // Nothing beside the documents, and the thread's setting is back.
    EXPECT_EQ(std::distance(fs::directory_iterator(docs.Path()), fs::directory_iterator()), 2);
    EXPECT_TRUE(CCallContext::Current().sOutputFolder.empty());
    EXPECT_EQ(CDocumentPlace::OutputFileFor("a/b.txt"), "a/b.txt");
}

TEST(DocumentPlace, AConvertedDocumentNeverReplacesTheUsersDocx)
{
    if (!HasOffice())
        GTEST_SKIP() << "LibreOffice is not installed";
    CTempDir dir;
    ASSERT_TRUE(MakeDoc(dir, "report"));
    CDocxBuilder builder;
    builder.Body(OpeningHeading() + B::Para("用户自己的另一份文档。"));
    ASSERT_TRUE(builder.Write(dir.File("report.docx")));
    std::string sUsers = ReadTestFile(dir.File("report.docx"));

    CDocxParser fromDoc, fromDocx;
    ASSERT_EQ(fromDoc.ImportFile(dir.File("report.doc").c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
    ASSERT_EQ(fromDocx.ImportFile(dir.File("report.docx").c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
    EXPECT_EQ(ReadTestFile(dir.File("report.docx")), sUsers);
    EXPECT_EQ(fromDoc.m_sResult, dir.File("report.doc.xml"));
    EXPECT_EQ(fromDocx.m_sResult, dir.File("report.xml"));
    EXPECT_NE(BodyTexts(fromDoc).find("Converted text"), std::string::npos);
    EXPECT_NE(BodyTexts(fromDocx).find("用户自己的另一份文档。"), std::string::npos);
    EXPECT_NE(ReadTestFile(dir.File("report.doc.xml")).find("<format>doc</format>"), std::string::npos);
    EXPECT_EQ(HiddenEntries(dir.Path()), 0u);  // the private conversion folder is gone

    // Alone, a .doc keeps its bare name, and still writes no .docx.
    ASSERT_EQ(std::remove(dir.File("report.docx").c_str()), 0);
    CDocxParser alone;
    ASSERT_EQ(alone.ImportFile(dir.File("report.doc").c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
    EXPECT_EQ(alone.m_sResult, dir.File("report.xml"));
    EXPECT_FALSE(FileExists(dir.File("report.docx")));
}

TEST(DocumentPlace, IntermediateTextsAreNeverWrittenBesideTheInput)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("page.htm"), "<html><body><p>网页正文</p></body></html>"));
    ASSERT_TRUE(WriteTestFile(dir.File("page.txt"), "the user's own notes"));
    CDocxParser parser;
    ASSERT_EQ(parser.ImportFile(dir.File("page.htm").c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
    EXPECT_EQ(BodyTexts(parser), "网页正文");
    EXPECT_EQ(ReadTestFile(dir.File("page.txt")), "the user's own notes");
    EXPECT_EQ(parser.m_sResult, dir.File("page.xml"));
}

TEST(DocumentImport, TheDocumentFileNamesTheInputFormat)
{
    CTempDir dir;
    CDocxBuilder builder;
    builder.Body(OpeningHeading());
    ASSERT_TRUE(builder.Write(dir.File("plain.DOCX")));
    CDocxParser parser;
    const char* sResult = parser.ImportDocx(dir.File("plain.DOCX").c_str(), "", 0, 0);
    ASSERT_TRUE(sResult && *sResult) << g_sLastErrorMessage;
    EXPECT_NE(ReadTestFile(sResult).find("<format>docx</format>"), std::string::npos);
}

TEST(DocumentImport, TheEndOfTheHeaderListIsNotLoggedAsAFailure)
{
    CTempDir dir, logs;
    setenv("VESKAR_LOG_DIR", logs.Path().c_str(), 1);
    CDocxBuilder builder;
    builder.Body(OpeningHeading()).Header(1, B::Para("页眉"));
    CDocxParser parser;
    int nResult = ParseBuilt(parser, builder, dir);
    unsetenv("VESKAR_LOG_DIR");
    ASSERT_EQ(nResult, 1);
    ASSERT_EQ(parser.Model().Headers().size(), 1u);
    // header2.xml and footer1.xml are missing: that ends the lists, it is no failure.
    for (const auto& entry : fs::directory_iterator(logs.Path())) {
        std::string sLog = ReadTestFile(entry.path().string());
        EXPECT_EQ(sLog.find("header2.xml"), std::string::npos) << sLog;
        EXPECT_EQ(sLog.find("footer1.xml"), std::string::npos) << sLog;
    }
}

TEST(PlainText, EachParagraphOnceWithoutTagsOrMarkers)
{
    const std::string kRel = "<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                             "2006/relationships/image\" Target=\"media/image1.png\"/>";
    const std::string kPicture = "<w:r><w:drawing><a:blip r:embed=\"rId5\"/></w:drawing></w:r>";
    // Word keeps a text box twice: for new readers and, as a fallback, for old ones.
    const std::string kBoxPara = "<w:p>" + B::Run("框内文字") + "</w:p>";
    const std::string kBox = "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wps:txbx>"
                             "<w:txbxContent>" + kBoxPara + "</w:txbxContent></wps:txbx></w:drawing></mc:Choice>"
                             "<mc:Fallback><w:pict><v:textbox><w:txbxContent>" + kBoxPara +
                             "</w:txbxContent></v:textbox></w:pict></mc:Fallback></mc:AlternateContent></w:r>";
    std::string sBody = OpeningHeading() +
                        "<w:p>" + B::Run("面积为10") + B::Run("2", "<w:vertAlign w:val=\"superscript\"/>") +
                        B::Run("米，H") + B::Run("2", "<w:vertAlign w:val=\"subscript\"/>") + B::Run("O") + "</w:p>" +
                        "<w:p>" + B::Run("如图") + kPicture + B::Run("所示") + "</w:p>" +
                        "<w:p>" + B::Run("框前") + kBox + "</w:p>" + B::Table({{"甲", "乙"}, {"丙", ""}}) +
                        B::Para("结尾");
    CTempDir dir;
    CDocxBuilder builder;
    builder.Body(sBody).Relationships(kRel);
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1) << g_sLastErrorMessage;
    std::string sRaw = parser.GetText();
    ASSERT_NE(sRaw.find("<superscript>"), std::string::npos);  // the model's own form keeps them
    EXPECT_EQ(CPlainText::Render(parser),
              "第一章 绪论\n面积为102米，H2O\n如图所示\n框前\n框内文字\n甲\t乙\n丙\t\n结尾\n");
    EXPECT_EQ(CPlainText::CleanText("a(Figure 12)b<superscript>c</superscript>(Figure x)"), "abc(Figure x)");
}
