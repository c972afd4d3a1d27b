// Identifier maps and their ".map" file: size, bound, size mapped ids, then
// bound (start, end) ranges; native byte order, no header.
#include "Utility/IDMaps.h"

#include <algorithm>
#include <cstdio>

#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/DataFile.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"
#include "Utility/WordListText.h"

namespace {

const size_t kInitialPairs = 10240;

const char* WordOf(const CWordList* pWords, int nId)
{
    return pWords ? pWords->GetWord(nId) : "";
}

void LogLine(int nLine, const std::string& sText)
{
    WriteLog("Line " + std::to_string(nLine) + ": " + sText, nullptr, false);
}

// The cleaned line as the import echoes it: entries separated by tabs.
std::string EchoEntries(const std::vector<std::string>& vecEntries)
{
    std::string sLine;
    for (size_t i = 0; i < vecEntries.size(); ++i) {
        const std::string& sEntry = vecEntries[i];
        sLine += (i ? "\t" : "") + (sEntry.find(' ') != std::string::npos ? "[" + sEntry + "]" : sEntry);
    }
    return sLine;
}

}  // namespace

CIDMaps::CIDMaps() = default;

CIDMaps::~CIDMaps() = default;

void CIDMaps::MapInit()
{
    m_nSize = 0;
    m_nBound = 0;
    m_pData.clear();
    m_pIndex.clear();
    m_vecBiWord.clear();
    m_vecBiWord.reserve(kInitialPairs);
}

void CIDMaps::MapAdd(int id1, int id2)
{
    if (id1 < 0 || id2 < -1 || id1 == 0x7FFFFFFF)
        return;
    m_vecBiWord.push_back({id2, id1});
    m_nBound = std::max(m_nBound, id1 + 1);
}

void CIDMaps::MapComplete()
{
    std::sort(m_vecBiWord.begin(), m_vecBiWord.end(), [](const idmaps_elem& a, const idmaps_elem& b) {
        return a.handle1 != b.handle1 ? a.handle1 < b.handle1 : a.handle2 < b.handle2;
    });
    m_nSize = static_cast<int32_t>(m_vecBiWord.size());
    m_pData.assign(m_vecBiWord.size(), -1);
    m_pIndex.assign(static_cast<size_t>(m_nBound), {-1, -1});
    int32_t nPos = 0;
    for (const idmaps_elem& pair : m_vecBiWord) {
        index_t& range = m_pIndex[static_cast<size_t>(pair.handle1)];
        if (range.start < 0) {
            range.start = range.end = nPos;
        } else if (m_pData[static_cast<size_t>(range.end)] != pair.handle2) {
            range.end = nPos;
        } else {
            continue;  // a duplicate
        }
        m_pData[static_cast<size_t>(nPos++)] = pair.handle2;
    }
    std::printf("Build map success!\n");
}

const int32_t* CIDMaps::GetMaps(int nId, int* pCount) const
{
    if (pCount)
        *pCount = 0;
    if (nId < 0 || nId >= m_nBound || static_cast<size_t>(nId) >= m_pIndex.size())
        return nullptr;
    const index_t& range = m_pIndex[static_cast<size_t>(nId)];
    if (range.start < 0)
        return nullptr;
    if (pCount)
        *pCount = range.end - range.start + 1;
    return m_pData.data() + range.start;
}

int CIDMaps::GetMapID(int nId) const
{
    int nCount = 0;
    const int32_t* pIds = GetMaps(nId, &nCount);
    return pIds ? pIds[0] : -1;
}

int CIDMaps::GetSimMaps(int nId, std::vector<int>& vecIds) const
{
    vecIds.clear();
    int nCount = 0;
    const int32_t* pIds = GetMaps(nId, &nCount);
    if (nCount == 1) {
        vecIds.push_back(pIds[0]);
        pIds = GetMaps(pIds[0], &nCount);
    }
    if (nCount > 1)
        for (int i = 0; i < nCount; ++i)
            if (pIds[i] != nId)
                vecIds.push_back(pIds[i]);
    return nCount;
}

// ---- files ----

