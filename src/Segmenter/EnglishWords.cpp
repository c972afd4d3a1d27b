// The English word list, folded to lower case on both sides so a word at
// the start of a sentence or in capitals still counts as known.
#include "Segmenter/EnglishWords.h"

#include "Global/Globals.h"
#include "Utility/FileUtility.h"
#include "Utility/WordListText.h"

namespace {

const char* const kEnglishFile = "English.pdat";
const size_t kMaxWordLength = 64;

std::string LowerAscii(const char* sText, size_t nLen)
{
    std::string sLower(sText, nLen);
    for (char& c : sLower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return sLower;
}

}  // namespace

CEnglishWords::CEnglishWords() : m_dict(PDAT_MODE_BYTE) {}

int CEnglishWords::BuildFromText(const std::string& sText)
{
    m_dict.AddWordInit();
    for (const std::string& sLine : SplitTextLines(sText)) {
        size_t nEnd = sLine.find_last_not_of(" \t\r");
        if (nEnd == std::string::npos || nEnd >= kMaxWordLength || sLine.find(' ') < nEnd)
            continue;
        m_dict.AddWord(LowerAscii(sLine.data(), nEnd + 1).c_str());
    }
    m_dict.AddWordComplete();
    return static_cast<int>(m_dict.GetItemCount());
}

bool CEnglishWords::Save(const std::string& sDir, std::string& sError) const
{
    if (m_dict.Save(JoinPath(sDir, kEnglishFile).c_str()))
        return true;
    sError = g_sLastErrorMessage;
    return false;
}

bool CEnglishWords::Load(const std::string& sDir, std::string& sError)
{
    if (!m_dict.Load(JoinPath(sDir, kEnglishFile).c_str()))
        sError = g_sLastErrorMessage;
    else if (m_dict.GetMode() != PDAT_MODE_BYTE)
        sError = JoinPath(sDir, kEnglishFile) + " is not a byte-mode dictionary";
    else
        return true;
    m_dict.SetEmpty();
    return false;
}

bool CEnglishWords::Contains(const char* sWord, size_t nLen) const
{
    if (!sWord || nLen == 0 || nLen > kMaxWordLength)
        return false;
    return m_dict.Find(LowerAscii(sWord, nLen)) >= 0;
}
