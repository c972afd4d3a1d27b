// Table-of-contents check. A contents line holds its heading's text with
// leaders, tabs and a page number around it, and word processors space
// numbers differently in the two, so both are compared without blanks,
// leaders and the trailing page number.
#include "Checker/ContentsCheck.h"

#include <algorithm>
#include <cctype>

#include "Checker/CheckRecord.h"
#include "Checker/CheckResult.h"
#include "Checker/FormatCheckContext.h"
#include "Docx/DocModel.h"
#include "Utility/NumUtility.h"

namespace {

constexpr int kThesisType = 7;
const char* const kOutdated = "Original Content is outdate, need update manually after download.";

// Blanks and leader characters, ASCII and the common full-width ones.
size_t SkippedLength(const std::string& sText, size_t nPos)
{
    unsigned char c = static_cast<unsigned char>(sText[nPos]);
    if (c == ' ' || c == '\t' || c == '.' || c == '\r' || c == '\n' || c == 0xA0)
        return 1;
    static const char* const kWide[] = {"\xE3\x80\x80", "\xE2\x80\xA6", "\xC2\xB7", "\xEF\xBC\x8E", "\xC2\xA0",
                                        "\xE2\x80\xA2", "\xE3\x83\xBB"};
    for (const char* sWide : kWide) {
        std::string sMark(sWide);
        if (sText.compare(nPos, sMark.size(), sMark) == 0)
            return sMark.size();
    }
    return 0;
}

}  // namespace

std::string CContentsCheck::Comparable(const std::string& sText, bool bContentsLine)
{
    std::string sOut;
    sOut.reserve(sText.size());
    for (size_t i = 0; i < sText.size();) {
        size_t nSkip = SkippedLength(sText, i);
        if (nSkip) {
            i += nSkip;
            continue;
        }
        sOut += sText[i++];
    }
    if (bContentsLine) {
        // The page number (Arabic or Roman) closes the line.
        size_t nEnd = sOut.find_last_not_of("0123456789IVXivx");
        if (nEnd != std::string::npos)
            sOut.resize(nEnd + 1);
    }
    return sOut;
}

bool CContentsCheck::IsListOfCaptions(const std::string& sLine)
{
    // "图2-1 ……", "表 3.2 ……", "Figure 1 ……": a line of the lists of
    // figures and tables that follow the contents.
    static const char* const kLabels[] = {"\xE5\x9B\xBE", "\xE8\xA1\xA8", "Figure", "Table", "Fig."};
    for (const char* sLabel : kLabels) {
        std::string s(sLabel);
        if (sLine.compare(0, s.size(), s) == 0 && sLine.size() > s.size() &&
            std::isdigit(static_cast<unsigned char>(sLine[s.size()])))
            return true;
    }
    return false;
}

bool CContentsCheck::IsNumbered(const std::string& sText)
{
    CNumUtility numbers(true);
    _tSection_Info info;
    numbers.ExtractOrder(sText.c_str(), info, -1);
    return info.order >= 1;
}

bool CContentsCheck::LineNamesHeading(const std::string& sLine, const _tParagraph& head)
{
    std::string sHead = Comparable(head.text, false);
    return !sHead.empty() && (Comparable(sLine, true).find(sHead) != std::string::npos ||
                              Comparable(sLine, false).find(sHead) != std::string::npos);
}

bool CContentsCheck::IsContentUpdated(const CDocModel& model)
{
    // Contents list the headings from some level up, in order; a cover
    // title, the abstract's caption or the contents' own heading set in a
    // heading style are not listed, nor are lists of figures and tables
    // headings. So every contents line must name a heading, in order, and
    // every heading from the first listed one on, down to the deepest level
    // listed, must have its line.
    const std::vector<int>& vecHeads = model.DocStruct();
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    std::vector<char> vecListed(vecHeads.size(), 0);
    size_t nNext = 0;
    int nDeepest = 0;
    for (int nLine : model.ContentStruct()) {
        const std::string& sLine = vecParas[static_cast<size_t>(nLine)].text;
        if (IsListOfCaptions(Comparable(sLine, false)))
            continue;
        size_t k = nNext;
        while (k < vecHeads.size() && !LineNamesHeading(sLine, vecParas[static_cast<size_t>(vecHeads[k])]))
            ++k;
        if (k == vecHeads.size()) {
            // An unnumbered line (独创性声明, Abstract) may name a part
            // that is no heading here, one before the abstract for instance.
            if (!IsNumbered(sLine))
                continue;
            return false;  // a chapter or section that is gone or renamed
        }
        vecListed[k] = 1;
        nDeepest = std::max(nDeepest, vecParas[static_cast<size_t>(vecHeads[k])].level);
        nNext = k + 1;
    }
    size_t nFirst = 0;
    while (nFirst < vecListed.size() && !vecListed[nFirst])
        ++nFirst;
    // Unnumbered headings (the items of an appendix) are often kept out of
    // the contents on purpose; a numbered one is not.
    for (size_t k = nFirst; k < vecHeads.size(); ++k) {
        const _tParagraph& head = vecParas[static_cast<size_t>(vecHeads[k])];
        if (!vecListed[k] && head.level <= nDeepest && IsNumbered(head.text))
            return false;  // a heading added since the contents were made
    }
    return true;
}

void CContentsCheck::Check(CFormatCheckContext& context)
{
    if (context.Model().ContentStruct().empty()) {
        // A document without contents has nothing to update. A thesis must
        // have them, so there they are a missing part.
        if (context.ReportType() == kThesisType && !context.Model().DocStruct().empty()) {
            _tCheckResult record;
            record.para_id = 0xFFFFFFFFu;
            record.error_id = "12.1";
            record.revise_type = REVISE_M;
            record.new_str = "目录";
            context.Results().AddResult(record);
        }
        return;
    }
    if (IsContentUpdated(context.Model()))
        return;
    const std::vector<int>& vecLines = context.Model().ContentStruct();
    const _tParagraph* pBefore = vecLines.empty() ? nullptr : context.BodyAt(vecLines.front() - 1);
    context.Add(pBefore, "1.6", FIELD_CONTENT, REVISE_M, "", kOutdated);
}
