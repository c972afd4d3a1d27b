// Order findings from the numbering utility's corrections.
#include "Checker/PartOrderCheck.h"

#include <strings.h>

#include "Checker/CheckRecord.h"
#include "Checker/FormatCheckContext.h"
#include "Checker/SectionNumberText.h"
#include "Utility/NumUtility.h"

namespace {

bool EndsWithNoCase(const std::string& sText, const std::string& sEnd)
{
    return !sEnd.empty() && sText.size() >= sEnd.size() &&
           strcasecmp(sText.c_str() + sText.size() - sEnd.size(), sEnd.c_str()) == 0;
}

}  // namespace

const char* CPartOrderCheck::WrongOrderCode(int nKind)
{
    switch (nKind) {
    case KIND_REFERENCE: return "1.3.15";
    case KIND_FORMULA: return "1.3.14";
    case KIND_FIGURE: return "1.3.1";
    case KIND_TABLE: return "1.3.3";
    default: return "1.3.5";
    }
}

void CPartOrderCheck::Check(CNumUtility& list, const std::string& sChapter, int nKind, int nStart)
{
    list.CheckOrder(0, nStart, sChapter.empty() ? nullptr : sChapter.c_str());
    const std::vector<_tSection_Info>& vecOrders = list.GetOrders();
    for (const _tSection_Info& info : vecOrders) {
        if (info.textNew.empty())
            continue;
        const _tParagraph* pPara = m_context.Find(info.para_id);
        if (info.error_id == "1.3.7" && nKind > 0) {
            m_context.Add(pPara, "1.3.7", FIELD_LEVEL, REVISE_U, std::to_string(nKind), std::to_string(nKind + 1));
            continue;
        }
        std::string sCode = info.order == info.orderNew ? (info.error_id.empty() ? "1.3.6" : info.error_id)
                                                        : WrongOrderCode(nKind);
        std::string sOrg = WrittenNumber(info, false);
        std::string sNew = info.textNew;
        std::string sPost = GbkFieldToUtf8(info.post);
        if (!sPost.empty()) {
            if (EndsWithNoCase(sNew, sPost))
                sNew.resize(sNew.size() - sPost.size());
            else
                sOrg += sPost;
        }
        m_context.Add(pPara, sCode.c_str(), FIELD_TEXT, REVISE_U, sOrg, sNew);
    }
    // A subsection that stands alone under its parent.
    if (nKind >= 3 && vecOrders.size() == 1)
        m_context.Add(m_context.Find(vecOrders[0].para_id), "1.3.11", FIELD_TEXT, REVISE_D,
                      WrittenNumber(vecOrders[0], false), "");
}
