// Word lists and their ".wordlist" file: size, bound, bound + 1 text
// offsets, the block size and the text block (scrambled when asked).
#include "Utility/WordList.h"

#include <cstdio>
#include <cstring>

#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/DataFile.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/PDAT.h"
#include "Utility/Scrambler.h"
#include "Utility/WordListText.h"

CWordList::CWordList(bool bEncript, const CPDAT* pDict) : m_pDict(pDict), m_bEncript(bEncript) {}

CWordList::~CWordList() = default;

void CWordList::AddWordInit()
{
    m_nSize = 0;
    m_nBound = 0;
    m_pData.clear();
    m_pWordListBuf.clear();
    // No reservation up front: most lists are small, and growth is amortised.
    m_vecPair.clear();
    m_bAddCompleted = false;
}

int CWordList::AddWord(const char* sText, int nId)
{
    if (!sText || m_bAddCompleted)
        return -1;
    if (nId < 0) {
        WriteLog(std::string(sText) + " is not in the dictionary", nullptr, false);
        return -1;
    }
    size_t nLen = std::strlen(sText);
    if (m_pWordListBuf.size() + nLen + 1 > 0x7FFFFFFFu || nId == 0x7FFFFFFF)
        return -1;  // offsets and the bound are int32 in the file
    m_vecPair.push_back({nId, static_cast<int32_t>(m_pWordListBuf.size())});
    m_pWordListBuf.append(sText, nLen).push_back('\0');
    if (nId + 1 > m_nBound)
        m_nBound = nId + 1;
    ++m_nSize;
    return nId;
}

int CWordList::AddWord(const char* sText)
{
    if (!sText)
        return -1;
    if (std::strncmp(sText, "\xEF\xBB\xBF", 3) == 0)
        sText += 3;
    return AddWord(sText, m_pDict ? m_pDict->Find(sText) : -1);
}

std::vector<int32_t> CWordList::BuildOffsets() const
{
    std::vector<int32_t> vecOffsets(static_cast<size_t>(m_nBound) + 1, 0);
    for (const word_elem& pair : m_vecPair)
        vecOffsets[static_cast<size_t>(pair.handle)] = pair.nWordIndex;
    return vecOffsets;
}

void CWordList::AddWordComplete()
{
    if (m_bAddCompleted)
        return;
    m_pData = BuildOffsets();
    m_vecPair.clear();
    m_vecPair.shrink_to_fit();
    m_bAddCompleted = true;
}

const char* CWordList::GetWord(int nId) const
{
    if (nId < 0 || nId >= m_nBound || static_cast<size_t>(nId) >= m_pData.size())
        return "";
    return m_pWordListBuf.c_str() + m_pData[static_cast<size_t>(nId)];
}

bool CWordList::LoadFromBuffer(const std::string& sData)
{
    CBinaryReader reader(sData);
    uint32_t nSize = 0;
    int32_t nBound = 0;
    if (!reader.Read(nSize) || !reader.Read(nBound) || nBound < 0 || nBound == 0x7FFFFFFF ||
        reader.Remaining() < (static_cast<uint64_t>(nBound) + 1) * sizeof(int32_t))
        return false;
    std::vector<int32_t> vecOffsets(static_cast<size_t>(nBound) + 1);
    for (int32_t& nOffset : vecOffsets)
        reader.Read(nOffset);
    int32_t nDataSize = 0;
    std::string sBlock;
    if (!reader.Read(nDataSize) || nDataSize < 0 || !reader.ReadBytes(static_cast<size_t>(nDataSize), sBlock) ||
        !reader.AtEnd())
        return false;
    // An offset may point at the very end: that reads as an empty text.
    for (int32_t nOffset : vecOffsets)
        if (nOffset < 0 || nOffset > nDataSize)
            return false;
    if (m_bEncript)
        ScrambleString(sBlock);
    m_nSize = nSize;
    m_nBound = nBound;
    m_pData = std::move(vecOffsets);
    m_pWordListBuf = std::move(sBlock);
    m_vecPair.clear();
    m_bAddCompleted = true;
    return true;
}

