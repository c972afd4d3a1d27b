// Runs the reference entry reader over a document's reference list and
// records what it finds.
#include "Checker/ReferenceCheck.h"

#include <algorithm>

#include "Checker/CheckResult.h"
#include "Checker/ReferenceEntry.h"
#include "Docx/DocxParser.h"
#include "Utility/Blanks.h"

int CReferenceCheck::CheckReferenceFormat(_tParagraph& paragraph, CDocxParser* /*pDocxParser*/,
                                          CCheckResult* pCheckResult) const
{
    if (paragraph.IsPlaceholder() || Trim(paragraph.text).empty())
        return 1;
    CReferenceEntry entry(m_nToday);
    const size_t nNumLen = paragraph.num_len > 0 ? static_cast<size_t>(paragraph.num_len) : 0;
    if (entry.Check(paragraph.text, nNumLen))
        return 1;
    if (pCheckResult) {
        _tCheckResult record;
        record.page_num = paragraph.page_num;
        record.para_id = paragraph.id;
        record.error_id = entry.Code();
        record.text = paragraph.text;
        record.field_id = entry.FieldId();
        record.revise_type = entry.ReviseType();
        record.org_str = entry.OrgStr();
        record.new_str = entry.NewStr();
        pCheckResult->AddResult(record);
    }
    return -1;
}

size_t CReferenceCheck::CheckReferenceList(CDocxParser& parser, CCheckResult& results) const
{
    const CDocModel& model = parser.Model();
    const int nStart = model.ReferenceStartIndex();
    const int nLast = model.ReferenceEndIndex();
    const auto& vecParagraphs = model.Paragraphs();
    if (nStart < 0 || nLast < nStart || static_cast<size_t>(nStart) >= vecParagraphs.size())
        return 0;
    const size_t nEnd = std::min(static_cast<size_t>(nLast) + 1, vecParagraphs.size());
    size_t nFound = 0;
    for (size_t i = static_cast<size_t>(nStart); i < nEnd; ++i) {
        // A document whose parts were never recognised keeps the range 0..0;
        // only paragraphs marked as reference entries are entries.
        if (vecParagraphs[i].level != DocLevel::REFERENCE_TEXT)
            continue;
        _tParagraph paragraph = vecParagraphs[i];
        if (CheckReferenceFormat(paragraph, &parser, &results) < 0)
            ++nFound;
    }
    return nFound;
}

int CheckReferenceFormat(_tParagraph& paragraph, CDocxParser* pDocxParser, CCheckResult* pCheckResult)
{
    return CReferenceCheck().CheckReferenceFormat(paragraph, pDocxParser, pCheckResult);
}
