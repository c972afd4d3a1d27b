// Building, saving and loading the core dictionary. The words themselves go
// into the library's double-array dictionary and word list; only the
// frequencies and tags need a file of their own (CoreDict.attr: the tag
// count and names, the word count, a frequency and a tag index per id).
#include "Segmenter/CoreDict.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "Global/Globals.h"
#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"
#include "Utility/WordListText.h"

namespace {

const char* const kPdatFile = "CoreDict.pdat";
const char* const kWordListFile = "CoreDict.wordlist";
const char* const kAttrFile = "CoreDict.attr";
const size_t kMaxTags = 255;
const uint64_t kMaxTagLength = 32;

// "word freq [tag]": false when the line holds no such entry.
bool ParseCoreLine(const std::string& sLine, std::string& sWord, int32_t& nFreq, std::string& sTag)
{
    std::istringstream fields(sLine);
    std::string sFreq;
    if (!(fields >> sWord >> sFreq))
        return false;
    char* pEnd = nullptr;
    long nValue = std::strtol(sFreq.c_str(), &pEnd, 10);
    if (*pEnd != '\0' || nValue < 0 || nValue > 0x7FFFFFFF)
        return false;
    nFreq = static_cast<int32_t>(nValue);
    if (!(fields >> sTag) || sTag.size() > kMaxTagLength)
        sTag = "x";
    return true;
}

}  // namespace

CCoreDict::CCoreDict() : m_dict(PDAT_MODE_BYTE), m_words(false, &m_dict) {}

void CCoreDict::Clear()
{
    m_dict.SetEmpty();
    m_words.AddWordInit();
    m_words.AddWordComplete();
    m_vecFreq.clear();
    m_vecTag.clear();
    m_vecTagNames.clear();
    m_vecLogProb.clear();
    m_fUnknownLogProb = 0.0f;
}

int CCoreDict::TagIndex(const std::string& sTag)
{
    for (size_t i = 0; i < m_vecTagNames.size(); ++i)
        if (m_vecTagNames[i] == sTag)
            return static_cast<int>(i);
    if (m_vecTagNames.size() >= kMaxTags)
        return TagIndex("x");
    m_vecTagNames.push_back(sTag);
    return static_cast<int>(m_vecTagNames.size() - 1);
}

int CCoreDict::BuildFromText(const std::string& sText)
{
    Clear();
    m_dict.AddWordInit();
    std::vector<std::string> vecWords;
    std::string sWord, sTag;
    int32_t nFreq = 0;
    for (const std::string& sLine : SplitTextLines(sText)) {
        if (!ParseCoreLine(sLine, sWord, nFreq, sTag))
            continue;
        int nId = m_dict.AddWord(sWord.c_str());
        if (nId < 0)
            continue;
        size_t nIndex = static_cast<size_t>(nId);
        if (nIndex >= m_vecFreq.size()) {
            m_vecFreq.resize(nIndex + 1, 0);
            m_vecTag.resize(nIndex + 1, 0);
            vecWords.resize(nIndex + 1);
        }
        m_vecFreq[nIndex] = nFreq;
        m_vecTag[nIndex] = static_cast<uint8_t>(TagIndex(sTag));
        vecWords[nIndex] = sWord;
    }
    m_dict.AddWordComplete();
    m_words.Import(vecWords, &m_dict);
    if (m_vecTagNames.empty())
        TagIndex("x");
    ComputeLogProbs();
    return static_cast<int>(m_vecFreq.size());
}

void CCoreDict::ComputeLogProbs()
{
    double dTotal = 0.0;
    for (int32_t nFreq : m_vecFreq)
        dTotal += nFreq;
    double dLogTotal = std::log(dTotal > 1.0 ? dTotal : 1.0);
    m_vecLogProb.resize(m_vecFreq.size());
    for (size_t i = 0; i < m_vecFreq.size(); ++i)
        m_vecLogProb[i] = static_cast<float>(std::log(m_vecFreq[i] > 1 ? m_vecFreq[i] : 1) - dLogTotal);
    m_fUnknownLogProb = static_cast<float>(-dLogTotal);
}

