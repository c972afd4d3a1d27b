// The document model: construction, reset, lookups by paraId, whole-text
// views, character counts, outputs and the imports of .docx and text.
#include "Docx/DocxParser.h"

#include <atomic>
#include <cstdio>

#include "Convert/TextDecoder.h"
#include "Docx/BodyScanner.h"
#include "Docx/ContentReader.h"
#include "Docx/ContentWriter.h"
#include "Docx/DocStructBuilder.h"
#include "Docx/DocumentPlace.h"
#include "Docx/DocxPackage.h"
#include "Docx/FileImporter.h"
#include "Docx/RelationReader.h"
#include "Docx/StyleReader.h"
#include "Docx/XmlScan.h"
#include "Global/Globals.h"
#include "Utility/CallContext.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

// Plain-text and XML inputs larger than this are refused.
constexpr uint64_t kMaxTextBytes = UINT64_C(256) << 20;

std::string Hex8(uint32_t nId)
{
    char sBuf[16];
    std::snprintf(sBuf, sizeof sBuf, "%08X", nId);
    return sBuf;
}

}  // namespace

bool IsSameFormat(const _tParagraph& a, const _tParagraph& b)
{
    return a.level == b.level && (a.line_space == b.line_space || !a.line_space || !b.line_space) &&
           (a.font_size == b.font_size || !a.font_size || !b.font_size) &&
           (a.font == b.font || a.font.empty() || b.font.empty());
}

CDocxParser::CDocxParser() : m_vecTypes(CRelationReader::TypeNames()) {}

CDocxParser::~CDocxParser()
{
    RemoveConversion();
}

void CDocxParser::Reset()
{
    m_mapId2Res.clear();
    m_mapParts.clear();
    m_vecHtmlText.clear();
    m_sHtmlText.clear();
    m_sHtmlPrefix.clear();
    m_listNumbering.Clear();
    m_styleSheet.Clear();
    // Headers and footers go too: a text imported after a .docx must not
    // carry the headers of that document into its result.
    m_model.Clear();
}

// ---- Lookups ----------------------------------------------------------------

int CDocxParser::GetParaIndex(uint32_t nParaId, _tParaIndex* pIndex) const
{
    return m_model.GetParaIndex(nParaId, pIndex);
}

int CDocxParser::GetLevel(uint32_t nParaId) const
{
    const _tParagraph* pPara = m_model.Find(nParaId);
    return pPara ? pPara->level : DocLevel::NOT_FOUND;
}

const char* CDocxParser::GetText(uint32_t nParaId)
{
    const _tParagraph* pPara = m_model.Find(nParaId);
    if (pPara)
        return pPara->text.c_str();
    m_sResult = "Cannot locate para index " + Hex8(nParaId);
    SetLastError(m_sResult);
    return m_sResult.c_str();
}

const char* CDocxParser::GetText()
{
    std::string sOut;
    const std::vector<_tTable>& vecTables = m_model.Tables();
    for (const _tParagraph& para : m_model.Paragraphs()) {
        if (para.level != DocLevel::TABLE_PLACEHOLDER) {
            sOut += para.text;
            sOut += "\r\n";
            continue;
        }
        if (para.id >= vecTables.size())
            continue;
        for (const _tRow& row : vecTables[para.id].rows) {
            for (const _tCell& cell : row) {
                for (const _tParagraph& cellPara : cell) {
                    sOut += cellPara.text;
                    sOut += ' ';
                }
                sOut += '\t';
            }
            sOut += "\r\n";
        }
    }
    m_sResult.swap(sOut);
    return m_sResult.c_str();
}

uint32_t CDocxParser::GetLastParaID() const
{
    const std::vector<_tParagraph>& vecParas = m_model.Paragraphs();
    for (auto it = vecParas.rbegin(); it != vecParas.rend(); ++it) {
        if (!it->IsPlaceholder())
            return it->id;
    }
    return 0xFFFFFFFFu;
}

