// Turns plain text of any encoding into UTF-8: the encoding is recognised
// (byte-order mark, UTF-8 check, then the encoding recogniser) and converted
// with iconv.
#pragma once

#include <string>

class CTextDecoder {
public:
    // The text as UTF-8 (byte-order mark removed). Bytes the source encoding
    // cannot decode are dropped. The encoding used goes to *pEncoding.
    static std::string ToUtf8(const std::string& sText, std::string* pEncoding = nullptr);
    // Converts from a named encoding; false when iconv does not know it.
    static bool Convert(const std::string& sText, const std::string& sFrom, std::string& sUtf8);
};
