// The walk never looks past its range, so a cut or broken tag ends where the
// range ends; values are read as the substring scanner reads them, up to
// the next quote of the text.
#include "Docx/TagTokenizer.h"

#include <cstring>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Bytes that end a tag name: a blank, the end of the tag, or a new tag.
// A table, as names are read byte by byte for every tag.
struct _tNameEnds {
    bool ab[256] = {};
    constexpr _tNameEnds()
    {
        for (unsigned char c : {'>', '/', '<', ' ', '\t', '\r', '\n'})
            ab[c] = true;
    }
};
constexpr _tNameEnds kNameEnds;

bool IsNameEnd(char c)
{
    return kNameEnds.ab[static_cast<unsigned char>(c)];
}

// sAttr followed by `="` at nPos of the text; the value runs to the next
// quote of the text (the whole text, as the substring scanner reads it).
std::string_view ValueAt(std::string_view sText, size_t nPos, std::string_view sAttr, bool& bFound)
{
    bFound = false;
    if (sText.compare(nPos, sAttr.size(), sAttr) != 0 || sText.compare(nPos + sAttr.size(), 2, "=\"") != 0)
        return {};
    size_t nValue = nPos + sAttr.size() + 2;
    size_t nQuote = sText.find('"', nValue);
    if (nQuote == std::string_view::npos)
        return {};
    bFound = true;
    return sText.substr(nValue, nQuote - nValue);
}

const char* FindByte(const char* pFrom, const char* pTo, char c)
{
    if (pFrom >= pTo)
        return nullptr;
    return static_cast<const char*>(std::memchr(pFrom, c, static_cast<size_t>(pTo - pFrom)));
}

size_t OffsetIn(std::string_view sText, std::string_view sPart)
{
    return static_cast<size_t>(sPart.data() - sText.data());
}

}  // namespace

bool _tTag::IsOpening(std::string_view sTagName) const
{
    if (bClosing || sName != sTagName)
        return false;
    // The byte after the name is the first of the attributes, or the '>'.
    if (!sAttrs.empty())
        return IsBlank(sAttrs[0]);
    return bComplete && !bSelfClosing;
}

bool _tTag::Is(std::string_view sText, std::string_view sRaw) const
{
    return bComplete && nEnd - nStart == sRaw.size() && sText.compare(nStart, sRaw.size(), sRaw) == 0;
}

std::string_view _tTag::LeadingValue(std::string_view sText, std::string_view sAttr, bool& bFound) const
{
    bFound = false;
    if (sAttrs.size() < sAttr.size() + 3 || sAttrs[0] != ' ')
        return {};
    return ValueAt(sText, OffsetIn(sText, sAttrs) + 1, sAttr, bFound);
}

std::string_view _tTag::Value(std::string_view sText, std::string_view sAttr, bool& bFound) const
{
    // Every `sAttr="` has its '=' right after the name, so the '='s of the
    // attributes are the only places to look.
    bFound = false;
    const char* pBegin = sAttrs.data();
    const char* pEnd = pBegin + sAttrs.size();
    const char* pFrom = pBegin + sAttr.size();
    const char* pEq;
    while ((pEq = FindByte(pFrom, pEnd, '=')) != nullptr) {
        size_t nName = static_cast<size_t>(pEq - pBegin) - sAttr.size();
        if (std::memcmp(pBegin + nName, sAttr.data(), sAttr.size()) == 0) {
            std::string_view sValue = ValueAt(sText, OffsetIn(sText, sAttrs) + nName, sAttr, bFound);
            if (bFound)
                return sValue;
        }
        pFrom = pEq + 1;
    }
    return {};
}

CTagTokenizer::CTagTokenizer(std::string_view sText, size_t nFrom, size_t nEnd)
    : m_sText(sText), m_nPos(nFrom), m_nEnd(nEnd < sText.size() ? nEnd : sText.size()),
      m_pNextOpen(nullptr)
{
}

bool CTagTokenizer::Next(_tTag& tag)
{
    if (m_nPos >= m_nEnd)
        return false;
    const char* pBase = m_sText.data();
    const char* pStop = pBase + m_nEnd;
    const char* pOpen = m_pNextOpen;
    if (!pOpen || pOpen < pBase + m_nPos)
        pOpen = FindByte(pBase + m_nPos, pStop, '<');
    if (!pOpen || pOpen == pStop) {
        m_nPos = m_nEnd;
        return false;
    }
    const char* p = pOpen + 1;
    tag.nStart = static_cast<size_t>(pOpen - pBase);
    tag.bClosing = p < pStop && *p == '/';
    if (tag.bClosing)
        ++p;
    const char* pName = p;
    while (p < pStop && !IsNameEnd(*p))
        ++p;
    tag.sName = std::string_view(pName, static_cast<size_t>(p - pName));
    const char* pAttrs = p;
    // The next '<' bounds this tag and starts the next one.
    m_pNextOpen = FindByte(p, pStop, '<');
    const char* pLimit = m_pNextOpen ? m_pNextOpen : pStop;
    const char* pClose = FindByte(p, pLimit, '>');
    tag.bComplete = pClose != nullptr;
    const char* pAttrsEnd = pClose ? pClose : pLimit;
    tag.bSelfClosing = tag.bComplete && pAttrsEnd > pAttrs && pAttrsEnd[-1] == '/';
    tag.sAttrs = std::string_view(pAttrs, static_cast<size_t>(pAttrsEnd - pAttrs - tag.bSelfClosing));
    tag.nEnd = static_cast<size_t>((pClose ? pClose + 1 : pLimit) - pBase);
    m_nPos = tag.nEnd;
    if (!m_pNextOpen)
        m_pNextOpen = pStop;  // no tag left: the next call ends at once
    return true;
}
