// The reference list check: every entry of a document's reference list is
// read (CReferenceEntry) and its one problem, if any, becomes a finding of
// the "14.x" family.
#pragma once

#include <cstddef>

#include "Checker/ReferenceDate.h"

class CDocxParser;
class CCheckResult;
struct _tParagraph;

class CReferenceCheck {
public:
    // nToday (YYYYMMDD) bounds the years; tests pass a fixed day.
    explicit CReferenceCheck(int nToday = CReferenceDate::Today()) : m_nToday(nToday) {}

    // One entry: 1 when it passes, -1 when a finding was added. Blank
    // paragraphs pass.
    int CheckReferenceFormat(_tParagraph& paragraph, CDocxParser* pDocxParser, CCheckResult* pCheckResult) const;
    // Every reference entry (level REFERENCE_TEXT) of the reference range
    // the structure recognition stored in the document; the number of
    // findings added.
    size_t CheckReferenceList(CDocxParser& parser, CCheckResult& results) const;

private:
    int m_nToday;
};

// The check of one entry against today's date.
int CheckReferenceFormat(_tParagraph& paragraph, CDocxParser* pDocxParser, CCheckResult* pCheckResult);
