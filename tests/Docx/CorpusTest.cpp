// Every real document of the shared corpus parses without error, and its
// counts agree with what its package holds (counted here independently).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Docx/DocxTestUtil.h"
#include "Global/Globals.h"
#include "Utility/FileUtility.h"

namespace fs = std::filesystem;

namespace {

struct _tManifestRow {
    std::string sFile;
    size_t nTables = 0;
};

std::vector<_tManifestRow> ReadManifest()
{
    std::vector<_tManifestRow> rows;
    std::ifstream in(std::string(VESKAR_TEST_CORPUS_DIR) + "/MANIFEST.tsv");
    std::string sLine;
    std::getline(in, sLine);  // header
    while (std::getline(in, sLine)) {
        std::vector<std::string> vecFields;
        std::istringstream fields(sLine);
        std::string sField;
        while (std::getline(fields, sField, '\t'))
            vecFields.push_back(sField);
        if (vecFields.size() < 8)
            continue;
        rows.push_back({vecFields[0], static_cast<size_t>(std::stoul(vecFields[7]))});
    }
    return rows;
}

bool StartsElement(const std::string& s, size_t nPos, const char* sTag)
{
    size_t nLen = std::strlen(sTag);
    if (s.compare(nPos, nLen, sTag) != 0 || nPos + nLen >= s.size())
        return false;
    char c = s[nPos + nLen];
    return c == ' ' || c == '>';
}

// What the package holds: tables at the top level and in all, and the
// top-level paragraphs outside tables and text boxes that carry text.
struct _tPackageCounts {
    size_t nTopTables = 0;
    size_t nAllTables = 0;
    size_t nTextParagraphs = 0;
    bool bTextBoxes = false;
};

// Text that survives trimming: a non-blank run text, a page reference, or
// any text of a raised or lowered run (it is kept inside its alignment tags).
bool HasText(const std::string& sPara)
{
    if (sPara.find("PAGEREF") != std::string::npos)
        return true;
    for (const char* sTag : {"<w:t>", "<w:t ", "<m:t>", "<m:t "}) {
        for (size_t nPos = sPara.find(sTag); nPos != std::string::npos; nPos = sPara.find(sTag, nPos + 1)) {
            size_t nOpen = sPara.find('>', nPos);
            size_t nClose = sPara.find("</", nOpen);
            if (nOpen == std::string::npos || nClose == std::string::npos || nClose == nOpen + 1)
                continue;
            if (sPara.substr(nOpen + 1, nClose - nOpen - 1).find_first_not_of(" \t") != std::string::npos)
                return true;
            size_t nRun = sPara.rfind("<w:r>", nPos);
            size_t nRunAttr = sPara.rfind("<w:r ", nPos);
            if (nRun == std::string::npos || (nRunAttr != std::string::npos && nRunAttr > nRun))
                nRun = nRunAttr;
            if (nRun != std::string::npos && sPara.substr(nRun, nPos - nRun).find("w:vertAlign") != std::string::npos)
                return true;
        }
    }
    return false;
}

// The "</w:p>" closing the paragraph at nPos, counting nested ones.
size_t ParagraphEnd(const std::string& sXml, size_t nPos)
{
    int nDepth = 0;
    for (size_t i = nPos; (i = sXml.find('<', i)) != std::string::npos; ++i) {
        if (StartsElement(sXml, i, "<w:p")) {
            size_t nTagEnd = sXml.find('>', i);
            nDepth += sXml[nTagEnd - 1] != '/';
        } else if (sXml.compare(i, 6, "</w:p>") == 0 && --nDepth == 0) {
            return i;
        }
    }
    return sXml.size();
}

_tPackageCounts CountPackage(const std::string& sXml)
{
    _tPackageCounts counts;
    counts.bTextBoxes = sXml.find("<w:txbxContent>") != std::string::npos;
    int nTableDepth = 0;
    size_t nPos = sXml.find("<w:body>");
    while ((nPos = sXml.find('<', nPos + 1)) != std::string::npos) {
        if (StartsElement(sXml, nPos, "<w:tbl")) {
            ++counts.nAllTables;
            counts.nTopTables += nTableDepth == 0;
            ++nTableDepth;
        } else if (sXml.compare(nPos, 8, "</w:tbl>") == 0) {
            --nTableDepth;
        } else if (nTableDepth == 0 && StartsElement(sXml, nPos, "<w:p")) {
            size_t nTagEnd = sXml.find('>', nPos);
            if (sXml[nTagEnd - 1] == '/')
                continue;
            size_t nEnd = ParagraphEnd(sXml, nPos);
            std::string sPara = sXml.substr(nPos, nEnd - nPos);
            size_t nBox = sPara.find("<w:txbxContent>");
            counts.nTextParagraphs += HasText(nBox == std::string::npos ? sPara : sPara.substr(0, nBox));
            nPos = nEnd;
        }
    }
    return counts;
}

}  // namespace

