// Similar-word and spelling-error dictionaries: text import, the three
// files, and the lookups. The tables are replaced whole, never changed in
// place, so a lookup works on one consistent set while an import runs.
#include "Utility/QueryExpand.h"

#include <functional>

#include "Utility/Blanks.h"
#include "Utility/DataFile.h"
#include "Utility/DictEncoding.h"
#include "Utility/FileUtility.h"
#include "Utility/IDMaps.h"
#include "Utility/Log.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"
#include "Utility/WordListText.h"

struct CQueryExpand::_tTables {
    CPDAT dict {PDAT_MODE_GBK};
    CWordList words;
    CIDMaps maps;
};

namespace {

const char* const kExtensions[] = {".pdat", ".wordlist", ".map"};

// The usable fields of one line: trimmed, non-empty, none equal to the first.
std::vector<std::string> LineFields(const std::string& sLine)
{
    std::vector<std::string> vecFields;
    for (const std::string& sRaw : SplitTabFields(sLine)) {
        std::string sField = Trim(sRaw);
        if (sField.empty() || (!vecFields.empty() && sField == vecFields[0]))
            continue;
        vecFields.push_back(sField);
    }
    return vecFields;
}

// The groups of a text file; skipped lines are described in sSkipped.
std::vector<std::vector<std::string>> ReadGroups(const std::string& sText, std::string& sSkipped)
{
    std::vector<std::vector<std::string>> vecGroups;
    int nLine = 0;
    for (std::string sLine : SplitTextLines(sText)) {
        ++nLine;
        if (nLine == 1 && sLine.compare(0, 3, "\xEF\xBB\xBF") == 0)
            sLine.erase(0, 3);
        std::string sTrimmed = Trim(sLine);
        if (sTrimmed.empty() || sTrimmed[0] == '#')
            continue;
        std::vector<std::string> vecFields = LineFields(sLine);
        if (vecFields.size() < 2) {
            sSkipped += "Line " + std::to_string(nLine) + ": " + sTrimmed + "\n";
            continue;
        }
        vecGroups.push_back(std::move(vecFields));
    }
    return vecGroups;
}

// Every mapped id of the map must name a word of the dictionary, and the
// word list must give a text for each of them.
bool TablesAgree(const CPDAT& dict, const CWordList& words, const CIDMaps& maps)
{
    int nCount = static_cast<int>(dict.GetItemCount());
    if (nCount == 0 || words.GetBound() != nCount || maps.GetBound() > nCount)
        return false;
    for (int nId = 0; nId < maps.GetBound(); ++nId) {
        int nMapped = 0;
        const int32_t* pIds = maps.GetMaps(nId, &nMapped);
        for (int i = 0; i < nMapped; ++i)
            if (pIds[i] < 0 || pIds[i] >= nCount)
                return false;
    }
    return true;
}

}  // namespace

CQueryExpand::CQueryExpand(const std::string& sFolder, const std::string& sStem)
    : m_sFolder(sFolder), m_sStem(sStem), m_nKind(KindOfStem(sStem))
{
    std::string sBase = FileStem();
    bool bPresent = true;
    for (const char* sExt : kExtensions)
        bPresent = bPresent && FileExists(sBase + sExt);
    if (bPresent && !Reload())
        WriteError("Dictionary " + sBase + " not loaded: its files are corrupt or do not belong together");
}

CQueryExpand::~CQueryExpand() = default;

CQueryExpand::EKind CQueryExpand::KindOfStem(const std::string& sStem)
{
    return sStem == "SpellError" ? QUERY_SPELLERROR : QUERY_SIMILAR;
}

bool CQueryExpand::IsLoaded() const
{
    return Tables() != nullptr;
}

std::shared_ptr<const CQueryExpand::_tTables> CQueryExpand::Tables() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pTables;
}

void CQueryExpand::SetTables(std::shared_ptr<const _tTables> pTables)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pTables = std::move(pTables);
}

