// iconv-based conversions. A descriptor is used by one conversion at a time
// and then kept for the next in a small pool per direction: opening and
// closing one loads and unloads a gconv module each time, which costs and,
// with batch workers converting at once, makes the loader's own bookkeeping
// race between threads.
#include "Utility/EncodingConverter.h"

#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <vector>

namespace {

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

class CIconvPool {
public:
    CIconvPool(const char* sTo, const char* sFrom) : m_sTo(sTo), m_sFrom(sFrom) {}
    CIconvPool(const CIconvPool&) = delete;
    CIconvPool& operator=(const CIconvPool&) = delete;
    ~CIconvPool()
    {
        for (iconv_t cd : m_vecFree)
            iconv_close(cd);
    }

    // A descriptor in its initial state, or kNoDescriptor.
    iconv_t Take()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_vecFree.empty()) {
                iconv_t cd = m_vecFree.back();
                m_vecFree.pop_back();
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                return cd;
            }
        }
        return iconv_open(m_sTo, m_sFrom);
    }

    void Give(iconv_t cd)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vecFree.push_back(cd);
    }

private:
    const char* m_sTo;
    const char* m_sFrom;
    std::mutex m_mutex;
    std::vector<iconv_t> m_vecFree;
};

CIconvPool& GbkPool()
{
    static CIconvPool pool("GBK", "UTF-8");
    return pool;
}

CIconvPool& Utf8Pool()
{
    static CIconvPool pool("UTF-8", "GB18030");
    return pool;
}

bool Convert(CIconvPool& pool, const std::string& sIn, std::string& sOut)
{
    sOut.clear();
    iconv_t cd = pool.Take();
    if (cd == kNoDescriptor)
        return false;
    bool bClean = true;
    char* pIn = const_cast<char*>(sIn.data());
    size_t nInLeft = sIn.size();
    char sBuf[4096];
    while (nInLeft > 0) {
        char* pOut = sBuf;
        size_t nOutLeft = sizeof sBuf;
        size_t r = iconv(cd, &pIn, &nInLeft, &pOut, &nOutLeft);
        sOut.append(sBuf, sizeof sBuf - nOutLeft);
        if (r != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // Invalid or unconvertible sequence (EILSEQ) or a cut one at the end
        // (EINVAL): skip one byte and go on.
        bClean = false;
        ++pIn;
        --nInLeft;
    }
    char* pOut = sBuf;
    size_t nOutLeft = sizeof sBuf;
    iconv(cd, nullptr, nullptr, &pOut, &nOutLeft);
    sOut.append(sBuf, sizeof sBuf - nOutLeft);
    pool.Give(cd);
    return bClean;
}

}  // namespace

bool Utf8ToGbk(const std::string& sUtf8, std::string& sGbk)
{
    return Convert(GbkPool(), sUtf8, sGbk);
}

bool GbkToUtf8(const std::string& sGbk, std::string& sUtf8)
{
    return Convert(Utf8Pool(), sGbk, sUtf8);
}

bool IsValidUtf8(const std::string& sText)
{
    const auto* p = reinterpret_cast<const unsigned char*>(sText.data());
    const unsigned char* pEnd = p + sText.size();
    while (p < pEnd) {
        unsigned char c = *p;
        int nMore = 0;
        unsigned nMin = 0;
        unsigned nCode = 0;
        if (c < 0x80) {
            ++p;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            nMore = 1, nMin = 0x80, nCode = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            nMore = 2, nMin = 0x800, nCode = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            nMore = 3, nMin = 0x10000, nCode = c & 0x07;
        } else {
            return false;
        }
        if (pEnd - p <= nMore)
            return false;
        for (int i = 1; i <= nMore; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            nCode = (nCode << 6) | (p[i] & 0x3F);
        }
        if (nCode < nMin || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF))
            return false;
        p += nMore + 1;
    }
    return true;
}

std::string LocalToUtf8(const std::string& sText)
{
    if (IsValidUtf8(sText))
        return sText;
    std::string sUtf8;
    GbkToUtf8(sText, sUtf8);
    return sUtf8;
}

void AppendUtf8(std::string& sOut, unsigned long nCode)
{
    if (nCode == 0 || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF))
        return;
    if (nCode < 0x80) {
        sOut += static_cast<char>(nCode);
    } else if (nCode < 0x800) {
        sOut += static_cast<char>(0xC0 | (nCode >> 6));
        sOut += static_cast<char>(0x80 | (nCode & 0x3F));
    } else if (nCode < 0x10000) {
        sOut += static_cast<char>(0xE0 | (nCode >> 12));
        sOut += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (nCode & 0x3F));
    } else {
        sOut += static_cast<char>(0xF0 | (nCode >> 18));
        sOut += static_cast<char>(0x80 | ((nCode >> 12) & 0x3F));
        sOut += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (nCode & 0x3F));
    }
}
