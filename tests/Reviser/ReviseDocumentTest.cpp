// Revised copies of a document: the name and where it goes, every field a
// finding can concern, findings about the whole document, and the ways a
// revision refuses to write (and what it never touches).
#include <regex>
#include <sys/stat.h>

#include "Docx/DocxPackage.h"
#include "Global/Globals.h"
#include "ReviseFixture.h"
#include "Reviser/RevisedPackage.h"

namespace {

const std::string EndP = "</w:p>";

std::string TRun(const std::string& sText, const std::string& sRPr = "")
{
    return CDocxBuilder::Run(sText, sRPr);
}

std::string Para(const std::string& sRuns, const std::string& sPPr = "")
{
    return "<w:p w:rsidR=\"00AB12CD\">" + (sPPr.empty() ? "" : "<w:pPr>" + sPPr + "</w:pPr>") + sRuns + EndP;
}

bool SameBytes(const std::string& sPath, const std::string& sData)
{
    return ReadTestFile(sPath) == sData;
}

}  // namespace

TEST_F(CReviseTest, NoFindingsGivesAnIdenticalCopyBesideTheDocument)
{
    ASSERT_TRUE(Build(Para(TRun("第一段正文。")) + Para(TRun("第二段正文。")), "论文 初稿", CompletePackageItems()));
    std::string sOriginal = ReadTestFile(m_sDocx);
    std::string sRevised = Revise();
    ASSERT_FALSE(sRevised.empty()) << g_sLastErrorMessage;
    EXPECT_TRUE(std::regex_match(sRevised, std::regex(".*/论文 目录/论文 初稿_Revised_[0-9]{14}\\.docx")))
        << sRevised;
    EXPECT_EQ(Parts(sRevised), Parts(m_sDocx));
    EXPECT_TRUE(SameBytes(m_sDocx, sOriginal));
    // Nothing but the two documents, the result and the unpacked folder.
    for (const std::string& sName : FolderNames(m_sFolder))
        EXPECT_EQ(sName.find(".part"), std::string::npos) << sName;
    EXPECT_EQ(m_reviser.Report().nFindings, 0u);
}

TEST_F(CReviseTest, RevisedNamesHoldOneRevisedPartAndNeverReplaceAFile)
{
    EXPECT_EQ(CRevisedPackage::RevisedName("/a/报告 一_Revised_20200101010101_unzip", "报告 一_Revised_20200101010101",
                                           "_Revised_20240102030405"),
              "/a/报告 一_Revised_20240102030405.docx");
    EXPECT_EQ(CRevisedPackage::RevisedName("/a/b_unzip", "b", "_Revised_1"), "/a/b_Revised_1.docx");

    ASSERT_TRUE(Build(Para(TRun("正文。")), "报告_Revised_20200101010101"));
    std::string sFirst = Revise();
    ASSERT_FALSE(sFirst.empty()) << g_sLastErrorMessage;
    EXPECT_TRUE(std::regex_match(sFirst, std::regex(".*/报告_Revised_[0-9]{14}\\.docx"))) << sFirst;

    // A file already under the name is kept; the copy gets a counter.
    CRevisedPackage package;
    std::string sTaken = m_sFolder + "/占用.docx";
    ASSERT_TRUE(WriteTestFile(sTaken, "not ours"));
    std::string sSecond = package.Write(m_parser.m_sPath, {}, sTaken);
    EXPECT_EQ(sSecond, m_sFolder + "/占用_2.docx");
    EXPECT_EQ(ReadTestFile(sTaken), "not ours");
    EXPECT_EQ(package.Write(m_parser.m_sPath, {}, sTaken), m_sFolder + "/占用_3.docx");
}

TEST_F(CReviseTest, TwoFindingsInOneParagraphLandWhereTheirOffsetsSay)
{
    // "XYZ" stands at bytes 5, 20 and 27; the paragraph runs over two runs.
    ASSERT_TRUE(Build(Para(TRun("abcdeXYZklmnop") + TRun("qrstuXYZvwxyzXYZ")) + Para(TRun("另一段。"))));
    uint32_t nPara = ParaId("abcde");
    Add(nPara, 5, FIELD_TEXT, REVISE_U, "XYZ", "111");
    Add(nPara, 20, FIELD_TEXT, REVISE_U, "XYZ", "222");
    std::string sRevised = Revise();
    ASSERT_FALSE(sRevised.empty()) << g_sLastErrorMessage;
    EXPECT_EQ(Texts(RevisedDocument(sRevised)), "abcde111klmnopqrstu222vwxyzXYZ|另一段。");
    EXPECT_EQ(m_reviser.Report().nApplied, 2u);
}

