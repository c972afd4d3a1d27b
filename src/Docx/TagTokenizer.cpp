// The walk never looks past its range, so a cut or broken tag ends where the
// range ends; values are read as the substring scanner reads them, up to
// the next quote of the text.
#include "Docx/TagTokenizer.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Bytes that end a tag name: a blank (or any control byte), the end of the
// tag, or a new tag. Readers look at the byte after a name themselves, so
// a control byte there never makes a name they want.
struct _tNameEnds {
    bool ab[256] = {};
    constexpr _tNameEnds()
    {
        for (int c = 0; c <= ' '; ++c)
            ab[c] = true;
        ab[static_cast<unsigned char>('>')] = true;
        ab[static_cast<unsigned char>('/')] = true;
        ab[static_cast<unsigned char>('<')] = true;
    }
};
constexpr _tNameEnds kNameEnds;

// sAttr followed by `="` at nPos of the text; the value runs to the next
// quote of the text (the whole text, as the substring scanner reads it).
std::string_view ValueAt(std::string_view sText, size_t nPos, std::string_view sAttr, bool& bFound)
{
    bFound = false;
    size_t nValue = nPos + sAttr.size() + 2;
    const char* pBase = sText.data();
    if (nValue > sText.size() || std::memcmp(pBase + nPos, sAttr.data(), sAttr.size()) != 0 ||
        pBase[nValue - 2] != '=' || pBase[nValue - 1] != '"')
        return {};
    const void* pQuote = std::memchr(pBase + nValue, '"', sText.size() - nValue);
    if (!pQuote)
        return {};
    bFound = true;
    return sText.substr(nValue, static_cast<size_t>(static_cast<const char*>(pQuote) - pBase) - nValue);
}

const char* FindByte(const char* pFrom, const char* pTo, char c)
{
    if (pFrom >= pTo)
        return nullptr;
    return static_cast<const char*>(std::memchr(pFrom, c, static_cast<size_t>(pTo - pFrom)));
}

// Tags are short, so the two searches below look at 16 bytes a step
// where they can, without a call; the last bytes of a range go one by one.

// The first byte that ends a name in [pFrom, pTo), or pTo.
const char* FindNameEnd(const char* pFrom, const char* pTo)
{
    const char* p = pFrom;
#if defined(__SSE2__)
    const __m128i vBlank = _mm_set1_epi8(' ');
    const __m128i vSlash = _mm_set1_epi8('/');
    const __m128i vOpen = _mm_set1_epi8('<');
    const __m128i vClose = _mm_set1_epi8('>');
    for (; pTo - p >= 16; p += 16) {
        __m128i vBytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i vLow = _mm_cmpeq_epi8(_mm_min_epu8(vBytes, vBlank), vBytes);  // bytes <= ' '
        __m128i vHits = _mm_or_si128(_mm_or_si128(vLow, _mm_cmpeq_epi8(vBytes, vSlash)),
                                     _mm_or_si128(_mm_cmpeq_epi8(vBytes, vOpen), _mm_cmpeq_epi8(vBytes, vClose)));
        int nMask = _mm_movemask_epi8(vHits);
        if (nMask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(nMask));
    }
#endif
    while (p < pTo && !kNameEnds.ab[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

// The first '<' or '>' in [pFrom, pTo), or pTo.
const char* FindTagByte(const char* pFrom, const char* pTo)
{
    const char* p = pFrom;
#if defined(__SSE2__)
    const __m128i vOpen = _mm_set1_epi8('<');
    const __m128i vClose = _mm_set1_epi8('>');
    for (; pTo - p >= 16; p += 16) {
        __m128i vBytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i vHits = _mm_or_si128(_mm_cmpeq_epi8(vBytes, vOpen), _mm_cmpeq_epi8(vBytes, vClose));
        int nMask = _mm_movemask_epi8(vHits);
        if (nMask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(nMask));
    }
#endif
    while (p < pTo && *p != '<' && *p != '>')
        ++p;
    return p;
}

// The next '<' in [pFrom, pTo), or null: the first 16 bytes without a
// call, as the gap between two tags is mostly a line end and some tabs.
const char* FindTagStart(const char* pFrom, const char* pTo)
{
#if defined(__SSE2__)
    if (pTo - pFrom >= 16) {
        __m128i vBytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pFrom));
        int nMask = _mm_movemask_epi8(_mm_cmpeq_epi8(vBytes, _mm_set1_epi8('<')));
        if (nMask != 0)
            return pFrom + __builtin_ctz(static_cast<unsigned>(nMask));
        pFrom += 16;
    }
#endif
    return FindByte(pFrom, pTo, '<');
}

size_t OffsetIn(std::string_view sText, std::string_view sPart)
{
    return static_cast<size_t>(sPart.data() - sText.data());
}

}  // namespace

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
    : m_sText(sText), m_nPos(nFrom), m_nEnd(nEnd < sText.size() ? nEnd : sText.size())
{
}

bool CTagTokenizer::Next(_tTag& tag)
{
    if (m_nPos >= m_nEnd)
        return false;
    const char* pBase = m_sText.data();
    const char* pStop = pBase + m_nEnd;
    const char* pOpen = pBase + m_nPos;
    // Between tags there is often nothing, or a few blanks.
    if (*pOpen != '<')
        pOpen = FindTagStart(pOpen, pStop);
    if (!pOpen) {
        m_nPos = m_nEnd;
        return false;
    }
    const char* p = pOpen + 1;
    tag.nStart = static_cast<size_t>(pOpen - pBase);
    tag.bClosing = p < pStop && *p == '/';
    if (tag.bClosing)
        ++p;
    const char* pName = p;
    p = FindNameEnd(p, pStop);
    tag.sName = std::string_view(pName, static_cast<size_t>(p - pName));
    const char* pAttrs = p;
    // A stray '<' ends the tag before it and starts the next one.
    const char* pEnd = p < pStop && *p == '>' ? p : FindTagByte(p, pStop);  // "<w:r>" needs no search
    tag.bComplete = pEnd < pStop && *pEnd == '>';
    tag.bSelfClosing = tag.bComplete && pEnd > pAttrs && pEnd[-1] == '/';
    tag.sAttrs = std::string_view(pAttrs, static_cast<size_t>(pEnd - pAttrs - tag.bSelfClosing));
    tag.nEnd = static_cast<size_t>((tag.bComplete ? pEnd + 1 : pEnd) - pBase);
    m_nPos = tag.nEnd;
    return true;
}
