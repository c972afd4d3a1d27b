// Entity handling for the library's own flat XML files.
#include "Utility/EncodingConverter.h"
#include "Utility/XmlText.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Decodes the entity starting at sText[nAmp] ('&'); returns its length, or 0.
size_t DecodeEntity(const std::string& sText, size_t nAmp, std::string& sOut)
{
    size_t nSemi = sText.find(';', nAmp);
    if (nSemi == std::string::npos || nSemi - nAmp > 10)
        return 0;
    std::string sName = sText.substr(nAmp + 1, nSemi - nAmp - 1);
    static const struct { const char* sName; char c; } kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& named : kNamed) {
        if (sName == named.sName) {
            sOut += named.c;
            return nSemi - nAmp + 1;
        }
    }
    if (sName.size() < 2 || sName[0] != '#')
        return 0;
    bool bHex = sName[1] == 'x' || sName[1] == 'X';
    const char* sDigits = sName.c_str() + (bHex ? 2 : 1);
    char* pEnd = nullptr;
    unsigned long nCode = std::strtoul(sDigits, &pEnd, bHex ? 16 : 10);
    if (*sDigits == '\0' || *pEnd != '\0' || nCode == 0 || nCode > 0x10FFFF)
        return 0;
    AppendUtf8(sOut, nCode);
    return nSemi - nAmp + 1;
}

// The replacement of a byte in escaped text ("" drops it), or null when the
// byte stands as it is.
const char* EntityOf(unsigned char c)
{
    if (c >= 0x40 || (c > 0x27 && c != '<' && c != '>'))
        return nullptr;
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\'': return "&apos;";
    case '\t': case '\n': case '\r': case ' ': case '!': case '#': case '$': case '%': return nullptr;
    default: return "";  // a control character XML cannot carry
    }
}

}  // namespace

std::string XmlEscape(const std::string& sText)
{
    std::string sOut;
    sOut.reserve(sText.size() + sText.size() / 16);
    XmlEscapeAppend(sOut, sText);
    return sOut;
}

void XmlEscapeAppend(std::string& sOut, std::string_view sText)
{
    // Every byte that needs care is below 0x40, so eight bytes at a time are
    // passed over while none of them is; plain spans are copied whole.
    const uint64_t kOnes = UINT64_C(0x0101010101010101);
    const char* p = sText.data();
    const char* pEnd = p + sText.size();
    const char* pPlain = p;
    while (p < pEnd) {
        for (uint64_t x = 0; pEnd - p >= 8; p += 8) {
            std::memcpy(&x, p, 8);
            if (((x - kOnes * 0x40) & ~x & (kOnes * 0x80)) != 0)
                break;
        }
        const char* pStop = pEnd - p > 8 ? p + 8 : pEnd;
        for (; p < pStop; ++p) {
            const char* sEntity = EntityOf(static_cast<unsigned char>(*p));
            if (!sEntity)
                continue;
            sOut.append(pPlain, static_cast<size_t>(p - pPlain));
            sOut += sEntity;
            pPlain = p + 1;
        }
    }
    sOut.append(pPlain, static_cast<size_t>(pEnd - pPlain));
}

std::string XmlUnescape(const std::string& sText)
{
    if (sText.find('&') == std::string::npos)
        return sText;
    std::string sOut;
    sOut.reserve(sText.size());
    for (size_t i = 0; i < sText.size(); ++i) {
        size_t nLen = sText[i] == '&' ? DecodeEntity(sText, i, sOut) : 0;
        if (nLen == 0)
            sOut += sText[i];
        else
            i += nLen - 1;
    }
    return sOut;
}

bool XmlElementText(const std::string& sXml, const std::string& sName, size_t nFrom, size_t nLimit,
                    std::string& sOut)
{
    std::string sOpen = "<" + sName + ">";
    size_t nStart = sXml.find(sOpen, nFrom);
    if (nStart == std::string::npos || nStart >= nLimit)
        return false;
    nStart += sOpen.size();
    size_t nEnd = sXml.find("</" + sName + ">", nStart);
    if (nEnd == std::string::npos || nEnd > nLimit)
        return false;
    sOut = XmlUnescape(sXml.substr(nStart, nEnd - nStart));
    return true;
}
