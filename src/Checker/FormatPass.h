// The comparison of every paragraph (headers, footers, body, table cells)
// with a template: fonts, font sizes, line spacing and heading-number
// patterns, and the required parts the document must hold. The template is
// only read; the parts found are kept here, so one template serves any
// number of checks at once.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

struct _tFormat;
struct _tParagraph;
class CDocFormat;
class CFormatCheckContext;

class CFormatPass {
public:
    // bBodyFormat also compares body text (level 0) with the template's body
    // distribution; without it body text is only searched for required parts.
    CFormatPass(CFormatCheckContext& context, const CDocFormat& format, bool bBodyFormat);

    // Every paragraph, then the missing required parts.
    void Run();
    // One paragraph: required parts it holds, then its format.
    void CheckFormatOnParagraph(const _tParagraph& para);
    // A "12.1" finding on nParaId for every required part not seen; their count.
    int CheckRequired(uint32_t nParaId);

private:
    bool IsCompared(int nLevel) const;
    const _tFormat* FormatFor(int nLevel);
    void CheckLineSpace(const _tParagraph& para, const _tFormat& format);
    void AddLineSpace(const _tParagraph& para, int nExpected);
    void CheckFontSize(const _tParagraph& para, const _tFormat& format);
    void CheckFont(const _tParagraph& para, const _tFormat& format);
    void CheckNumbering(const _tParagraph& para, const _tFormat& format);

    CFormatCheckContext& m_context;
    const CDocFormat& m_format;
    bool m_bBodyFormat;
    std::vector<char> m_vecFound;        // per required part
    std::set<int> m_setReportedLevels;  // levels already logged as missing
    bool m_bInBody = true;               // past the first chapter heading (or none)
};