TEST_F(CReviseTest, FormatFindingsChangeTheirProperties)
{
    std::string sRPr = "<w:rFonts w:ascii=\"Times New Roman\" w:eastAsia=\"宋体\"/><w:kern w:val=\"24\"/>"
                       "<w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/>";
    std::string sBody = Para(TRun("行距待改的段落。"), "<w:spacing w:line=\"400\" w:lineRule=\"auto\"/>") +
                        Para(TRun("字体字号待改。", sRPr) + TRun("西文", "<w:rFonts w:ascii=\"Arial\"/>") +
                             TRun("主题", "<w:rFonts w:eastAsiaTheme=\"minorEastAsia\"/>")) +
                        Para(TRun("不动的段落。", sRPr));
    ASSERT_TRUE(Build(sBody));
    Add(ParaId("行距待改"), 0, FIELD_LINE_SPACE, REVISE_U, "20", "24", "1.1.3");
    Add(ParaId("字体字号"), 0, FIELD_FONTSIZE, REVISE_U, "小四", "四号", "1.1.2");
    Add(ParaId("字体字号"), 0, FIELD_FONT, REVISE_U, "宋体", "黑体", "1.1.1");
    std::string sRevised = Revise();
    ASSERT_FALSE(sRevised.empty()) << g_sLastErrorMessage;
    std::string sDoc = RevisedDocument(sRevised);
    EXPECT_NE(sDoc.find("<w:spacing w:line=\"480\" w:lineRule=\"auto\"/>"), std::string::npos);
    size_t nChanged = sDoc.find("字体字号待改");
    size_t nKept = sDoc.find("不动的段落");
    size_t nParaStart = sDoc.rfind("<w:p ", nChanged);
    std::string sChanged = sDoc.substr(nParaStart, sDoc.find("</w:p>", nChanged) - nParaStart);
    EXPECT_NE(sChanged.find("<w:sz w:val=\"28\"/><w:szCs w:val=\"28\"/>"), std::string::npos);
    EXPECT_NE(sChanged.find("<w:kern w:val=\"24\"/>"), std::string::npos);  // only sizes change
    EXPECT_NE(sChanged.find("w:ascii=\"Times New Roman\" w:eastAsia=\"黑体\""), std::string::npos);
    EXPECT_NE(sChanged.find("w:eastAsia=\"黑体\" w:ascii=\"Arial\""), std::string::npos);
    EXPECT_NE(sChanged.find("<w:rFonts w:eastAsia=\"黑体\"/>"), std::string::npos);  // instead of the theme's
    EXPECT_EQ(sChanged.find("宋体"), std::string::npos);
    // The next paragraph keeps its own.
    EXPECT_NE(sDoc.find("w:eastAsia=\"宋体\"", nKept - 200), std::string::npos);
    EXPECT_EQ(m_reviser.Report().nApplied, 3u);
}

TEST_F(CReviseTest, LevelFindingsChangeTheStyleOrTheOutlineLevel)
{
    ASSERT_TRUE(Build(Para(TRun("1.1 研究背景"), "<w:pStyle w:val=\"2\"/>") +
                      Para(TRun("1.2 研究意义"), "<w:outlineLvl w:val=\"1\"/>") + Para(TRun("1.3 多余标题"), "<w:pStyle w:val=\"3\"/>")));
    Add(ParaId("研究背景"), 0, FIELD_LEVEL, REVISE_U, "2", "3", "1.3.7");
    Add(ParaId("研究意义"), 0, FIELD_LEVEL, REVISE_U, "2", "1", "1.3.7");
    Add(ParaId("多余标题"), 0, FIELD_LEVEL, REVISE_D, "3", "", "1.3.7");
    std::string sDoc = RevisedDocument(Revise());
    EXPECT_NE(sDoc.find("<w:pStyle w:val=\"3\"/></w:pPr><w:r><w:t xml:space=\"preserve\">1.1"), std::string::npos);
    EXPECT_NE(sDoc.find("<w:outlineLvl w:val=\"0\"/></w:pPr><w:r><w:t xml:space=\"preserve\">1.2"), std::string::npos);
    EXPECT_NE(sDoc.find("<w:pPr></w:pPr><w:r><w:t xml:space=\"preserve\">1.3"), std::string::npos);
}

