// What one format check works on: the document, where its findings go, the
// report type and the numbered headings found so far. Made afresh for every
// check, so checks running on several threads never share any of it; the
// format checker itself and its templates stay read-only meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Docx/DocxRecords.h"

class CCheckResult;
class CDocModel;
class CDocxParser;
class CNum2FontSize;

// One numbered heading seen while scanning: its level (1..4), its number
// within its parent, its paragraph and its full number text ("2", "2.1").
struct SectionPostion {
    int level = 0;
    int order = 0;
    uint32_t nID = 0;
    std::string chap_id;
};

class CFormatCheckContext {
public:
    // pFontSizes names the sizes in findings (decimal half-points without it).
    CFormatCheckContext(CDocxParser& parser, CCheckResult& results, int nReportType,
                        const CNum2FontSize* pFontSizes = nullptr);

    CDocxParser& Parser() { return m_parser; }
    const CDocModel& Model() const;
    CCheckResult& Results() { return m_results; }
    int ReportType() const { return m_nReportType; }
    std::vector<SectionPostion>& Positions() { return m_vecSectionPosition; }

    // A body entry, null outside the list.
    const _tParagraph* BodyAt(long long nIndex) const;
    // The body or cell paragraph of an id, null when unknown.
    const _tParagraph* Find(uint32_t nParaId) const;
    // The name of a font size ("小四"), or its decimal value.
    std::string FontSizeName(int nSize) const;

    // Adds a finding on pPara (id, page and text taken from it; id 0 and
    // no text without a paragraph).
    void Add(const _tParagraph* pPara, const char* sCode, int nField, int nRevise, const std::string& sOrg,
             const std::string& sNew, uint32_t nOffset = 0);

private:
    CDocxParser& m_parser;
    CCheckResult& m_results;
    int m_nReportType;
    const CNum2FontSize* m_pFontSizes;
    std::vector<SectionPostion> m_vecSectionPosition;
};