int CDocxParser::GetPageNum(uint32_t nParaId) const
{
    int nPage = 0;
    const std::vector<uint32_t>& vecPages = m_model.PageParaIDs();
    for (size_t i = 0; i < vecPages.size() && vecPages[i] <= nParaId; ++i)
        nPage = static_cast<int>(i);
    return nPage;
}

int CDocxParser::LocateChapter(unsigned nParaIndex) const
{
    int nCount = 0;
    for (unsigned nStart : m_model.ChapterParaIndexes()) {
        if (nStart <= nParaIndex)
            ++nCount;
    }
    return nCount;
}

int CDocxParser::LocateChapterID(unsigned nParaIndex) const
{
    int nChapter = LocateChapter(nParaIndex);
    const std::vector<int>& vecIds = m_model.ChapterIds();
    if (nChapter <= 0 || static_cast<size_t>(nChapter) > vecIds.size())
        return 0;
    return vecIds[static_cast<size_t>(nChapter - 1)];
}

void CDocxParser::GetAllParagraph(std::vector<_tParagraph>& vecOut) const
{
    vecOut = m_model.Paragraphs();
    vecOut.insert(vecOut.end(), m_model.Headers().begin(), m_model.Headers().end());
    vecOut.insert(vecOut.end(), m_model.Footers().begin(), m_model.Footers().end());
    for (const _tTable& table : m_model.Tables()) {
        for (const _tRow& row : table.rows) {
            for (const _tCell& cell : row)
                vecOut.insert(vecOut.end(), cell.begin(), cell.end());
        }
    }
}

void CDocxParser::DocCharStat()
{
    m_model.CountChars();
}

// ---- Paragraph list -------------------------------------------------------

bool CDocxParser::AddOnePara(_tParagraph& para)
{
    return m_model.AddParagraph(para);
}

// ---- Outputs ------------------------------------------------------------------

std::string CDocxParser::OutputPath(const std::string& sSuffix) const
{
    return NormalisePath(m_sPath + "/../" + m_sFilename + sSuffix);
}

const char* CDocxParser::GetXMLData()
{
    DocCharStat();
    m_sResult = CContentWriter(*this).XMLData();
    return m_sResult.c_str();
}

const char* CDocxParser::GetJsonData(bool bWithTables)
{
    DocCharStat();
    m_sResult = CContentWriter(*this).JsonData(bWithTables);
    return m_sResult.c_str();
}

const char* CDocxParser::GetContentXML()
{
    m_sResult = CContentWriter(*this).ContentXML();
    return m_sResult.c_str();
}

const char* CDocxParser::GetContentJson()
{
    m_sResult = CContentWriter(*this).ContentJson();
    return m_sResult.c_str();
}

bool CDocxParser::WriteOutput(const std::string& sPath, const std::string& sData, const char* sMarker)
{
    if (!MayReplaceFile(sPath, sMarker)) {
        SetLastError("Fail write file " + sPath + ": a file of that name that was not written by this "
                     "library is in the way; it is left as it is.");
        return false;
    }
    if (!WriteFileAtomic(sPath, sData)) {
        SetLastError("Fail write file " + sPath);
        return false;
    }
    return true;
}

const char* CDocxParser::GetContentXMLFile()
{
    std::string sPath = OutputPath("_Content.xml");
    std::string sData = CContentWriter::XmlDeclaration();
    sData += CContentWriter(*this).ContentXML();
    if (!WriteOutput(sPath, sData, "<DocStructs>"))
        return nullptr;
    m_sResult = sPath;
    return m_sResult.c_str();
}

const char* CDocxParser::GetContentJsonFile()
{
    std::string sPath = OutputPath("_Content.json");
    if (!WriteOutput(sPath, CContentWriter(*this).ContentJson(), "\"DocStruCount\""))
        return nullptr;
    m_sResult = sPath;
    return m_sResult.c_str();
}