TEST_F(CReviseTest, TextIsReplacedAcrossRunsWithItsAlignmentAndEscaped)
{
    std::string sBody = Para(TRun("面积为1") + TRun("0m", "<w:b/>") + TRun("2", "<w:b/><w:vertAlign w:val=\"superscript\"/>") +
                             TRun("，合计。")) +
                        Para(TRun("甲乙丙丁"));
    ASSERT_TRUE(Build(sBody));
    uint32_t nPara = ParaId("面积为");
    ASSERT_EQ(m_parser.GetText(nPara), std::string("面积为10m<superscript>2</superscript>，合计。"));
    Add(nPara, 9, FIELD_TEXT, REVISE_U, "10m<superscript>2</superscript>", "20m<superscript>3</superscript>");
    Add(ParaId("甲乙"), 3, FIELD_TEXT, REVISE_I, "乙", "A&B<C>");
    std::string sDoc = RevisedDocument(Revise());
    EXPECT_EQ(Texts(sDoc), "面积为20m3，合计。|甲A&amp;B&lt;C&gt;乙丙丁");
    // The new "3" is a raised run of its own with the properties of the run it went into.
    EXPECT_NE(sDoc.find("<w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:t xml:space=\"preserve\">3</w:t>"),
              std::string::npos);
    EXPECT_NE(sDoc.find("A&amp;B&lt;C&gt;"), std::string::npos);
    EXPECT_EQ(m_reviser.Report().nApplied, 2u);
}

TEST_F(CReviseTest, FindingsAboutTheWholeDocumentAreNotesAtItsEnd)
{
    ASSERT_TRUE(Build(Para(TRun("正文。")) + CDocxBuilder::Table({{"单元格"}})));
    Add(0xFFFFFFFF, 0, FIELD_CONTENT, REVISE_M, "", "摘要", "12.1");
    Add(0xFFFFFFFF, 0, FIELD_CONTENT, REVISE_M, "", "", "12.1");
    std::string sDoc = RevisedDocument(Revise());
    size_t nTableEnd = sDoc.find("</w:tbl>");
    size_t nHeading = sDoc.find("修订说明");
    ASSERT_NE(nHeading, std::string::npos);
    EXPECT_GT(nHeading, nTableEnd);  // after the table, not in its last cell
    EXPECT_NE(sDoc.rfind("<w:color w:val=\"FF0000\"/>", nHeading), std::string::npos);
    std::string sNotes = sDoc.substr(nHeading);
    size_t nFirst = sNotes.find("<w:color w:val=\"0000FF\"/>");
    ASSERT_NE(nFirst, std::string::npos);
    EXPECT_NE(sNotes.find("<w:t>1.", nFirst), std::string::npos);
    EXPECT_NE(sNotes.find("<w:t>2.", nFirst), std::string::npos);
    EXPECT_NE(sNotes.find("摘要"), std::string::npos);
    EXPECT_NE(sNotes.find("缺少必备内容"), std::string::npos);  // no expected text: the message
    EXPECT_EQ(m_reviser.Report().nDocumentLevel, 2u);
}

TEST_F(CReviseTest, FindingsWhoseParagraphIsGoneAreSkippedAndTheRestApplied)
{
    ASSERT_TRUE(Build(Para(TRun("第一段有错字。")) + Para(TRun("第二段有错字。")) + Para(TRun("第三段。"))));
    Add(ParaId("第一段"), 0, FIELD_TEXT, REVISE_U, "错字", "正字");
    Add(ParaId("第二段") + 1, 0, FIELD_TEXT, REVISE_U, "错字", "正字");
    Add(ParaId("第三段"), 0, FIELD_TEXT, REVISE_U, "第三", "第3");
    std::string sRevised = Revise();
    ASSERT_FALSE(sRevised.empty()) << g_sLastErrorMessage;
    EXPECT_EQ(Texts(RevisedDocument(sRevised)), "第一段有正字。|第二段有错字。|第3段。");
    EXPECT_EQ(m_reviser.Report().nParaMissing, 1u);
    EXPECT_EQ(m_reviser.Report().nApplied, 2u);
}

