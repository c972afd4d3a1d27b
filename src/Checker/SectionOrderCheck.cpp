// Chapter scan and the section-order walk. Each heading is read once per
// level it is examined at, and chapter lookups are binary searches, so the
// walk stays linear in the number of headings.
#include "Checker/SectionOrderCheck.h"

#include <algorithm>
#include <vector>

#include "Checker/CheckRecord.h"
#include "Checker/FormatCheckContext.h"
#include "Checker/PartOrderCheck.h"
#include "Checker/SectionNumberText.h"
#include "Docx/DocModel.h"
#include "Docx/DocxParser.h"
#include "Utility/NumUtility.h"

namespace {

constexpr size_t kLongHeadingBytes = 120;
constexpr int kNoHeading = 1000;
constexpr int kDeepestLevel = 4;

// The number a chapter goes by: its corrected number when it has one.
int ChapterNumber(const _tSection_Info& info)
{
    return info.orderNew != 0 ? info.orderNew : info.order;
}

}  // namespace

int CSectionOrderCheck::LevelAt(size_t nHeading) const
{
    const _tParagraph* pPara = m_context.BodyAt(m_context.Model().DocStruct()[nHeading]);
    return pPara ? pPara->level : kNoHeading;
}

std::string CSectionOrderCheck::ChapterOf(int nBodyIndex) const
{
    const std::vector<unsigned>& vecStarts = m_context.Model().ChapterParaIndexes();
    const std::vector<int>& vecIds = m_context.Model().ChapterIds();
    auto it = std::upper_bound(vecStarts.begin(), vecStarts.end(), static_cast<unsigned>(nBodyIndex));
    size_t nCount = static_cast<size_t>(it - vecStarts.begin());
    if (nCount == 0 || nCount > vecIds.size())
        return std::string();
    return std::to_string(vecIds[nCount - 1]);
}

void CSectionOrderCheck::ScanChapter()
{
    m_context.Positions().clear();
    m_context.Parser().SetChapters({}, {});
    const std::vector<int> vecHeads = m_context.Model().DocStruct();
    CNumUtility reader(true);
    CNumUtility chapters(true);
    std::vector<int> vecChapterIndexes;
    for (int nIndex : vecHeads) {
        const _tParagraph* pPara = m_context.BodyAt(nIndex);
        if (!pPara)
            continue;
        _tSection_Info info;
        int nFormat = reader.ExtractOrder(pPara->text.c_str(), info, -1);
        if (pPara->text.size() > kLongHeadingBytes && nFormat == -1) {
            m_context.Add(pPara, "1.3.9", FIELD_LEVEL, REVISE_D, std::to_string(pPara->level), "");
            m_context.Parser().SetHeadingLevel(static_cast<size_t>(nIndex), kNoHeading);
            continue;
        }
        if (pPara->level != 1)
            continue;
        // Only a number of two or more parts (1.1) shows a chapter heading to
        // be a section; unnumbered and bracketed chapters stay chapters.
        int nDepth = std::min(NumberDepth(info), kDeepestLevel);
        if (nFormat != -1 && nDepth >= 2) {
            m_context.Add(pPara, "1.3.7", FIELD_LEVEL, REVISE_U, "1", std::to_string(nDepth));
            m_context.Parser().SetHeadingLevel(static_cast<size_t>(nIndex), nDepth);
            continue;
        }
        chapters.AddSections(info, pPara->id);
        vecChapterIndexes.push_back(nIndex);
    }
    CPartOrderCheck(m_context).Check(chapters, "", 1, 1);
    std::vector<int> vecIds;
    std::vector<unsigned> vecParaIndexes;
    const std::vector<_tSection_Info>& vecOrders = chapters.GetOrders();
    for (size_t k = 0; k < vecOrders.size(); ++k) {
        int nNumber = ChapterNumber(vecOrders[k]);
        if (vecOrders[k].error_id == "1.3.7" || nNumber <= 0)
            continue;
        vecIds.push_back(nNumber);
        vecParaIndexes.push_back(static_cast<unsigned>(vecChapterIndexes[k]));
        m_context.Positions().push_back({1, nNumber, vecOrders[k].para_id, std::to_string(nNumber)});
    }
    m_context.Parser().SetChapters(std::move(vecIds), std::move(vecParaIndexes));
}

void CSectionOrderCheck::CheckAllSections()
{
    size_t nCount = m_context.Model().DocStruct().size();
    size_t i = 0;
    while (i < nCount)
        i = std::max(CheckSectionOrder(i, 2, ""), i + 1);
}

bool CSectionOrderCheck::CorrectTooHigh(size_t nHeading, int nLevel, int nDepth, int nFormat)
{
    if (m_context.ReportType() == 4 || nFormat == -1 || nDepth == -1 || nDepth == 1)
        return false;
    int nNew = std::min(nDepth, kDeepestLevel);
    if (nNew <= nLevel)
        return false;
    int nIndex = m_context.Model().DocStruct()[nHeading];
    const _tParagraph* pPara = m_context.BodyAt(nIndex);
    m_context.Add(pPara, "1.3.7", FIELD_LEVEL, REVISE_U, std::to_string(nLevel), std::to_string(nNew));
    return m_context.Parser().SetHeadingLevel(static_cast<size_t>(nIndex), nNew);
}

size_t CSectionOrderCheck::CheckSectionOrder(size_t nStart, int nLevel, const std::string& sChapterIn)
{
    if (nLevel < 1 || nLevel > kDeepestLevel)
        return nStart + 1;
    const std::vector<int>& vecHeads = m_context.Model().DocStruct();
    size_t nCount = vecHeads.size();
    size_t i = nStart;
    while (i < nCount && LevelAt(i) < nLevel)
        ++i;
    std::string sChapter = sChapterIn;
    if (nLevel == 2 && i < nCount)
        sChapter = ChapterOf(vecHeads[i]);
    CNumUtility reader(true);
    CNumUtility list(true);
    std::string sLastNumber;  // full number of the last heading of this run
    while (i < nCount) {
        int nHeadLevel = LevelAt(i);
        if (nHeadLevel == kNoHeading || nHeadLevel < 1) {
            ++i;
            continue;
        }
        if (nHeadLevel < nLevel)
            break;
        if (nHeadLevel > nLevel) {
            i = std::max(CheckSectionOrder(i, nHeadLevel, sLastNumber.empty() ? sChapter : sLastNumber), i + 1);
            continue;
        }
        const _tParagraph* pPara = m_context.BodyAt(vecHeads[i]);
        _tSection_Info info;
        int nFormat = reader.ExtractOrder(pPara->text.c_str(), info, -1);
        if (CorrectTooHigh(i, nLevel, NumberDepth(info), nFormat))
            continue;  // looked at again as the deeper heading it is
        list.AddSections(info, pPara->id);
        if (info.order > 0) {
            std::string sSep = info.section_sep.empty() || info.section_sep.size() > 1 ? "." : info.section_sep;
            // Without a chapter from above, the heading's own chapter part stands.
            const std::string& sBase = sChapter.empty() ? info.chapter_id : sChapter;
            sLastNumber = sBase.empty() ? std::to_string(info.order) : sBase + sSep + std::to_string(info.order);
            m_context.Positions().push_back({nLevel, info.order, pPara->id, sLastNumber});
        }
        ++i;
    }
    int nFirst = m_context.ReportType() == 4 && nLevel == 3 ? -1 : 1;
    CPartOrderCheck(m_context).Check(list, sChapter, nLevel, nFirst);
    return i;
}