int CQueryExpand::ImportFromText(const std::string& sText, std::string* pSkipped)
{
    std::string sSkipped;
    std::vector<std::vector<std::string>> vecGroups = ReadGroups(sText, sSkipped);
    if (pSkipped)
        *pSkipped = sSkipped;
    if (!sSkipped.empty())
        WriteLog("Skipped in " + FileStem() + ":\n" + sSkipped, nullptr, false);
    if (vecGroups.empty())
        return 0;
    auto pTables = std::make_shared<_tTables>();
    std::vector<std::vector<int>> vecIds(vecGroups.size());
    pTables->dict.AddWordInit();
    pTables->words.AddWordInit();
    for (size_t g = 0; g < vecGroups.size(); ++g) {
        for (const std::string& sWord : vecGroups[g]) {
            std::string sDict;
            Utf8ToDictText(sWord, sDict);
            int nId = pTables->dict.AddWord(sDict.c_str());
            vecIds[g].push_back(nId);
            if (nId >= 0)
                pTables->words.AddWord(sDict.c_str(), nId);
        }
    }
    pTables->dict.AddWordComplete();
    pTables->words.AddWordComplete();
    // Groups whose words are all unusable (empty once read, a NUL first)
    // leave no entry: that is no dictionary, and its files would not load.
    if (pTables->dict.GetItemCount() == 0)
        return 0;
    pTables->maps.MapInit();
    for (const std::vector<int>& ids : vecIds) {
        for (size_t i = 1; i < ids.size(); ++i) {
            // Two spellings that fold to one key (case) are one word.
            if (ids[0] < 0 || ids[i] < 0 || ids[i] == ids[0])
                continue;
            pTables->maps.MapAdd(ids[0], ids[i]);
            if (m_nKind == QUERY_SIMILAR)
                pTables->maps.MapAdd(ids[i], ids[0]);
        }
    }
    pTables->maps.MapComplete();
    SetTables(std::move(pTables));
    return static_cast<int>(vecGroups.size());
}

int CQueryExpand::Import(const char* sTextFile)
{
    std::string sText;
    if (!sTextFile || !ReadWholeFile(sTextFile, sText, UINT64_C(1) << 28)) {
        SetLastError(std::string("Failed reading file ") + (sTextFile ? sTextFile : ""));
        return -1;
    }
    std::shared_ptr<const _tTables> pOld = Tables();
    int nGroups = ImportFromText(sText);
    if (nGroups == 0) {
        SetLastError(std::string("No dictionary entries in ") + sTextFile);
        return 0;
    }
    if (!Save()) {
        SetTables(pOld);
        return -1;
    }
    return nGroups;
}

bool CQueryExpand::SaveToBuffers(std::string& sPdat, std::string& sWordList, std::string& sMap) const
{
    std::shared_ptr<const _tTables> pTables = Tables();
    if (!pTables)
        return false;
    // Written into the caller's strings, so a caller that saves again and
    // again reuses their room instead of a new 256 KB buffer each time.
    sPdat.clear();
    pTables->dict.WriteTo([&sPdat](const char* pData, size_t n) {
        sPdat.append(pData, n);
        return true;
    });
    sWordList = pTables->words.SaveToBuffer();
    sMap = pTables->maps.SaveToBuffer();
    return true;
}

bool CQueryExpand::Save() const
{
    std::shared_ptr<const _tTables> pTables = Tables();
    if (!pTables) {
        SetLastError("Dictionary " + FileStem() + " is empty: nothing to save");
        return false;
    }
    // The dictionary streams to its file; the other two are small.
    const std::string sWords = pTables->words.SaveToBuffer();
    const std::string sMap = pTables->maps.SaveToBuffer();
    const std::function<bool(const ByteSink&)> writers[3] = {
        [&pTables](const ByteSink& sink) { return pTables->dict.WriteTo(sink); },
        [&sWords](const ByteSink& sink) { return sink(sWords.data(), sWords.size()); },
        [&sMap](const ByteSink& sink) { return sink(sMap.data(), sMap.size()); }};
    // The map goes last: a reader that finds a new map with an old
    // dictionary rejects the pair instead of mixing them.
    for (int i = 0; i < 3; ++i)
        if (!WriteDataFile(FileStem() + kExtensions[i], writers[i]))
            return false;
    return true;
}