TEST_F(CReviseTest, AMissingOrChangedDocumentGivesAnErrorAndNoFile)
{
    ASSERT_TRUE(Build(Para(TRun("第一段有错字。")) + Para(TRun("第二段有错字。"))));
    Add(ParaId("第一段"), 0, FIELD_TEXT, REVISE_U, "错字", "正字");
    Add(ParaId("第二段"), 0, FIELD_TEXT, REVISE_U, "错字", "正字");
    WriteResult();
    std::string sDocPath = m_parser.m_sPath + "/word/document.xml";
    std::string sXml = ReadTestFile(sDocPath);
    // Another version unpacked under the same name: every paragraph moved.
    std::string sChanged = sXml;
    sChanged.insert(sChanged.find("<w:body>") + 8, "<w:bookmarkStart w:id=\"0\" w:name=\"新\"/>");
    ASSERT_TRUE(WriteTestFile(sDocPath, sChanged));
    size_t nBefore = FolderNames(m_sFolder).size();
    EXPECT_EQ(m_reviser.Revise(m_sResult.c_str()), "");
    EXPECT_NE(g_sLastErrorMessage.find("has changed"), std::string::npos) << g_sLastErrorMessage;
    EXPECT_EQ(FolderNames(m_sFolder).size(), nBefore);

    ASSERT_TRUE(CDocxPackage::RemoveFolder(m_parser.m_sPath));
    EXPECT_EQ(m_reviser.Revise(m_sResult.c_str()), "");
    EXPECT_NE(g_sLastErrorMessage.find("is missing"), std::string::npos) << g_sLastErrorMessage;
    EXPECT_EQ(FolderNames(m_sFolder).size(), nBefore - 1);
    EXPECT_EQ(m_reviser.Revise((m_sFolder + "/无此结果.xml").c_str()), "");
}

TEST_F(CReviseTest, AResultNamingItsFolderRelativelyIsRevisedFromAnywhere)
{
    ASSERT_TRUE(Build(Para(TRun("第一段有错字。"))));
    Add(ParaId("第一段"), 0, FIELD_TEXT, REVISE_U, "错字", "正字");
    std::string sXml = "<VESKAR>\n" +
                       std::string(m_result.GetResult("论文 初稿_unzip", "论文 初稿", 0, "", nullptr)) + "</VESKAR>\n";
    std::string sResult = m_sFolder + "/论文 初稿_Check.xml";
    ASSERT_TRUE(WriteTestFile(sResult, sXml));
    std::string sRevised = m_reviser.Revise(sResult.c_str());
    ASSERT_FALSE(sRevised.empty()) << g_sLastErrorMessage;
    EXPECT_EQ(sRevised.rfind(m_sFolder + "/论文 初稿_Revised_", 0), 0u) << sRevised;
    EXPECT_EQ(Texts(RevisedDocument(sRevised)), "第一段有正字。");
}

TEST_F(CReviseTest, TheUnpackedFolderStaysAsTheCheckLeftIt)
{
    ASSERT_TRUE(Build(Para(TRun("第一段有错字。"))));
    std::string sXml = ReadTestFile(m_parser.m_sPath + "/word/document.xml");
    Add(ParaId("第一段"), 0, FIELD_TEXT, REVISE_U, "错字", "正字");
    std::string sFirst = Revise();
    ASSERT_FALSE(sFirst.empty());
    EXPECT_EQ(ReadTestFile(m_parser.m_sPath + "/word/document.xml"), sXml);
    // So the same result can be revised again, to the same text.
    std::string sSecond = m_reviser.Revise(m_sResult.c_str());
    ASSERT_FALSE(sSecond.empty()) << g_sLastErrorMessage;
    EXPECT_NE(sSecond, sFirst);
    EXPECT_EQ(RevisedDocument(sSecond), RevisedDocument(sFirst));
}