std::string CWordList::SaveToBuffer() const
{
    CBinaryWriter writer;
    writer.Write(static_cast<uint32_t>(m_nSize));
    writer.Write(m_nBound);
    std::vector<int32_t> vecOffsets = m_bAddCompleted ? m_pData : BuildOffsets();
    vecOffsets.resize(static_cast<size_t>(m_nBound) + 1, 0);
    for (int32_t nOffset : vecOffsets)
        writer.Write(nOffset);
    writer.Write(static_cast<int32_t>(m_pWordListBuf.size()));
    std::string sBlock = m_pWordListBuf;
    if (m_bEncript)
        ScrambleString(sBlock);
    writer.WriteBytes(sBlock);
    return writer.Data();
}

int CWordList::Load(const char* sFilename)
{
    std::string sData;
    if (!ReadDataFile(sFilename, sData))
        return 0;
    return LoadFromBuffer(sData) ? 1 : CorruptDataFile(sFilename, "word list");
}

int CWordList::Save(const char* sFilename) const
{
    return WriteDataFile(sFilename ? sFilename : "", SaveToBuffer()) ? 1 : 0;
}

int CWordList::ImportFromText(const std::string& sText, const CPDAT* pDict, std::string* pExport, bool bProgress)
{
    AddWordInit();
    m_pDict = pDict;
    std::string sExport;
    int nLine = 0;
    for (const std::string& sLine : SplitTextLines(sText)) {
        if (bProgress && ++nLine % 100 == 0) {
            std::printf("Line %d\r", nLine);
            std::fflush(stdout);
        }
        std::string sEntry = ParseWordListEntry(sLine);
        if (sEntry.empty())
            continue;
        sExport += FormatWordListEntry(sEntry) + "\n";
        AddWord(sEntry.c_str(), pDict ? pDict->Find(sEntry) : -1);
    }
    AddWordComplete();
    if (pExport)
        *pExport = std::move(sExport);
    return static_cast<int>(m_nSize);
}

int CWordList::Import(const char* sFilename, const CPDAT* pDict)
{
    std::string sOpen;
    std::string sText;
    if (!ReadDataFile(sFilename, sText, &sOpen))
        return 0;
    std::string sExport;
    int nCount = ImportFromText(sText, pDict, &sExport, true);
    if (!WriteDataFile(sOpen + "_wordlist_export.txt", sExport))
        return 0;
    return nCount;
}

int CWordList::Import(const std::vector<std::string>& vecWords, const CPDAT* pDict)
{
    AddWordInit();
    m_pDict = pDict;
    for (const std::string& sWord : vecWords)
        AddWord(sWord.c_str());
    AddWordComplete();
    return static_cast<int>(m_nSize);
}

int CWordList::Export(const char* sFilename, const CPDAT* pDict, const char* sFilterFile) const
{
    if (!sFilename)
        return 0;
    size_t nCount = pDict ? pDict->GetItemCount() : static_cast<size_t>(m_nBound);
    std::vector<bool> vecSkip(nCount, false);
    std::string sFilter;
    if (pDict && sFilterFile && ReadWholeFile(sFilterFile, sFilter)) {
        for (const std::string& sLine : SplitTextLines(sFilter)) {
            size_t nStart = sLine.find_first_not_of(" \t");
            if (nStart == std::string::npos)
                continue;
            std::string sToken = sLine.substr(nStart, sLine.find_first_of(" \t", nStart) - nStart);
            int nId = pDict->Find(sToken);
            if (static_cast<unsigned char>(sToken[0]) >= 0x80 && sToken.size() > 2 && nId >= 0 &&
                static_cast<size_t>(nId) < nCount)
                vecSkip[static_cast<size_t>(nId)] = true;
        }
    }
    std::string sText;
    for (size_t nId = 0; nId < nCount; ++nId)
        if (!vecSkip[nId])
            sText += std::string(GetWord(static_cast<int>(nId))) + "\n";
    if (!WriteFileAtomic(sFilename, sText)) {
        std::printf("Error open file %s.\n", sFilename);
        return 0;
    }
    return 1;
}
