// Findings about the whole document (a missing part, an outdated contents
// list) have no paragraph of their own: they are listed as numbered notes
// under a heading at the end of the document or of its last page.
#include "Reviser/DocReviser.h"

#include "Checker/CheckResult.h"
#include "Reviser/MarkupText.h"
#include "Utility/ID2Message.h"

namespace {

constexpr uint32_t kDocumentLevel = 0xFFFFFFFF;
// 修订说明 and 宋体: what the notes say and use when the catalogue has no word.
const char* const kDefaultHeading = "\xE4\xBF\xAE\xE8\xAE\xA2\xE8\xAF\xB4\xE6\x98\x8E";
const char* const kDefaultFont = "\xE5\xAE\x8B\xE4\xBD\x93";

std::string NoteParagraph(const char* sMarkColour, const std::string& sText)
{
    return std::string("<w:p w:rsidR=\"005527A2\" w:rsidRPr=\"005527A2\" w:rsidRDefault=\"005527A2\" "
                       "w:rsidP=\"005527A2\"><w:pPr><w:widowControl/><w:rPr><w:color w:val=\"") +
           sMarkColour +
           "\"/><w:kern w:val=\"0\"/><w:szCs w:val=\"21\"/></w:rPr></w:pPr><w:r w:rsidRPr=\"005527A2\"><w:rPr>"
           "<w:color w:val=\"0070C0\"/><w:kern w:val=\"0\"/><w:szCs w:val=\"21\"/></w:rPr><w:t>" +
           CMarkupText::EscapeText(sText) + "</w:t></w:r></w:p>";
}

// What a note says: the expected part or value, else the message.
const std::string& NoteText(const _tCheckResult& finding)
{
    return finding.new_str.empty() ? finding.error_msg : finding.new_str;
}

// A font name fit for a style attribute: short and without punctuation.
bool IsFontName(const std::string& sName)
{
    return !sName.empty() && sName.size() <= 32 && sName.find_first_of("'\";:<>&{}()") == std::string::npos &&
           sName.find("\xEF\xBC\x9A") == std::string::npos && sName.find("\xE3\x80\x82") == std::string::npos &&
           sName.find("Wrong text id") == std::string::npos;
}

}  // namespace

std::string CDocReviser::CatalogueText(const char* sCode, const char* sDefault) const
{
    return m_pCatalogue ? m_pCatalogue->GetText(sCode) : sDefault;
}

std::string CDocReviser::NoteFont() const
{
    std::string sFont = CatalogueText("100.2", kDefaultFont);
    return IsFontName(sFont) ? sFont : kDefaultFont;
}

void CDocReviser::AddInfoInEnding(std::string& sDoc, bool bHtml)
{
    int nPage = bHtml && m_pDocParser ? PageOf(kDocumentLevel) : -1;
    std::vector<const _tCheckResult*> vecNotes = DocumentLevelRun(nPage);
    m_report.nDocumentLevel += vecNotes.size();
    if (bHtml)
        AddHtmlNotes(sDoc, vecNotes);
    else
        AddDocumentNotes(sDoc, vecNotes);
}

std::vector<const _tCheckResult*> CDocReviser::DocumentLevelRun(int nPage)
{
    const std::vector<_tCheckResult>& vecResults = m_pCheckResult->Results();
    int nFirst = m_nErrIndex;
    while (nFirst > 0 && vecResults[static_cast<size_t>(nFirst - 1)].para_id == kDocumentLevel)
        --nFirst;
    std::vector<const _tCheckResult*> vecNotes;
    for (int i = nFirst; i <= m_nErrIndex; ++i) {
        if (nPage >= 0)
            m_pCheckResult->SetPageNum(static_cast<size_t>(i), nPage);
        vecNotes.push_back(&vecResults[static_cast<size_t>(i)]);
    }
    m_nErrIndex = nFirst;
    return vecNotes;
}

// After the body's last paragraph or table, so the notes never land in a cell.
void CDocReviser::AddDocumentNotes(std::string& sDoc, const std::vector<const _tCheckResult*>& vecNotes) const
{
    size_t nLastPara = sDoc.rfind("</w:p>");
    if (nLastPara == std::string::npos || vecNotes.empty())
        return;
    size_t nAt = nLastPara + 6;
    for (size_t nTable = sDoc.find("</w:tbl>", nAt); nTable != std::string::npos; nTable = sDoc.find("</w:tbl>", nAt))
        nAt = nTable + 8;
    std::string sNotes = NoteParagraph("FF0000", CatalogueText("100.1", kDefaultHeading));
    int nNumber = 1;
    for (const _tCheckResult* pFinding : vecNotes)
        sNotes += NoteParagraph("0000FF", std::to_string(nNumber++) + "." + NoteText(*pFinding));
    sDoc.insert(nAt, sNotes);
}

void CDocReviser::AddHtmlNotes(std::string& sDoc, const std::vector<const _tCheckResult*>& vecNotes) const
{
    std::string sFont = NoteFont();
    sDoc += "\r\n<p class=MsoNormal><span style='font-family:" + sFont +
            "; mso-ascii-font-family:\"Times New Roman\";color:#0070C0'>" +
            CMarkupText::EscapeText(CatalogueText("100.1", kDefaultHeading)) +
            "</span><span lang=EN-US style='mso-fareast-font-family:" + sFont +
            "; color:#0070C0'><o:p></o:p></span></p>\r\n";
    int nNumber = 1;
    for (const _tCheckResult* pFinding : vecNotes) {
        sDoc += "\r\n<p class=MsoNormal><span lang=EN-US style='mso-fareast-font-family:" + sFont + ";color:red'>" +
                std::to_string(nNumber++) + ".</span><span lang=EN-US style='mso-fareast-font-family:" + sFont +
                "; mso-ascii-font-family:\"Times New Roman\";color:red'>" +
                TextNormalize(NoteText(*pFinding), true) + "</span><span lang=EN-US style='mso-fareast-font-family:" +
                sFont + "color:red'><o:p></o:p></span></p>\r\n";
    }
}
