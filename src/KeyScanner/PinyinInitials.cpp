// The first level of GB2312 (B0A1-D7F9) lists its characters by pinyin, so
// the first code of each initial letter is enough to name any character's.
#include "KeyScanner/PinyinInitials.h"

#include <cctype>

#include "Utility/DictEncoding.h"

namespace {

struct _tInitialStart {
    unsigned nCode;
    char cLetter;
};

// First GB2312 code of each initial; no syllable starts with i, u or v.
const _tInitialStart kStarts[] = {
    {0xB0A1, 'a'}, {0xB0C5, 'b'}, {0xB2C1, 'c'}, {0xB4EE, 'd'}, {0xB6EA, 'e'}, {0xB7A2, 'f'},
    {0xB8C1, 'g'}, {0xB9FE, 'h'}, {0xBBF7, 'j'}, {0xBFA6, 'k'}, {0xC0AC, 'l'}, {0xC2E8, 'm'},
    {0xC4C3, 'n'}, {0xC5B6, 'o'}, {0xC5BE, 'p'}, {0xC6DA, 'q'}, {0xC8BB, 'r'}, {0xC8F6, 's'},
    {0xCBFA, 't'}, {0xCDDA, 'w'}, {0xCEF4, 'x'}, {0xD1B9, 'y'}, {0xD4D1, 'z'},
};
const unsigned kLevelOneEnd = 0xD7F9;

char InitialOf(unsigned nCode)
{
    if (nCode < kStarts[0].nCode || nCode > kLevelOneEnd || (nCode & 0xFF) < 0xA1 || (nCode & 0xFF) > 0xFE)
        return 0;
    char cLetter = 0;
    for (const _tInitialStart& start : kStarts) {
        if (nCode < start.nCode)
            break;
        cLetter = start.cLetter;
    }
    return cLetter;
}

}  // namespace

std::string PinyinInitials(const std::string& sWord)
{
    std::string sGb;
    if (!Utf8ToDictText(sWord, sGb))
        return "";
    std::string sInitials;
    bool bChinese = false;
    for (size_t i = 0; i < sGb.size();) {
        auto c = static_cast<unsigned char>(sGb[i]);
        if (c < 0x80) {
            if (!std::isalnum(c))
                return "";
            sInitials += static_cast<char>(std::tolower(c));
            ++i;
            continue;
        }
        if (i + 1 >= sGb.size())
            return "";
        char cLetter = InitialOf(c << 8 | static_cast<unsigned char>(sGb[i + 1]));
        if (!cLetter)
            return "";
        sInitials += cLetter;
        bChinese = true;
        i += 2;
    }
    return bChinese ? sInitials : "";
}
