// What the results need to know of the checked document: the chapter a
// paragraph belongs to, a paragraph's text and the template selection keys.
#pragma once

#include <cstdint>
#include <string>

class CDocxParser;

// Paragraph id of the chapter heading that holds the paragraph, 0 before
// the first chapter or without a document.
uint32_t ResultChapterOf(const CDocxParser* pDoc, uint32_t nParaId);
// Text of a paragraph ("" when unknown or without a document).
std::string ResultParagraphText(CDocxParser* pDoc, uint32_t nParaId);
// The organisation, area and argument values found in the document.
void ResultTemplateKeys(const CDocxParser* pDoc, std::string& sOrganization, std::string& sArea,
                        std::string& sArgu);
