// Windows of paragraphs that overlap (a paragraph and the text-box
// paragraphs inside it) are merged, so a change is always made on the one
// copy that holds both.
#include "Reviser/WindowedRevision.h"

#include <algorithm>

#include "Reviser/ParagraphAddress.h"

namespace {

// The end of the paragraph starting at nStart, past its end tag and any
// paragraph nested in it; NPOS when it has none.
size_t WindowEnd(const std::string& sDoc, size_t nStart)
{
    size_t nEnd = CParagraphAddress::DocOwnEnd(sDoc, nStart);
    if (nEnd == CParagraphAddress::NPOS)
        nEnd = CParagraphAddress::DocEnd(sDoc, nStart);
    if (nEnd == CParagraphAddress::NPOS)
        return nEnd;
    return nEnd + (sDoc.compare(nEnd, 2, "/>") == 0 ? 2 : 6);
}

}  // namespace

bool CWindowedRevision::Apply(const _tCheckResult& finding, const ApplyFn& fnApply)
{
    size_t nStart = CParagraphAddress::DocStart(m_sDoc, finding.para_id);
    if (nStart == CParagraphAddress::NPOS)
        return false;
    size_t nEnd = WindowEnd(m_sDoc, nStart);
    if (nEnd == CParagraphAddress::NPOS)
        return false;
    bool bOverlaps = m_bOpen && nStart < m_current.nEnd && nEnd > m_current.nStart;
    if (!bOverlaps) {
        if (m_bOpen)
            m_vecDone.push_back(std::move(m_current));
        m_current = {nStart, nStart, ""};
        m_bOpen = true;
    }
    if (nStart < m_current.nStart) {
        m_current.sText.insert(0, m_sDoc, nStart, m_current.nStart - nStart);
        m_current.nStart = nStart;
    }
    ExtendTo(nEnd);
    _tCheckResult relative = finding;
    relative.para_id = static_cast<uint32_t>(finding.para_id - m_current.nStart);
    fnApply(m_current.sText, relative);
    return true;
}

void CWindowedRevision::ExtendTo(size_t nEnd)
{
    // A paragraph holding text boxes can reach over windows done before.
    while (!m_vecDone.empty() && m_vecDone.back().nStart < std::max(nEnd, m_current.nEnd)) {
        _tWindow& done = m_vecDone.back();
        if (done.nStart > m_current.nEnd)
            m_current.sText.append(m_sDoc, m_current.nEnd, done.nStart - m_current.nEnd);
        m_current.sText += done.sText;
        m_current.nEnd = done.nEnd;
        m_vecDone.pop_back();
    }
    if (nEnd > m_current.nEnd) {
        m_current.sText.append(m_sDoc, m_current.nEnd, nEnd - m_current.nEnd);
        m_current.nEnd = nEnd;
    }
}

void CWindowedRevision::Finish()
{
    if (m_bOpen)
        m_vecDone.push_back(std::move(m_current));
    m_bOpen = false;
    if (m_vecDone.empty())
        return;
    std::sort(m_vecDone.begin(), m_vecDone.end(),
              [](const _tWindow& a, const _tWindow& b) { return a.nStart < b.nStart; });
    std::string sOut;
    size_t nSize = m_sDoc.size();
    for (const _tWindow& window : m_vecDone)
        nSize += window.sText.size();
    sOut.reserve(nSize);
    size_t nFrom = 0;
    for (const _tWindow& window : m_vecDone) {
        sOut.append(m_sDoc, nFrom, window.nStart - nFrom);
        sOut += window.sText;
        nFrom = window.nEnd;
    }
    sOut.append(m_sDoc, nFrom, std::string::npos);
    m_sDoc.swap(sOut);
    m_vecDone.clear();
}