bool CIDMaps::LoadFromBuffer(const std::string& sData)
{
    CBinaryReader reader(sData);
    int32_t nSize = 0, nBound = 0;
    if (!reader.Read(nSize) || !reader.Read(nBound) || nSize < 0 || nBound < 0 ||
        reader.Remaining() != static_cast<uint64_t>(nSize) * 4 + static_cast<uint64_t>(nBound) * 8)
        return false;
    std::vector<int32_t> vecData(static_cast<size_t>(nSize));
    for (int32_t& nId : vecData)
        if (!reader.Read(nId) || nId < -1)
            return false;
    std::vector<index_t> vecIndex(static_cast<size_t>(nBound));
    for (index_t& range : vecIndex) {
        reader.Read(range.start);
        reader.Read(range.end);
        bool bEmpty = range.start == -1 && range.end == -1;
        if (!bEmpty && (range.start < 0 || range.start > range.end || range.end >= nSize))
            return false;
    }
    m_nSize = nSize;
    m_nBound = nBound;
    m_pData = std::move(vecData);
    m_pIndex = std::move(vecIndex);
    m_vecBiWord.clear();
    return true;
}

std::string CIDMaps::SaveToBuffer() const
{
    CBinaryWriter writer;
    writer.Write(m_nSize);
    writer.Write(m_nBound);
    for (int32_t i = 0; i < m_nSize; ++i)
        writer.Write(static_cast<size_t>(i) < m_pData.size() ? m_pData[static_cast<size_t>(i)] : int32_t(-1));
    for (int32_t i = 0; i < m_nBound; ++i) {
        index_t range = static_cast<size_t>(i) < m_pIndex.size() ? m_pIndex[static_cast<size_t>(i)] : index_t {-1, -1};
        writer.Write(range.start);
        writer.Write(range.end);
    }
    return writer.Data();
}

int CIDMaps::Load(const char* sFilename)
{
    std::string sData;
    if (!ReadDataFile(sFilename, sData))
        return 0;
    return LoadFromBuffer(sData) ? 1 : CorruptDataFile(sFilename, "map");
}

int CIDMaps::Save(const char* sFilename) const
{
    return WriteDataFile(sFilename ? sFilename : "", SaveToBuffer()) ? 1 : 0;
}

// ---- imports ----

int CIDMaps::ImportFromText(const std::string& sText, const CPDAT* pDict, bool bProgress)
{
    MapInit();
    int nLine = 0;
    for (const std::string& sLine : SplitTextLines(sText)) {
        if (bProgress && ++nLine % 100 == 0) {
            std::printf("%d\r", nLine);
            std::fflush(stdout);
        }
        std::vector<std::string> vecFields = SplitTabFields(sLine);
        if (vecFields.size() < 2 || !pDict)
            continue;
        int nSource = pDict->Find(vecFields.back());
        if (nSource < 0)
            continue;
        for (size_t i = 0; i + 1 < vecFields.size(); ++i) {
            if (vecFields[i].empty())
                continue;
            int nMapped = pDict->Find(vecFields[i]);
            if (nMapped == nSource)
                WriteError(vecFields[i] + " invalid argument!");
            else
                MapAdd(nSource, nMapped);
        }
    }
    MapComplete();
    return m_nSize;
}

int CIDMaps::Import(const char* sFilename, const CPDAT* pDict)
{
    std::string sText;
    if (!ReadDataFile(sFilename, sText))
        return 0;
    return ImportFromText(sText, pDict, true);
}

int CIDMaps::ImportOne2MulFromText(const std::string& sText, const CPDAT* pSourceDict, const CPDAT* pTargetDict,
                                   std::string* pExport)
{
    MapInit();
    std::string sExport;
    int nLine = 0;
    for (const std::string& sLine : SplitTextLines(sText)) {
        ++nLine;
        std::vector<std::string> vecEntries = SplitMapEntries(sLine);
        sExport += EchoEntries(vecEntries) + "\n";
        if (vecEntries.size() < 2 || !pSourceDict || !pTargetDict) {
            if (!vecEntries.empty())
                LogLine(nLine, sLine);
            continue;
        }
        int nSource = pSourceDict->Find(vecEntries[0]);
        if (nSource < 0) {
            LogLine(nLine, vecEntries[0]);
            continue;
        }
        for (size_t i = 1; i < vecEntries.size(); ++i) {
            int nMapped = pTargetDict->Find(vecEntries[i]);
            if (nMapped < 0 || (pSourceDict == pTargetDict && nMapped == nSource))
                LogLine(nLine, vecEntries[0] + "->" + vecEntries[i]);
            else
                MapAdd(nSource, nMapped);
        }
    }
    MapComplete();
    if (pExport)
        *pExport = std::move(sExport);
    return m_nSize;
}

