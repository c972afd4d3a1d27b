// The ".pdat" file of a dictionary (character table, two counts, the states,
// the mode; native byte order, no header), and its text imports and exports.
#include "Utility/PDAT.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "Utility/DataFile.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/WordListText.h"

static_assert(sizeof(state) == 12, "a state is three int32 in the file");

namespace {

const size_t kCharsetBytes = CCharTable::kFileBytes;
const size_t kHeaderBytes = kCharsetBytes + 8;

// A state as a sound file can hold it: the parent inside the array (or -2,
// -1), a base whose children can lie inside it, a word id or -1.
bool IsSoundState(const state& st, int32_t nLowerBound)
{
    if (st.check < -2 || st.check > nLowerBound || st.handle < -1)
        return false;
    int64_t nLimit = static_cast<int64_t>(nLowerBound) + 1;
    return st.base >= -nLimit && st.base <= nLimit;
}

}  // namespace

bool CPDAT::ReadFrom(const ByteSource& source, uint64_t nSize)
{
    if (nSize < kHeaderBytes + sizeof(state) + sizeof(int32_t))
        return false;
    CCharTable charset;
    if (!charset.ReadFrom(source, -1, 65535))
        return false;
    int32_t nCharsetSize = 0;
    charset.ForEach([&nCharsetSize](int, int32_t) { ++nCharsetSize; });
    int32_t nLowerBound = 0;
    uint32_t nItemCount = 0;
    if (!source(reinterpret_cast<char*>(&nLowerBound), sizeof nLowerBound) ||
        !source(reinterpret_cast<char*>(&nItemCount), sizeof nItemCount))
        return false;
    // Every distinct word ends at a state of its own.
    if (nLowerBound < 0 || nItemCount > static_cast<uint32_t>(nLowerBound) + 1 ||
        nSize - kHeaderBytes != (static_cast<uint64_t>(nLowerBound) + 1) * sizeof(state) + sizeof(int32_t))
        return false;
    std::vector<state> vecStates(static_cast<size_t>(nLowerBound) + 1);
    int32_t nMode = -1;
    if (!source(reinterpret_cast<char*>(vecStates.data()), vecStates.size() * sizeof(state)) ||
        !source(reinterpret_cast<char*>(&nMode), sizeof nMode))
        return false;
    for (const state& st : vecStates)
        if (!IsSoundState(st, nLowerBound))
            return false;
    if (nMode < PDAT_MODE_GBK || nMode > PDAT_MODE_NAME)
        return false;
    SetEmpty();
    m_charset = std::move(charset);
    m_charsetSize = nCharsetSize;
    m_pData = std::move(vecStates);
    m_nLength = static_cast<int32_t>(m_pData.size());
    m_nLowerBound = nLowerBound;
    m_nItemCount = nItemCount;
    m_nMode = nMode;
    m_bWordAddCompleted = true;
    return true;
}

bool CPDAT::LoadFromBuffer(const std::string& sData)
{
    size_t nPos = 0;
    return ReadFrom(
        [&sData, &nPos](char* pOut, size_t n) {
            if (n > sData.size() - nPos)
                return false;
            std::memcpy(pOut, sData.data() + nPos, n);
            nPos += n;
            return true;
        },
        sData.size());
}

bool CPDAT::WriteTo(const ByteSink& sink) const
{
    // A dictionary never completed still writes the one state its bound
    // promises, so every saved file loads again.
    size_t nStates = static_cast<size_t>(m_nLowerBound) + 1;
    size_t nHave = std::min(nStates, m_pData.size());
    if (!m_charset.WriteTo(sink) ||
        !sink(reinterpret_cast<const char*>(&m_nLowerBound), sizeof m_nLowerBound) ||
        !sink(reinterpret_cast<const char*>(&m_nItemCount), sizeof m_nItemCount) ||
        !sink(reinterpret_cast<const char*>(m_pData.data()), nHave * sizeof(state)))
        return false;
    for (size_t i = nHave; i < nStates; ++i)
        if (!sink(reinterpret_cast<const char*>(&PDAT_FREE_STATE), sizeof(state)))
            return false;
    return sink(reinterpret_cast<const char*>(&m_nMode), sizeof m_nMode);
}

std::string CPDAT::SaveToBuffer() const
{
    size_t nStates = static_cast<size_t>(m_nLowerBound) + 1;
    std::string sData;
    sData.reserve(kHeaderBytes + nStates * sizeof(state) + sizeof m_nMode);
    WriteTo([&sData](const char* pData, size_t n) {
        sData.append(pData, n);
        return true;
    });
    return sData;
}