const char* CDocxParser::GetXMLFile(int nFormat)
{
    m_nResultFormat = nFormat;
    // The content file comes first: a failure to write the document file
    // leaves it in place, and the document file is what marks a finished parse.
    if (nFormat == 1)
        GetContentJsonFile();
    else
        GetContentXMLFile();
    std::string sPath = OutputPath(nFormat == 1 ? ".json" : ".xml");
    DocCharStat();
    CContentWriter writer(*this);
    std::string sData = nFormat == 1 ? writer.JsonData(true) : writer.XMLData();
    if (!WriteOutput(sPath, sData, nFormat == 1 ? "\"CharCount\"" : "<Docx>"))
        return nullptr;
    m_sResult = sPath;
    return m_sResult.c_str();
}

// ---- Template selection values ----------------------------------------------

void CDocxParser::ResetCurTemplateInfo()
{
    m_keyValOrganization.reset();
    m_keyValArgu.reset();
    m_keyValArea.reset();
}

const char* CDocxParser::GetCurTemplateInfo()
{
    auto quoted = [](const std::string& sValue) {
        std::string sOut = "\"";
        for (char c : sValue) {
            if (c == '"' || c == '\\') {
                sOut += '\\';
                sOut += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char sBuf[8];
                std::snprintf(sBuf, sizeof sBuf, "\\u%04x", static_cast<unsigned>(c));
                sOut += sBuf;
            } else {
                sOut += c;
            }
        }
        return sOut + "\"";
    };
    m_sResult = "{\r\n  \"rux_organization\": " + quoted(m_keyValOrganization.key_value) +
                ",\r\n  \"rux_argument\": " + quoted(m_keyValArgu.key_value) +
                ",\r\n  \"rux_area\": " + quoted(m_keyValArea.key_value) + "\r\n}\r\n";
    return m_sResult.c_str();
}

int CDocxParser::GetOrgType(int /*nType*/, KEY_VAL& keyOrganization, KEY_VAL& keyArea,
                            KEY_VAL& keyArgu) const
{
    keyOrganization = m_keyValOrganization;
    keyArea = m_keyValArea;
    keyArgu = m_keyValArgu;
    return 1;
}

bool CDocxParser::NumbersGiveHeadings(int nReportType)
{
    // Reports (3, 4) and theses and papers (5 to 7) number their headings.
    return nReportType >= 3 && nReportType <= 7;
}

int CDocxParser::ParseSection()
{
    return CDocStructBuilder(*this).ParseSection();
}

void CDocxParser::BuildContent()
{
    CDocStructBuilder(*this).BuildContent();
}

void CDocxParser::RebuildParagraph()
{
    CDocStructBuilder(*this).RebuildParagraph();
}

// ---- Package parts -----------------------------------------------------------

bool CDocxParser::ReadPart(const std::string& sPart, std::string& sText)
{
    auto it = m_mapParts.find(sPart);
    if (it == m_mapParts.end())
        return ReadWholeFile(m_sPath + "/" + sPart, sText, CDocxPackage::MAX_UNPACKED_BYTES);
    sText = std::move(it->second);
    m_mapParts.erase(it);
    return true;
}

// The parts ParseStruct reads: the body, relationships, styles with their
// theme and settings, numbering, headers and footers.
bool CDocxParser::IsReadPart(const std::string& sName)
{
    if (sName == "word/document.xml" || sName == "word/styles.xml" ||
        sName == "word/_rels/document.xml.rels" || sName == "word/numbering.xml" ||
        sName == "word/theme/theme1.xml" || sName == "word/settings.xml")
        return true;
    for (const char* sKind : {"word/header", "word/footer"}) {
        size_t nLen = std::char_traits<char>::length(sKind);
        if (sName.size() > nLen + 4 && sName.compare(0, nLen, sKind) == 0 &&
            sName.compare(sName.size() - 4, 4, ".xml") == 0 &&
            sName.find_first_not_of("0123456789", nLen) == sName.size() - 4)
            return true;
    }
    return false;
}