int CIDMaps::Import(const char* sFilename, const CPDAT* pSourceDict, const CPDAT* pTargetDict)
{
    std::string sText;
    if (!ReadDataFile(sFilename, sText))
        return 0;
    std::string sExport;
    int nCount = ImportOne2MulFromText(sText, pSourceDict, pTargetDict, &sExport);
    std::string sOut = std::string(sFilename) + "_map_export.txt";
    if (!WriteFileAtomic(sOut, sExport)) {
        SetLastError("Fail write file " + sOut);
        return 0;
    }
    return nCount;
}

int CIDMaps::ImportOne2Mul(const char* sFilename, const CPDAT* pDict)
{
    std::string sText;
    if (!ReadDataFile(sFilename, sText))
        return 0;
    return ImportOne2MulFromText(sText, pDict, pDict, nullptr);
}

int CIDMaps::ImportSimFromText(const std::string& sText, const CPDAT* pDict)
{
    MapInit();
    int nLine = 0;
    for (const std::string& sLine : SplitTextLines(sText)) {
        ++nLine;
        std::vector<int> vecIds;
        for (const std::string& sEntry : SplitMapEntries(sLine)) {
            int nId = pDict ? pDict->Find(sEntry) : -1;
            if (nId < 0)
                LogLine(nLine, sEntry);
            else if (std::find(vecIds.begin(), vecIds.end(), nId) == vecIds.end())
                vecIds.push_back(nId);
        }
        if (vecIds.size() < 2) {
            if (!sLine.empty())
                LogLine(nLine, sLine);
            continue;
        }
        for (int nFrom : vecIds)
            for (int nTo : vecIds)
                if (nFrom != nTo)
                    MapAdd(nFrom, nTo);
    }
    MapComplete();
    return m_nSize;
}

int CIDMaps::ImportSim(const char* sFilename, const CPDAT* pDict)
{
    std::string sText;
    if (!ReadDataFile(sFilename, sText))
        return 0;
    return ImportSimFromText(sText, pDict);
}

// ---- exports ----

std::string CIDMaps::ExportToText(const CWordList* pWords1, const CWordList* pWords2, bool bSkipEmpty) const
{
    std::string sText = "Data Size=" + std::to_string(m_nSize) + ",Index Size=" + std::to_string(m_nBound) + "\n";
    for (int32_t nId = 0; nId < m_nBound && static_cast<size_t>(nId) < m_pIndex.size(); ++nId) {
        const index_t& range = m_pIndex[static_cast<size_t>(nId)];
        int nCount = range.start < 0 ? 0 : range.end - range.start + 1;
        if (bSkipEmpty && nCount == 0)
            continue;
        sText += "Handle=" + std::to_string(nId) + "(" + WordOf(pWords1, nId) + "),Start=" +
                 std::to_string(range.start) + "\tEnd=" + std::to_string(range.end) +
                 " count=" + std::to_string(nCount) + "\n data=";
        for (int i = 0; i < nCount; ++i) {
            int nMapped = m_pData[static_cast<size_t>(range.start + i)];
            sText += std::to_string(nMapped) + "(" + WordOf(pWords2, nMapped) + ") ";
        }
        sText += "\n";
    }
    return sText;
}

int CIDMaps::Export(const char* sFilename, const CWordList* pWords1, const CWordList* pWords2,
                    bool bSkipEmpty) const
{
    if (!sFilename || !WriteFileAtomic(sFilename, ExportToText(pWords1, pWords2, bSkipEmpty))) {
        SetLastError(std::string("Fail write file ") + (sFilename ? sFilename : ""));
        return 0;
    }
    return 1;
}

void CIDMaps::Export(std::vector<std::pair<std::string, std::string>>& vecPairs, const CWordList* pWords1,
                     const CWordList* pWords2) const
{
    vecPairs.clear();
    for (int32_t nId = 0; nId < m_nBound && static_cast<size_t>(nId) < m_pIndex.size(); ++nId) {
        const index_t& range = m_pIndex[static_cast<size_t>(nId)];
        for (int32_t i = range.start; i >= 0 && i <= range.end; ++i)
            vecPairs.emplace_back(WordOf(pWords1, nId), WordOf(pWords2, m_pData[static_cast<size_t>(i)]));
    }
}