TEST(Corpus, EveryDocumentParsesWithCountsMatchingItsPackage)
{
    std::vector<_tManifestRow> rows = ReadManifest();
    ASSERT_GE(rows.size(), 10u) << "the shared corpus is expected at " << VESKAR_TEST_CORPUS_DIR;
    for (const _tManifestRow& row : rows) {
        SCOPED_TRACE(row.sFile);
        CTempDir dir;
        std::string sCopy = dir.File("input.docx");
        fs::copy_file(std::string(VESKAR_TEST_CORPUS_DIR) + "/" + row.sFile, sCopy);
        CDocxParser parser;
        ASSERT_EQ(parser.ImportFile(sCopy.c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
        EXPECT_TRUE(FileExists(dir.File("input.xml")));
        EXPECT_TRUE(FileExists(dir.File("input_Content.xml")));

        std::string sXml = ReadTestFile(dir.File("input_unzip/word/document.xml"));
        _tPackageCounts counts = CountPackage(sXml);
        EXPECT_EQ(counts.nAllTables, row.nTables);
        EXPECT_EQ(parser.Model().Tables().size(), counts.nTopTables);

        size_t nBody = 0;
        for (const _tParagraph& para : parser.Model().Paragraphs()) {
            bool bCaptionCopy = para.level == DocLevel::TABLE_CAPTION &&
                                parser.GetLevel(para.id) == DocLevel::TABLE_COL;
            nBody += !para.IsPlaceholder() && para.level != DocLevel::TXTBOX && !bCaptionCopy;
        }
        if (counts.bTextBoxes)
            EXPECT_LE(nBody, counts.nTextParagraphs);  // parts after a box are dropped
        else
            EXPECT_EQ(nBody, counts.nTextParagraphs);

        // Ids rise in reading order; every entry is found through the map.
        uint32_t nLast = 0;
        for (size_t i = 0; i < parser.Model().Paragraphs().size(); ++i) {
            const _tParagraph& para = parser.Model().Paragraphs()[i];
            if (para.IsPlaceholder())
                continue;
            EXPECT_GE(para.id, nLast);
            nLast = para.id;
            EXPECT_NE(parser.GetLevel(para.id), DocLevel::NOT_FOUND);
        }

        // The saved pair reloads to the same files.
        std::string sSaved = ReadTestFile(dir.File("input.xml"));
        std::string sSavedContent = ReadTestFile(dir.File("input_Content.xml"));
        CDocxParser reloaded;
        ASSERT_EQ(reloaded.ImportFile(dir.File("input.xml").c_str(), "", 0, 0), 1);
        ASSERT_NE(reloaded.GetXMLFile(0), nullptr);
        EXPECT_TRUE(ReadTestFile(dir.File("input.xml")) == sSaved);
        EXPECT_TRUE(ReadTestFile(dir.File("input_Content.xml")) == sSavedContent);
    }
}