// Both go through stdio's buffer: no copy of the 256 KB character table
// is ever built in memory.
int CPDAT::Load(const char* sFilename)
{
    int nRead = ReadDataFile(sFilename, [this](const ByteSource& source, uint64_t nSize) {
        return ReadFrom(source, nSize);
    });
    if (nRead < 0)
        return 0;
    return nRead == 1 ? 1 : CorruptDataFile(sFilename, "dictionary");
}

int CPDAT::Save(const char* sFilename) const
{
    return WriteDataFile(sFilename ? sFilename : "", [this](const ByteSink& sink) { return WriteTo(sink); }) ? 1 : 0;
}

int CPDAT::ImportFromText(const std::string& sText, const CPDAT* pFilter, std::string* pExport, bool bProgress)
{
    AddWordInit();
    std::string sExport;
    int nAdded = 0;
    for (const std::string& sLine : SplitTextLines(sText)) {
        std::string sEntry = ParseWordListEntry(sLine);
        if (sEntry.empty())
            continue;
        sExport += FormatWordListEntry(sEntry) + "\n";
        if (pFilter && pFilter->Find(sEntry) >= 0)
            continue;
        AddWord(sEntry.c_str());
        if (bProgress && ++nAdded % 100 == 0) {
            std::printf("%d\t%s Completed!\r", nAdded, sEntry.c_str());
            std::fflush(stdout);
        }
    }
    AddWordComplete();
    if (pExport)
        *pExport = std::move(sExport);
    return static_cast<int>(m_nItemCount);
}

int CPDAT::Import(const char* sFilename, const CPDAT* pFilter)
{
    std::string sOpen;
    std::string sText;
    if (!ReadDataFile(sFilename, sText, &sOpen))
        return 0;
    std::string sExport;
    int nCount = ImportFromText(sText, pFilter, &sExport, true);
    if (!WriteDataFile(sOpen + "_export.txt", sExport))
        return 0;
    return nCount;
}

// The word ending at a state, rebuilt by following the parents up to the
// root; empty when the links do not lead there (a damaged array).
std::string CPDAT::RebuildWord(int nState, const std::vector<int32_t>& vecIdToCode) const
{
    std::vector<int32_t> vecCodes;
    int nCur = nState;
    for (int nSteps = 0; nCur != -2; ++nSteps) {
        if (nCur < 0 || nCur > m_nLowerBound || nSteps > m_nLowerBound)
            return "";
        int nParent = m_pData[static_cast<size_t>(nCur)].check;
        int nId = nCur;
        if (nParent >= 0 && nParent <= m_nLowerBound)
            nId = nCur - std::abs(m_pData[static_cast<size_t>(nParent)].base);
        else if (nParent != -2)
            return "";
        if (nId < 0 || static_cast<size_t>(nId) >= vecIdToCode.size() || vecIdToCode[static_cast<size_t>(nId)] < 0)
            return "";
        vecCodes.push_back(vecIdToCode[static_cast<size_t>(nId)]);
        nCur = nParent;
    }
    std::string sWord;
    for (auto it = vecCodes.rbegin(); it != vecCodes.rend(); ++it) {
        if (*it >= 256)
            sWord += static_cast<char>(*it >> 8);
        sWord += static_cast<char>(*it & 0xFF);
    }
    return sWord;
}

std::string CPDAT::ExportToText() const
{
    // Ids of a sound file are dense, but a damaged one may skip some.
    std::vector<int32_t> vecIdToCode;
    m_charset.ForEach([&vecIdToCode](int nCode, int32_t nId) {
        if (static_cast<size_t>(nId) >= vecIdToCode.size())
            vecIdToCode.resize(static_cast<size_t>(nId) + 1, -1);
        vecIdToCode[static_cast<size_t>(nId)] = nCode;
    });
    std::string sText;
    for (int32_t s = 0; s <= m_nLowerBound && static_cast<size_t>(s) < m_pData.size(); ++s) {
        const state& st = m_pData[static_cast<size_t>(s)];
        if (st.check == -1 || st.base > 0 || st.handle < 0)
            continue;
        std::string sWord = RebuildWord(s, vecIdToCode);
        if (sWord.empty())
            continue;
        if (Find(sWord) != st.handle)
            WriteLog(sWord + " handle error", nullptr, false);
        // Brackets keep a word with spaces whole when the list is imported again.
        sText += FormatWordListEntry(sWord) + "\n";
    }
    return sText;
}

int CPDAT::Export(const char* sFilename) const
{
    if (!sFilename || !WriteFileAtomic(sFilename, ExportToText())) {
        SetLastError(std::string("Fail write file ") + (sFilename ? sFilename : ""));
        return 0;
    }
    return 1;
}