int CDocxParser::ReadResInfo()
{
    std::string sText;
    if (!ReadPart("word/_rels/document.xml.rels", sText)) {
        WriteError("Failed Read File " + m_sPath + "/word/_rels/document.xml.rels");
        return -1;
    }
    return CRelationReader::ReadRelations(sText, m_vecTypes, m_mapId2Res);
}

const _tRelationInfo* CDocxParser::GetResInfo(const std::string& sId) const
{
    auto it = m_mapId2Res.find(sId);
    return it == m_mapId2Res.end() ? nullptr : &it->second;
}

int CDocxParser::GetTypeId(const std::string& sType) const
{
    for (size_t i = 0; i < m_vecTypes.size(); ++i) {
        if (m_vecTypes[i] == sType)
            return static_cast<int>(i);
    }
    return -1;
}

int CDocxParser::ExtractStyles()
{
    m_mapStyleId2Level.clear();
    m_styleSheet.Clear();
    std::string sText;
    if (!ReadPart("word/styles.xml", sText)) {
        WriteError("Failed while reading file " + m_sPath + "/word/styles.xml");
        return -1;
    }
    ReadThemeFonts();
    m_styleSheet.ReadStyles(sText);
    m_vecStyles.clear();
    m_mapStyleId2Style.clear();
    CStyleReader::ExtractStyles(sText, m_styleSheet, m_vecStyles, m_mapStyleId2Style, m_mapStyleId2Level);
    m_listNumbering.ReadStyles(sText);
    return static_cast<int>(m_vecStyles.size());
}

void CDocxParser::ReadThemeFonts()
{
    // Both parts are optional: without a theme, theme font names give way
    // to the fonts named beside them.
    std::string sTheme, sSettings, sLanguage;
    if (!ReadPart("word/theme/theme1.xml", sTheme))
        return;
    if (ReadPart("word/settings.xml", sSettings)) {
        size_t nLang = sSettings.find("<w:themeFontLang ");
        if (nLang != std::string::npos)
            GetXMLPropertyValue(sSettings, nLang, "w:eastAsia", sLanguage, sSettings.find('>', nLang));
    }
    m_styleSheet.ReadTheme(sTheme, sLanguage);
}

int CDocxParser::ReadNumbering()
{
    std::string sText;
    // Most documents without lists have no numbering part; that is no error.
    if (!ReadPart("word/numbering.xml", sText))
        return 0;
    m_listNumbering.ReadNumbering(sText);
    return m_listNumbering.Empty() ? 0 : 1;
}

int CDocxParser::StyleID2Level(const std::string& sStyleId) const
{
    auto it = m_mapStyleId2Level.find(sStyleId);
    return it == m_mapStyleId2Level.end() ? 0 : it->second;
}

int CDocxParser::ReadHeaderFooter()
{
    static const char* const kKinds[2] = {"header", "footer"};
    static const int kLevels[2] = {DocLevel::HEADER, DocLevel::FOOTER};
    for (int k = 0; k < 2; ++k) {
        std::vector<_tParagraph> vecList;
        for (size_t n = 1;; ++n) {
            std::string sPart = std::string("word/") + kKinds[k] + std::to_string(n) + ".xml";
            std::string sText;
            // The first missing part is the normal end of the list.
            if (!ReadPart(sPart, sText))
                break;
            size_t nStart = FindElement(sText, "<w:p", 0);
            if (nStart == XML_NPOS)
                continue;
            // Pictures in headers (logos) are not figures of the body.
            _tParagraph para;
            CBodyScanner(*this, sText).ExtractParagrah(nStart, sText.size(), para,
                                                       CBodyScanner::NO_ID, kLevels[k], false);
            para.page_num = static_cast<int>(n);
            if (!para.text.empty() && (vecList.empty() || vecList.back().text != para.text))
                vecList.push_back(para);
        }
        m_model.SetHeadFooter(k, std::move(vecList));
    }
    return static_cast<int>(m_model.Headers().size() + m_model.Footers().size());
}

