// Document lookups for the results; without a document every answer is empty.
#include "Checker/ResultDocument.h"

#include "Docx/DocxParser.h"

uint32_t ResultChapterOf(const CDocxParser* pDoc, uint32_t nParaId)
{
    if (!pDoc)
        return 0;
    int nIndex = pDoc->GetParaIndex(nParaId);
    if (nIndex < 0)
        return 0;
    return static_cast<uint32_t>(pDoc->LocateChapterID(static_cast<unsigned>(nIndex)));
}

std::string ResultParagraphText(CDocxParser* pDoc, uint32_t nParaId)
{
    if (!pDoc)
        return std::string();
    const char* sText = pDoc->GetText(nParaId);
    return sText ? sText : "";
}

void ResultTemplateKeys(const CDocxParser* pDoc, std::string& sOrganization, std::string& sArea,
                        std::string& sArgu)
{
    sOrganization = pDoc ? pDoc->m_keyValOrganization.key_value : "";
    sArea = pDoc ? pDoc->m_keyValArea.key_value : "";
    sArgu = pDoc ? pDoc->m_keyValArgu.key_value : "";
}
