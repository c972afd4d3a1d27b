// Per-check state of the format check and the one way it adds findings.
#include "Checker/FormatCheckContext.h"

#include "Checker/CheckResult.h"
#include "Docx/DocxParser.h"
#include "Utility/Num2FontSize.h"

CFormatCheckContext::CFormatCheckContext(CDocxParser& parser, CCheckResult& results, int nReportType,
                                         const CNum2FontSize* pFontSizes)
    : m_parser(parser), m_results(results), m_nReportType(nReportType), m_pFontSizes(pFontSizes)
{
}

const CDocModel& CFormatCheckContext::Model() const
{
    return m_parser.Model();
}

const _tParagraph* CFormatCheckContext::BodyAt(long long nIndex) const
{
    const std::vector<_tParagraph>& vecParas = Model().Paragraphs();
    if (nIndex < 0 || static_cast<unsigned long long>(nIndex) >= vecParas.size())
        return nullptr;
    return &vecParas[static_cast<size_t>(nIndex)];
}

const _tParagraph* CFormatCheckContext::Find(uint32_t nParaId) const
{
    return Model().Find(nParaId);
}

std::string CFormatCheckContext::FontSizeName(int nSize) const
{
    if (m_pFontSizes)
        return m_pFontSizes->GetFontSizeName(nSize);
    return std::to_string(nSize);
}

void CFormatCheckContext::Add(const _tParagraph* pPara, const char* sCode, int nField, int nRevise,
                              const std::string& sOrg, const std::string& sNew, uint32_t nOffset)
{
    _tCheckResult record;
    if (pPara) {
        record.para_id = pPara->id;
        record.page_num = pPara->page_num;
        record.text = pPara->text;
    }
    record.error_id = sCode;
    record.field_id = nField;
    record.revise_type = nRevise;
    record.org_str = sOrg;
    record.new_str = sNew;
    record.offset = nOffset;
    m_results.AddResult(record);
}