// ---- Imports -----------------------------------------------------------------

int CDocxParser::ReadDocx(const std::string& sDocx)
{
    CDocumentPlace place = CDocumentPlace::For(sDocx);
    m_sPath = place.sFolder;
    m_sFilename = place.sName;
    return UnpackDocument(sDocx);
}

int CDocxParser::UnpackDocument(const std::string& sDocx)
{
    Reset();
    m_sPath = NormalisePath(m_sPath + "/" + m_sFilename + "_unzip");
    CDocxPackage package;
    int nResult = package.Unpack(sDocx, m_sPath, IsReadPart);
    m_mapParts = package.TakeKept();
    RemoveConversion();
    if (nResult != CDocxPackage::UNPACK_OK) {
        SetLastError(package.GetError());
        return nResult;
    }
    return 1;
}

void CDocxParser::RemoveConversion()
{
    if (m_sConversionFolder.empty())
        return;
    CDocxPackage::RemoveFolder(m_sConversionFolder);
    m_sConversionFolder.clear();
}

int CDocxParser::ParseStruct(int nReportType, const char* sURLPrefix, bool bFull)
{
    m_nReportType = nReportType;
    m_sURLPrefix = sURLPrefix ? sURLPrefix : "";
    if (bFull) {
        ReadResInfo();
        ExtractStyles();
        ReadHeaderFooter();
    }
    ReadNumbering();
    std::string sPath = m_sPath + "/word/document.xml";
    m_pTextStart = std::make_unique<std::string>();
    bool bRead = ReadPart("word/document.xml", *m_pTextStart);
    m_mapParts.clear();  // what this scan did not ask for is not asked for later
    if (!bRead) {
        m_pTextStart.reset();
        SetLastError("Failed Read File " + sPath);
        return -1;
    }
    const std::string& sText = *m_pTextStart;
    size_t nBody = sText.find("<w:body>");
    if (nBody == std::string::npos) {
        m_pTextStart.reset();
        SetLastError("Format error in " + sPath);
        return -1;
    }
    size_t nBodyEnd = sText.rfind("</w:body>");
    if (nBodyEnd == std::string::npos || nBodyEnd < nBody)
        nBodyEnd = sText.size();
    CBodyScanner(*this, sText).ScanBody(nBody + 8, nBodyEnd, CCallContext::Current().bShowProgress);
    if (g_bOCR)
        RebuildParagraph();
    if (bFull) {
        BuildContent();
        if (m_model.DocStruct().empty() && NumbersGiveHeadings(nReportType))
            ParseSection();
        // The pages come last, so headings found from their numbers are
        // headings on the pages too; a failure leaves the parse without pages.
        ReuildHtml(m_sURLPrefix.c_str());
    }
    m_pTextStart.reset();
    return 1;
}

const char* CDocxParser::ImportDocx(const char* sFile, const char* sURLPrefix, int nReportType,
                                    int nResultFormat)
{
    m_nResultFormat = nResultFormat;
    // The document file names the format the input came in.
    m_sDocFormatExt = CFileImporter::Extension(sFile ? sFile : "");
    std::string sDocx = Doc2Docx(sFile ? sFile : "");
    m_sResult.clear();
    if (sDocx.empty() || UnpackDocument(sDocx) != 1 || ParseStruct(nReportType, sURLPrefix, true) != 1) {
        RemoveConversion();
        return "";
    }
    const char* sResult = GetXMLFile(nResultFormat);
    return sResult ? sResult : "";
}