std::string CCoreDict::SaveAttributes() const
{
    CBinaryWriter writer;
    writer.Write(static_cast<uint32_t>(m_vecTagNames.size()));
    for (const std::string& sTag : m_vecTagNames)
        writer.WriteSizedString(sTag);
    writer.Write(static_cast<uint32_t>(m_vecFreq.size()));
    for (int32_t nFreq : m_vecFreq)
        writer.Write(nFreq);
    writer.WriteBytes(std::string(m_vecTag.begin(), m_vecTag.end()));
    return writer.Data();
}

bool CCoreDict::LoadAttributes(const std::string& sData)
{
    CBinaryReader reader(sData);
    uint32_t nTags = 0;
    if (!reader.Read(nTags) || nTags == 0 || nTags > kMaxTags)
        return false;
    std::vector<std::string> vecTags(nTags);
    for (std::string& sTag : vecTags)
        if (!reader.ReadSizedString(sTag) || sTag.size() > kMaxTagLength)
            return false;
    uint32_t nCount = 0;
    if (!reader.Read(nCount) || reader.Remaining() != static_cast<uint64_t>(nCount) * 5)
        return false;
    std::vector<int32_t> vecFreq(nCount);
    for (int32_t& nFreq : vecFreq)
        if (!reader.Read(nFreq) || nFreq < 0)
            return false;
    std::string sTags;
    reader.ReadBytes(nCount, sTags);
    std::vector<uint8_t> vecTag(sTags.begin(), sTags.end());
    for (uint8_t nTag : vecTag)
        if (nTag >= nTags)
            return false;
    m_vecTagNames = std::move(vecTags);
    m_vecFreq = std::move(vecFreq);
    m_vecTag = std::move(vecTag);
    return true;
}

bool CCoreDict::Save(const std::string& sDir, std::string& sError) const
{
    if (!m_dict.Save(JoinPath(sDir, kPdatFile).c_str()) || !m_words.Save(JoinPath(sDir, kWordListFile).c_str())) {
        sError = g_sLastErrorMessage;
        return false;
    }
    if (!WriteFileAtomic(JoinPath(sDir, kAttrFile), SaveAttributes())) {
        sError = "cannot write " + JoinPath(sDir, kAttrFile);
        return false;
    }
    return true;
}

bool CCoreDict::Load(const std::string& sDir, std::string& sError)
{
    Clear();
    std::string sAttrPath = JoinPath(sDir, kAttrFile), sAttr;
    if (!m_dict.Load(JoinPath(sDir, kPdatFile).c_str()) || !m_words.Load(JoinPath(sDir, kWordListFile).c_str())) {
        sError = g_sLastErrorMessage;
    } else if (m_dict.GetMode() != PDAT_MODE_BYTE) {
        sError = JoinPath(sDir, kPdatFile) + " is not a byte-mode dictionary";
    } else if (!ReadWholeFile(sAttrPath, sAttr)) {
        sError = "cannot read " + sAttrPath;
    } else if (!LoadAttributes(sAttr)) {
        sError = sAttrPath + " is truncated or corrupt";
    } else if (m_vecFreq.size() != m_dict.GetItemCount() ||
               static_cast<size_t>(m_words.GetBound()) != m_vecFreq.size()) {
        sError = "the core dictionary files in " + sDir + " do not belong together";
    } else {
        ComputeLogProbs();
        return true;
    }
    Clear();
    return false;
}

int CCoreDict::Find(const char* sWord, size_t nLen) const
{
    if (!sWord || nLen == 0 || nLen > 0x7FFFFFFFu)
        return -1;
    int nId = m_dict.Find(sWord, static_cast<unsigned>(nLen));
    return IsId(nId) ? nId : -1;
}

const std::string& CCoreDict::Tag(int nId) const
{
    static const std::string s_sEmpty;
    return IsId(nId) ? m_vecTagNames[m_vecTag[static_cast<size_t>(nId)]] : s_sEmpty;
}
