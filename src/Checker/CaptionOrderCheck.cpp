// Caption order by chapter. Headings are indexed by level once, so each
// caption finds its chapter by a binary search.
#include "Checker/CaptionOrderCheck.h"

#include <algorithm>
#include <limits>

#include "Checker/CheckRecord.h"
#include "Checker/FormatCheckContext.h"
#include "Checker/PartOrderCheck.h"
#include "Checker/SectionNumberText.h"
#include "Docx/DocModel.h"
#include "Utility/NumUtility.h"

namespace {

constexpr int kLevels = 4;

// Caption paragraphs of figures or tables: ascending, each once.
template <typename T>
std::vector<int> CaptionIndexes(const std::vector<T>& vecItems, size_t nParaCount)
{
    std::vector<int> vecIndexes;
    for (const T& item : vecItems) {
        if (item.caption_index != NO_CAPTION && item.caption_index < nParaCount)
            vecIndexes.push_back(static_cast<int>(item.caption_index));
    }
    std::sort(vecIndexes.begin(), vecIndexes.end());
    vecIndexes.erase(std::unique(vecIndexes.begin(), vecIndexes.end()), vecIndexes.end());
    return vecIndexes;
}

}  // namespace

CCaptionOrderCheck::CCaptionOrderCheck(CFormatCheckContext& context) : m_context(context)
{
    std::vector<SectionPostion> vecAll = context.Positions();
    std::stable_sort(vecAll.begin(), vecAll.end(),
                     [](const SectionPostion& a, const SectionPostion& b) { return a.nID < b.nID; });
    // Walking backwards, nNext[l] is the first later heading of level l.
    uint32_t nNext[kLevels + 1];
    std::fill(nNext, nNext + kLevels + 1, std::numeric_limits<uint32_t>::max());
    std::vector<_tHead> vecReversed[kLevels + 1];
    for (size_t k = vecAll.size(); k-- > 0;) {
        const SectionPostion& pos = vecAll[k];
        if (pos.level < 1 || pos.level > kLevels)
            continue;
        uint32_t nEnd = *std::min_element(nNext + 1, nNext + pos.level + 1);
        vecReversed[pos.level].push_back({pos.nID, nEnd, pos.chap_id});
        nNext[pos.level] = pos.nID;
    }
    for (int l = 1; l <= kLevels; ++l)
        m_vecHeads[l].assign(vecReversed[l].rbegin(), vecReversed[l].rend());
}

const CCaptionOrderCheck::_tHead* CCaptionOrderCheck::Containing(int nDepth, uint32_t nId) const
{
    if (nDepth < 1 || nDepth > kLevels)
        return nullptr;
    const std::vector<_tHead>& vecHeads = m_vecHeads[nDepth];
    auto it = std::lower_bound(vecHeads.begin(), vecHeads.end(), nId,
                               [](const _tHead& head, uint32_t nValue) { return head.nID < nValue; });
    if (it == vecHeads.begin())
        return nullptr;
    return &*(it - 1);
}

void CCaptionOrderCheck::CheckFigures()
{
    const CDocModel& model = m_context.Model();
    CheckOrderBase(CaptionIndexes(model.Figures(), model.Paragraphs().size()), CPartOrderCheck::KIND_FIGURE);
}

void CCaptionOrderCheck::CheckTables()
{
    const CDocModel& model = m_context.Model();
    CheckOrderBase(CaptionIndexes(model.Tables(), model.Paragraphs().size()), CPartOrderCheck::KIND_TABLE);
}

void CCaptionOrderCheck::CheckFormulas()
{
    CheckOrderBase(m_context.Model().FormulaIndex(), CPartOrderCheck::KIND_FORMULA);
}

void CCaptionOrderCheck::CheckReferences()
{
    const CDocModel& model = m_context.Model();
    std::vector<int> vecIndexes;
    // Only entries the structure marked as references: the range is unset
    // (0, 0) in documents whose structure was never recognised.
    for (int i = std::max(model.ReferenceStartIndex(), 0); i <= model.ReferenceEndIndex(); ++i) {
        const _tParagraph* pPara = m_context.BodyAt(i);
        if (pPara && pPara->level == DocLevel::REFERENCE_TEXT)
            vecIndexes.push_back(i);
    }
    CheckOrderBase(vecIndexes, CPartOrderCheck::KIND_REFERENCE);
}

void CCaptionOrderCheck::CheckOrderBase(const std::vector<int>& vecIndexes, int nKind)
{
    CNumUtility reader(true);
    std::vector<_tCaption> vecCaptions;
    for (int nIndex : vecIndexes) {
        const _tParagraph* pPara = m_context.BodyAt(nIndex);
        if (!pPara || pPara->IsPlaceholder() || pPara->text.empty())
            continue;
        _tCaption caption;
        caption.nID = pPara->id;
        ReadPartNumber(reader, pPara->text, nKind == CPartOrderCheck::KIND_FORMULA, caption.info);
        caption.pHead = Containing(ChapterDepth(caption.info.chapter_id), caption.nID);
        vecCaptions.push_back(std::move(caption));
    }
    size_t i = 0;
    while (i < vecCaptions.size()) {
        const _tHead* pHead = vecCaptions[i].pHead;
        size_t j = i + 1;
        if (!pHead) {
            // Numbered through the document, or in no chapter we know: one run.
            while (j < vecCaptions.size() && !vecCaptions[j].pHead)
                ++j;
            CheckRun(vecCaptions, i, j, "", nKind);
        } else if (nKind != CPartOrderCheck::KIND_REFERENCE &&
                   !ChapterBeginsWith(vecCaptions[i].info.chapter_id, pHead->sChapter)) {
            WrongChapter(vecCaptions[i], nKind);
        } else {
            while (j < vecCaptions.size() && vecCaptions[j].nID < pHead->nRunEnd)
                ++j;
            CheckRun(vecCaptions, i, j, pHead->sChapter, nKind);
        }
        i = j;
    }
}

void CCaptionOrderCheck::CheckRun(std::vector<_tCaption>& vecCaptions, size_t nFrom, size_t nTo,
                                  const std::string& sChapter, int nKind)
{
    CNumUtility list(true);
    for (size_t k = nFrom; k < nTo; ++k)
        list.AddSections(vecCaptions[k].info, vecCaptions[k].nID);
    CPartOrderCheck(m_context).Check(list, sChapter, nKind, 1);
}

void CCaptionOrderCheck::WrongChapter(const _tCaption& caption, int nKind)
{
    const _tSection_Info& info = caption.info;
    std::string sNew = GbkFieldToUtf8(info.prefix + caption.pHead->sChapter + info.section_sep + info.text);
    m_context.Add(m_context.Find(caption.nID), CPartOrderCheck::WrongOrderCode(nKind), FIELD_TEXT, REVISE_U,
                  WrittenNumber(info, false), sNew);
}