const char* CDocxParser::GetDocxText(const char* sFile)
{
    std::string sDocx = Doc2Docx(sFile ? sFile : "");
    m_sResult.clear();
    if (sDocx.empty() || UnpackDocument(sDocx) != 1) {
        RemoveConversion();
        return nullptr;
    }
    int nResult = ParseStruct(m_nReportType, nullptr, false);
    CDocxPackage::RemoveFolder(m_sPath);
    if (nResult != 1)
        return nullptr;
    return GetText();
}

int CDocxParser::ImportText(const char* sFile, int nReportType)
{
    std::string sPath = sFile ? sFile : "";
    CDocumentPlace place = CDocumentPlace::For(sPath);
    m_sFilename = place.sName;
    m_sPath = JoinPath(place.sFolder, place.sName);
    std::string sText;
    if (!ReadWholeFile(sPath, sText, kMaxTextBytes)) {
        SetLastError("Cannot open file " + sPath);
        return -3;
    }
    return ImportMemory(sText.c_str(), nReportType, m_nResultFormat, true);
}

int CDocxParser::ImportMemory(const char* sText, int nReportType, int nResultFormat, bool bHasPath)
{
    m_nReportType = nReportType;
    m_nResultFormat = nResultFormat;
    Reset();
    if (!bHasPath) {
        // The clock alone would give two texts checked in the same second
        // the same files; the counter keeps them apart.
        static std::atomic<unsigned> s_nCounter {0};
        m_sFilename = FormatLocalTime("korvexCheckMem%Y%m%d%I%M%S") + "_" +
                      std::to_string(++s_nCounter);
        m_sPath = (g_sDefaultDir.empty() ? std::string(".") : g_sDefaultDir) + "/" + m_sFilename;
    }
    std::string sUtf8 = CTextDecoder::ToUtf8(sText ? sText : "");
    size_t nPos = 0;
    while (nPos < sUtf8.size()) {
        size_t nEnd = sUtf8.find_first_of("\r\n", nPos);
        if (nEnd == std::string::npos)
            nEnd = sUtf8.size();
        if (nEnd > nPos) {
            _tParagraph para;
            para.id = static_cast<uint32_t>(nPos);
            para.text = sUtf8.substr(nPos, nEnd - nPos);
            m_model.AddParagraph(para);
        }
        nPos = nEnd + 1;
    }
    if (NumbersGiveHeadings(nReportType))
        ParseSection();
    WritePlainTextPage();
    if (m_nResultFormat == 1)
        GetContentJsonFile();
    else
        GetContentXMLFile();
    m_sResult = m_sFilename;
    return 1;
}

size_t CDocxParser::LoadDocResult(const char* sResultFile)
{
    std::string sFile = sResultFile ? sResultFile : "";
    std::string sText;
    if (!ReadWholeFile(sFile, sText, kMaxTextBytes)) {
        SetLastError("Fail read file " + sFile);
        return 0;
    }
    Reset();
    CContentReader reader(*this);
    size_t nRead = reader.InputXMLData(sText);
    ReloadHtmlPages();
    // The pair travels together: look beside the document file first.
    std::string sContent;
    std::string sBeside = JoinPath(DirName(sFile), m_sFilename + "_Content.xml");
    if (!ReadWholeFile(sBeside, sContent, kMaxTextBytes) &&
        !ReadWholeFile(OutputPath("_Content.xml"), sContent, kMaxTextBytes)) {
        SetLastError("Fail read file " + sBeside);
        return 0;
    }
    reader.InputContentXML(sContent);
    return nRead + sContent.size();
}

int CDocxParser::ImportFile(const char* sFile, const char* sURLPrefix, int nReportType,
                            int nResultFormat)
{
    return CFileImporter(*this).ImportFile(sFile ? sFile : "", sURLPrefix, nReportType, nResultFormat);
}

std::string CDocxParser::Doc2Docx(const std::string& sFile)
{
    RemoveConversion();
    return CFileImporter(*this).Doc2Docx(sFile, m_sConversionFolder);
}