bool CQueryExpand::LoadFromBuffers(const std::string& sPdat, const std::string& sWordList, const std::string& sMap)
{
    auto pTables = std::make_shared<_tTables>();
    if (!pTables->dict.LoadFromBuffer(sPdat) || !pTables->words.LoadFromBuffer(sWordList) ||
        !pTables->maps.LoadFromBuffer(sMap) || !TablesAgree(pTables->dict, pTables->words, pTables->maps)) {
        SetTables(nullptr);
        return false;
    }
    SetTables(std::move(pTables));
    return true;
}

bool CQueryExpand::Reload()
{
    std::string sFiles[3];
    for (int i = 0; i < 3; ++i) {
        if (!ReadWholeFile(FileStem() + kExtensions[i], sFiles[i])) {
            SetTables(nullptr);
            return false;
        }
    }
    return LoadFromBuffers(sFiles[0], sFiles[1], sFiles[2]);
}

std::vector<std::string> CQueryExpand::Lookup(const std::string& sWord, bool bSimilar) const
{
    std::vector<std::string> vecWords;
    std::shared_ptr<const _tTables> pTables = Tables();
    if (!pTables || sWord.empty())
        return vecWords;
    std::string sDict;
    Utf8ToDictText(sWord, sDict);
    int nId = pTables->dict.Find(sDict);
    if (nId < 0)
        return vecWords;
    std::vector<int> vecIds;
    if (bSimilar) {
        pTables->maps.GetSimMaps(nId, vecIds);
    } else {
        int nCount = 0;
        const int32_t* pIds = pTables->maps.GetMaps(nId, &nCount);
        vecIds.assign(pIds, pIds + nCount);
    }
    for (int nOther : vecIds)
        vecWords.push_back(DictTextToUtf8(pTables->words.GetWord(nOther)));
    return vecWords;
}

std::vector<std::string> CQueryExpand::GetSimilarWords(const std::string& sWord) const
{
    return Lookup(sWord, true);
}

std::vector<std::string> CQueryExpand::GetRightForms(const std::string& sWord) const
{
    return Lookup(sWord, false);
}

std::string CQueryExpand::GetRightForm(const std::string& sWord) const
{
    std::vector<std::string> vecForms = GetRightForms(sWord);
    return vecForms.empty() ? std::string() : vecForms[0];
}

bool CQueryExpand::Contains(const std::string& sWord) const
{
    std::shared_ptr<const _tTables> pTables = Tables();
    if (!pTables || sWord.empty())
        return false;
    std::string sDict;
    Utf8ToDictText(sWord, sDict);
    return pTables->dict.Find(sDict) >= 0;
}

size_t CQueryExpand::WordCount() const
{
    std::shared_ptr<const _tTables> pTables = Tables();
    return pTables ? pTables->dict.GetItemCount() : 0;
}

std::string CQueryExpand::UserDictText(const std::string& sTag) const
{
    std::string sText;
    std::shared_ptr<const _tTables> pTables = Tables();
    if (!pTables)
        return sText;
    for (int nId = 0; nId < pTables->maps.GetBound(); ++nId) {
        int nCount = 0;
        if (pTables->maps.GetMaps(nId, &nCount) && nCount > 0)
            sText += FormatWordListEntry(DictTextToUtf8(pTables->words.GetWord(nId))) + " " + sTag + "\n";
    }
    return sText;
}

bool CQueryExpand::WriteUserDict(const std::string& sPath, const std::string& sTag) const
{
    if (!WriteFileAtomic(sPath, UserDictText(sTag))) {
        SetLastError("Fail write file " + sPath);
        return false;
    }
    return true;
}
