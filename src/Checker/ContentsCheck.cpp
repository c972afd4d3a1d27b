// Table-of-contents check. A contents line holds its heading's text with
// leaders, tabs and a page number around it, and word processors space
// numbers differently in the two, so both are compared without blanks,
// leaders and the trailing page number.
#include "Checker/ContentsCheck.h"

#include "Checker/CheckRecord.h"
#include "Checker/CheckResult.h"
#include "Checker/FormatCheckContext.h"
#include "Docx/DocModel.h"

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

bool CContentsCheck::IsContentUpdated(const CDocModel& model)
{
    const std::vector<int>& vecHeads = model.DocStruct();
    const std::vector<int>& vecLines = model.ContentStruct();
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    if (vecHeads.size() != vecLines.size())
        return false;
    for (size_t i = 0; i < vecHeads.size(); ++i) {
        const _tParagraph& head = vecParas[static_cast<size_t>(vecHeads[i])];
        const _tParagraph& line = vecParas[static_cast<size_t>(vecLines[i])];
        std::string sHead = Comparable(head.text, false);
        if (Comparable(line.text, true).find(sHead) == std::string::npos &&
            Comparable(line.text, false).find(sHead) == std::string::npos)
            return false;
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
