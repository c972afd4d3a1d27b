// iconv is opened per call, so decoding is safe on any number of threads.
#include "Convert/TextDecoder.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

#include "Convert/EncodingRecogniser.h"

bool CTextDecoder::Convert(const std::string& sText, const std::string& sFrom, std::string& sUtf8)
{
    sUtf8.clear();
    iconv_t cd = iconv_open("UTF-8", sFrom.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::vector<char> buf(sText.size() * 4 + 16);
    char* pIn = const_cast<char*>(sText.data());
    size_t nIn = sText.size();
    while (nIn > 0) {
        char* pOut = buf.data();
        size_t nOut = buf.size();
        size_t nDone = iconv(cd, &pIn, &nIn, &pOut, &nOut);
        sUtf8.append(buf.data(), static_cast<size_t>(pOut - buf.data()));
        if (nDone != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // An invalid or incomplete sequence: drop one byte and go on.
        ++pIn;
        --nIn;
    }
    iconv_close(cd);
    return true;
}

std::string CTextDecoder::ToUtf8(const std::string& sText, std::string* pEncoding)
{
    std::string sEncoding;
    std::string sBody = sText;
    if (sText.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        sEncoding = "UTF-8";
        sBody = sText.substr(3);
    } else if (sText.compare(0, 2, "\xFF\xFE") == 0) {
        sEncoding = "UTF-16LE";
        sBody = sText.substr(2);
    } else if (sText.compare(0, 2, "\xFE\xFF") == 0) {
        sEncoding = "UTF-16BE";
        sBody = sText.substr(2);
    } else {
        sEncoding = EncodingRecogniser_Detect(sText);
    }
    if (pEncoding)
        *pEncoding = sEncoding;
    if (sEncoding == "UTF-8")
        return sBody;
    std::string sUtf8;
    if (!Convert(sBody, sEncoding, sUtf8))
        Convert(sBody, "GB18030", sUtf8);
    return sUtf8;
}
