// Document lookups for the results; without a document every answer is empty.
#include "Checker/ResultDocument.h"

uint32_t ResultChapterOf(const CDocxParser* pDoc, uint32_t /*nParaId*/)
{
    (void)pDoc;
    return 0;
}

std::string ResultParagraphText(const CDocxParser* pDoc, uint32_t /*nParaId*/)
{
    (void)pDoc;
    return std::string();
}

void ResultTemplateKeys(const CDocxParser* pDoc, std::string& sOrganization, std::string& sArea,
                        std::string& sArgu)
{
    (void)pDoc;
    sOrganization.clear();
    sArea.clear();
    sArgu.clear();
}
