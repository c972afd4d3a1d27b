// The template store: files, changes, lookups and listings.
#include "Docx/DocxTemplate.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"

namespace {

constexpr uint64_t kMaxStoreFileBytes = UINT64_C(1) << 31;

const char* const kDictFile = "docTemplate.pdat";
const char* const kWordListFile = "docTemplate.wordlist";
const char* const kDataFile = "docTemplate.dat";
const char* const kScratchFile = "docTemplate2.dat";
const char* const kIndexFile = "docTemplate.index";
const char* const kExportFile = "docTemplate_export.txt";

std::string Text(const char* s)
{
    return s ? s : "";
}

// A JSON string: quotes, backslashes and control characters escaped, other
// text (Chinese) left as UTF-8 so the text stays readable.
std::string Quoted(const std::string& sText)
{
    std::string sOut = "\"";
    for (char c : sText) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            sOut += '\\';
            sOut += c;
        } else if (c == '\r') {
            sOut += "\\r";
        } else if (c == '\n') {
            sOut += "\\n";
        } else if (c == '\t') {
            sOut += "\\t";
        } else if (u < 0x20) {
            char sHex[8];
            std::snprintf(sHex, sizeof(sHex), "\\u%04x", u);
            sOut += sHex;
        } else {
            sOut += c;
        }
    }
    return sOut + "\"";
}

int FailRead(const std::string& sPath, int nCode)
{
    SetLastError("Fail reading file " + sPath);
    return nCode;
}

int FailWrite(const std::string& sPath, int nCode)
{
    SetLastError("Fail writing file " + sPath);
    return nCode;
}

// The ids to try for one key, best first, without repeats or -2.
std::vector<int> Choices(std::initializer_list<int> ids)
{
    std::vector<int> vecOut;
    for (int nId : ids)
        if (nId >= -1 && std::find(vecOut.begin(), vecOut.end(), nId) == vecOut.end())
            vecOut.push_back(nId);
    return vecOut;
}

std::vector<int> Intersect(const std::vector<int>& a, const std::vector<int>& b)
{
    std::vector<int> vecOut;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(vecOut));
    return vecOut;
}

}  // namespace

CDocxTemplate::CDocxTemplate(const std::string& sDataPath)
    : m_mapLevelId2Type(CDocFormat::LevelId2Type()), m_mapType2LevelId(CDocFormat::Type2LevelId()),
      m_sDataPath(sDataPath)
{
    ClearAll();
    Load();
}

CDocxTemplate::~CDocxTemplate() = default;

std::string CDocxTemplate::PathOf(const char* sName) const
{
    return JoinPath(m_sDataPath, sName);
}

void CDocxTemplate::ClearAll()
{
    m_vecTemplateOrg.clear();
    m_pTemplateList.clear();
    m_vecFormats.clear();
    m_index.Clear();
    m_pDict = std::make_unique<CPDAT>(PDAT_MODE_BYTE);
    m_pWordList = std::make_unique<CWordList>(false, m_pDict.get());
    m_bDirty = false;
    m_bFileDirty = false;
}

// ---- Files -------------------------------------------------------------------

int CDocxTemplate::Load()
{
    ClearAll();
    // A folder without any store file is an empty store, not a fault.
    bool bAny = false;
    for (const char* sName : {kDictFile, kWordListFile, kDataFile, kIndexFile})
        bAny = bAny || FileExists(PathOf(sName));
    if (!bAny)
        return 1;
    std::string sData;
    if (!ReadWholeFile(PathOf(kDictFile), sData, kMaxStoreFileBytes) || !m_pDict->LoadFromBuffer(sData)) {
        ClearAll();
        return FailRead(PathOf(kDictFile), -1);
    }
    if (!ReadWholeFile(PathOf(kWordListFile), sData, kMaxStoreFileBytes) || !m_pWordList->LoadFromBuffer(sData)) {
        ClearAll();
        return FailRead(PathOf(kWordListFile), -2);
    }
    m_pWordList->SetDict(m_pDict.get());
    std::string sTexts, sIndex;
    if (!ReadWholeFile(PathOf(kDataFile), sTexts, kMaxStoreFileBytes)) {
        ClearAll();
        return FailRead(PathOf(kDataFile), -3);
    }
    size_t nWords = m_pDict->GetItemCount();
    if (!ReadWholeFile(PathOf(kIndexFile), sIndex, kMaxStoreFileBytes) ||
        !m_index.Read(sIndex, nWords, sTexts.size(), m_pTemplateList)) {
        ClearAll();
        return FailRead(PathOf(kIndexFile), -3);
    }
    for (const _tTemplate& record : m_pTemplateList) {
        _tTemplateOrg entry;
        static_cast<_tTemplateMetaData&>(entry) = record;
        auto word = [this](int nId) {
            const char* s = nId >= 0 ? m_pWordList->GetWord(nId) : nullptr;
            return std::string(s ? s : "");
        };
        entry.organization = word(record.organization_id);
        entry.area = word(record.area_id);
        entry.argu = word(record.argu_id);
        entry.text = sTexts.substr(record.template_data_offset, record.template_data_size);
        m_vecTemplateOrg.push_back(std::move(entry));
    }
    ParseFormats();
    return 1;
}

int CDocxTemplate::Save()
{
    if (!m_bDirty)
        return 0;
    Org2Data();
    Indexing();
    std::error_code ec;
    std::filesystem::create_directories(m_sDataPath, ec);
    if (!WriteFileAtomic(PathOf(kDictFile), m_pDict->SaveToBuffer()))
        return FailWrite(PathOf(kDictFile), -1);
    if (!WriteFileAtomic(PathOf(kWordListFile), m_pWordList->SaveToBuffer()))
        return FailWrite(PathOf(kWordListFile), -2);
    if (!WriteFileAtomic(PathOf(kIndexFile), m_index.Write(m_pTemplateList)))
        return FailWrite(PathOf(kIndexFile), -3);
    m_bDirty = false;
    ParseFormats();
    return 1;
}

int CDocxTemplate::RebuildAll()
{
    if (m_bFileDirty && !CompactDataFile())
        return FailWrite(PathOf(kDataFile), -3);
    return Save();
}

bool CDocxTemplate::CompactDataFile()
{
    std::string sAll;
    for (_tTemplateOrg& entry : m_vecTemplateOrg) {
        if (entry.reportType < 0)
            continue;
        entry.template_data_offset = sAll.size();
        entry.template_data_size = entry.text.size();
        sAll += entry.text;
    }
    // The scratch copy is renamed into place whole, so the data file is
    // never seen half-copied.
    if (!WriteFileAtomic(PathOf(kScratchFile), sAll) ||
        std::rename(PathOf(kScratchFile).c_str(), PathOf(kDataFile).c_str()) != 0)
        return false;
    m_bFileDirty = false;
    m_bDirty = true;
    return true;
}

bool CDocxTemplate::AppendText(const std::string& sText, _tTemplateMetaData& meta)
{
    std::error_code ec;
    std::filesystem::create_directories(m_sDataPath, ec);
    std::string sPath = PathOf(kDataFile);
    std::FILE* fp = std::fopen(sPath.c_str(), "ab");
    if (!fp)
        return false;
    int64_t nSize = GetFileSize(sPath);
    bool bOk = nSize >= 0 && std::fwrite(sText.data(), 1, sText.size(), fp) == sText.size() &&
               std::fflush(fp) == 0 && fsync(fileno(fp)) == 0;
    bOk = std::fclose(fp) == 0 && bOk;
    if (bOk) {
        meta.template_data_offset = static_cast<uint64_t>(nSize);
        meta.template_data_size = sText.size();
    }
    return bOk;
}

void CDocxTemplate::ParseFormats()
{
    m_vecFormats.clear();
    for (const _tTemplateOrg& entry : m_vecTemplateOrg) {
        auto pFormat = std::make_shared<CDocFormat>();
        pFormat->Import(entry.text.data(), entry.text.data() + entry.text.size(), m_mapType2LevelId);
        m_vecFormats.push_back(std::move(pFormat));
    }
}

// ---- List and array ----------------------------------------------------------

void CDocxTemplate::Data2Org()
{
    std::vector<_tTemplateOrg> vecList;
    for (size_t i = 0; i < m_pTemplateList.size() && i < m_vecTemplateOrg.size(); ++i) {
        if (m_pTemplateList[i].reportType < 0)
            continue;
        _tTemplateOrg entry = m_vecTemplateOrg[i];
        static_cast<_tTemplateMetaData&>(entry) = m_pTemplateList[i];
        vecList.push_back(std::move(entry));
    }
    m_vecTemplateOrg = std::move(vecList);
}

void CDocxTemplate::Org2Data()
{
    std::vector<_tTemplateOrg> vecList;
    for (_tTemplateOrg& entry : m_vecTemplateOrg)
        if (entry.reportType >= 0)
            vecList.push_back(std::move(entry));
    m_vecTemplateOrg = std::move(vecList);

    m_pDict = std::make_unique<CPDAT>(PDAT_MODE_BYTE);
    m_pDict->AddWordInit();
    std::vector<std::string> vecWords;
    auto add = [this, &vecWords](const std::string& sText) {
        if (sText.empty())
            return -1;
        int nId = m_pDict->AddWord(sText.c_str());
        if (nId >= 0 && static_cast<size_t>(nId) >= vecWords.size()) {
            vecWords.resize(static_cast<size_t>(nId) + 1);
            vecWords[static_cast<size_t>(nId)] = sText;
        }
        return nId;
    };
    m_pTemplateList.clear();
    for (const _tTemplateOrg& entry : m_vecTemplateOrg) {
        _tTemplate record;
        static_cast<_tTemplateMetaData&>(record) = entry;
        record.organization_id = add(entry.organization);
        record.argu_id = add(entry.argu);
        record.area_id = add(entry.area);
        m_pTemplateList.push_back(record);
    }
    m_pDict->AddWordComplete();
    m_pWordList = std::make_unique<CWordList>(false, m_pDict.get());
    m_pWordList->AddWordInit();
    for (size_t i = 0; i < vecWords.size(); ++i)
        m_pWordList->AddWord(vecWords[i].c_str(), static_cast<int>(i));
    m_pWordList->AddWordComplete();
}

void CDocxTemplate::Indexing()
{
    m_index.Build(m_pTemplateList, m_pDict->GetItemCount());
}

// ---- Changes -------------------------------------------------------------------

int CDocxTemplate::Learn(int nType, const char* sOrg, const char* sArea, const char* sArgu, const char* sDocxPath,
                         std::string& sText) const
{
    CDocFormat format;
    return format.GenerateDocFormat(nType, sOrg, sArea, sArgu, sDocxPath, m_mapLevelId2Type, sText) == 1 &&
                   !sText.empty()
               ? 1
               : -1;
}

int CDocxTemplate::ImportTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgu,
                                  const char* sDocxPath)
{
    std::string sText;
    if (Learn(nType, sOrg, sArea, sArgu, sDocxPath, sText) != 1)
        return -1;
    return ImportTemplateText(nType, sOrg, sArea, sArgu, sText);
}

int CDocxTemplate::ImportTemplateText(int nType, const char* sOrg, const char* sArea, const char* sArgu,
                                      const std::string& sText)
{
    if (sText.empty())
        return -1;
    if (nType < 0 || nType >= CTemplateIndex::kTypeTerms) {
        SetLastError("Report type " + std::to_string(nType) + " out of range 0..19 for a template");
        return -1;
    }
    int nFound = FindTemplate(nType, sOrg, sArea, sArgu, true);
    if (!m_bDirty)
        Data2Org();
    _tTemplateOrg entry;
    if (!AppendText(sText, entry)) {
        FailWrite(PathOf(kDataFile), -3);
        return -1;
    }
    entry.reportType = nType;
    entry.insert_time = static_cast<int64_t>(std::time(nullptr));
    entry.organization = Text(sOrg);
    entry.area = Text(sArea);
    entry.argu = Text(sArgu);
    entry.text = sText;
    m_bFileDirty = true;
    m_bDirty = true;
    int nIndex = nFound;
    if (nFound < 0 || static_cast<size_t>(nFound) >= m_vecTemplateOrg.size()) {
        m_vecTemplateOrg.push_back(std::move(entry));
        nIndex = static_cast<int>(m_vecTemplateOrg.size()) - 1;
        return Save() < 0 ? -1 : nIndex;
    }
    m_vecTemplateOrg[static_cast<size_t>(nFound)] = std::move(entry);
    return RebuildAll() < 0 ? -1 : nIndex;
}

int CDocxTemplate::EditTemplate(int nIndex, int nType, const char* sOrg, const char* sArea, const char* sArgu,
                                const char* sDocxPath)
{
    std::string sText;
    if (Learn(nType, sOrg, sArea, sArgu, sDocxPath, sText) != 1)
        sText.clear();
    return EditTemplateText(nIndex, nType, sOrg, sArea, sArgu, sText);
}

int CDocxTemplate::EditTemplateText(int nIndex, int nType, const char* sOrg, const char* sArea, const char* sArgu,
                                    const std::string& sText)
{
    if (!m_bDirty)
        Data2Org();
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecTemplateOrg.size() || nType < 0 ||
        nType >= CTemplateIndex::kTypeTerms) {
        SetLastError("Template " + std::to_string(nIndex) + " not exists.");
        return -1;
    }
    _tTemplateOrg& entry = m_vecTemplateOrg[static_cast<size_t>(nIndex)];
    if (!sText.empty()) {
        if (!AppendText(sText, entry)) {
            FailWrite(PathOf(kDataFile), -3);
            return -1;
        }
        entry.text = sText;
        m_bFileDirty = true;
    }
    entry.reportType = nType;
    entry.organization = Text(sOrg);
    entry.area = Text(sArea);
    entry.argu = Text(sArgu);
    entry.insert_time = static_cast<int64_t>(std::time(nullptr));
    m_bDirty = true;
    return RebuildAll() < 0 ? -1 : nIndex;
}

int CDocxTemplate::DeleteTemplate(int nIndex)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_pTemplateList.size() ||
        m_pTemplateList[static_cast<size_t>(nIndex)].reportType < 0) {
        SetLastError("Template " + std::to_string(nIndex) + " not exists.");
        return -1;
    }
    m_pTemplateList[static_cast<size_t>(nIndex)].reportType = -1;
    m_bDirty = true;
    m_bFileDirty = true;  // its text stays in the data file until compacted
    Data2Org();
    return RebuildAll() < 0 ? -1 : nIndex;
}

// ---- Lookups ---------------------------------------------------------------------

int CDocxTemplate::KeyId(const char* sText) const
{
    if (!sText || !*sText || !m_pDict || m_pDict->GetItemCount() == 0)
        return -1;
    int nId = m_pDict->Find(sText);
    return nId >= 0 && static_cast<size_t>(nId) < m_pDict->GetItemCount() ? nId : -1;
}

std::vector<int> CDocxTemplate::Candidates(int nType, int nOrgId) const
{
    std::vector<int> vecType = nType >= 0 ? m_index.Postings(CTemplateIndex::TypeTerm(nType)) : std::vector<int>();
    if (nOrgId < 0)
        return vecType;
    // Only templates of the document's own type: a contract checked against
    // a thesis template would be told it lacks an abstract.
    return Intersect(m_index.Postings(CTemplateIndex::OrgTerm(nOrgId)), vecType);
}

int CDocxTemplate::FirstMatch(const std::vector<int>& vecCandidates, const std::vector<int>& vecAreaIds,
                              const std::vector<int>& vecArguIds) const
{
    for (int nArea : vecAreaIds)
        for (int nArgu : vecArguIds)
            for (int i : vecCandidates) {
                const _tTemplate& record = m_pTemplateList[static_cast<size_t>(i)];
                if (record.area_id == nArea && record.argu_id == nArgu)
                    return i;
            }
    return -1;
}

// Not exact, the keys are tried from the document's own values to the
// wildcard: organisation, then "*"; for area and argument the value (or
// empty), then "*", then a template that leaves the key empty. A document
// whose organisation is empty or unknown takes only "*" templates, never
// those of another organisation; only a store without any "*" template falls
// back to the templates of the report type whatever their organisation.
int CDocxTemplate::FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgu,
                                bool bExact) const
{
    int nOrg = KeyId(sOrg), nArea = KeyId(sArea), nArgu = KeyId(sArgu);
    if (bExact) {
        if ((nOrg < 0 && *Text(sOrg).c_str()) || (nArea < 0 && *Text(sArea).c_str()) ||
            (nArgu < 0 && *Text(sArgu).c_str()))
            return -1;
        for (size_t i = 0; i < m_pTemplateList.size(); ++i) {
            const _tTemplate& record = m_pTemplateList[i];
            if (record.reportType == nType && record.organization_id == nOrg && record.area_id == nArea &&
                record.argu_id == nArgu)
                return static_cast<int>(i);
        }
        return -1;
    }
    int nStar = KeyId(kWildcard);
    auto keyChoices = [nStar](const char* sText, int nId) {
        if (nId >= 0)
            return Choices({nId, nStar, -1});
        return Text(sText).empty() ? Choices({-1, nStar}) : Choices({nStar, -1});
    };
    std::vector<int> vecArea = keyChoices(sArea, nArea);
    std::vector<int> vecArgu = keyChoices(sArgu, nArgu);
    std::vector<int> vecOrg = Choices({nOrg, nStar});
    vecOrg.erase(std::remove(vecOrg.begin(), vecOrg.end(), -1), vecOrg.end());
    if (vecOrg.empty())
        return FirstMatch(Candidates(nType, -1), vecArea, vecArgu);
    for (int nOrgChoice : vecOrg) {
        int nFound = FirstMatch(Candidates(nType, nOrgChoice), vecArea, vecArgu);
        if (nFound >= 0)
            return nFound;
    }
    return -1;
}

int CDocxTemplate::FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgu,
                                CDocFormat& format) const
{
    format.Clear();
    if (m_vecFormats.empty())
        return -1;
    int nFound = FindTemplate(nType, sOrg, sArea, sArgu, false);
    // Nothing found loads template 0, as callers have always seen; they
    // tell from the result that it was not chosen for the document.
    format = *m_vecFormats[nFound >= 0 ? static_cast<size_t>(nFound) : 0];
    return nFound;
}

std::shared_ptr<const CDocFormat> CDocxTemplate::GetFormat(int nIndex) const
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecFormats.size())
        return nullptr;
    return m_vecFormats[static_cast<size_t>(nIndex)];
}

const _tTemplateOrg* CDocxTemplate::GetRecord(int nIndex) const
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecTemplateOrg.size() || m_bDirty)
        return nullptr;
    return &m_vecTemplateOrg[static_cast<size_t>(nIndex)];
}

// ---- Texts -----------------------------------------------------------------------

const char* CDocxTemplate::GetTemplate(int nIndex)
{
    m_sResult.clear();
    const _tTemplateOrg* pEntry = GetRecord(nIndex);
    if (!pEntry || pEntry->reportType < 0)
        return m_sResult.c_str();
    // Values are escaped: the template text holds line breaks and quotes.
    m_sResult = "{";
    m_sResult += "\r\n  \"docReportType\":" + Quoted(std::to_string(pEntry->reportType)) + ",";
    m_sResult += "\r\n  \"rux_organization\":" + Quoted(pEntry->organization) + ",";
    m_sResult += "\r\n  \"rux_argument\":" + Quoted(pEntry->argu) + ",";
    m_sResult += "\r\n  \"rux_area\":" + Quoted(pEntry->area) + ",";
    m_sResult += "\r\n  \"rux_format\":" + Quoted(pEntry->text);
    m_sResult += "\r\n}\r\n";
    return m_sResult.c_str();
}

const char* CDocxTemplate::GetTemplate(int nIndex, CDocFormat& format)
{
    m_sResult.clear();
    format.Clear();
    const _tTemplateOrg* pEntry = GetRecord(nIndex);
    if (!pEntry)
        return m_sResult.c_str();
    format = *m_vecFormats[static_cast<size_t>(nIndex)];
    m_sResult = pEntry->text;
    return m_sResult.c_str();
}

const char* CDocxTemplate::GetTemplateList(int nType, const char* sOrg)
{
    std::vector<std::string> vecArgu, vecArea;
    int nOrg = KeyId(sOrg);
    if (nOrg >= 0 && nType >= 0) {
        std::vector<int> vecCandidates = Intersect(m_index.Postings(CTemplateIndex::OrgTerm(nOrg)),
                                                   m_index.Postings(CTemplateIndex::TypeTerm(nType)));
        for (int i : vecCandidates) {
            const _tTemplateOrg& entry = m_vecTemplateOrg[static_cast<size_t>(i)];
            if (!entry.argu.empty() && std::find(vecArgu.begin(), vecArgu.end(), entry.argu) == vecArgu.end())
                vecArgu.push_back(entry.argu);
            if (!entry.area.empty() && std::find(vecArea.begin(), vecArea.end(), entry.area) == vecArea.end())
                vecArea.push_back(entry.area);
        }
    }
    auto list = [](const std::vector<std::string>& vecItems, const char* sMember) {
        std::string sOut = "[";
        for (size_t i = 0; i < vecItems.size(); ++i)
            sOut += std::string(i ? "," : "") + "\r\n    {\"" + sMember + "\":" + Quoted(vecItems[i]) + "}";
        return sOut + (vecItems.empty() ? "]" : "\r\n  ]");
    };
    m_sResult = "{";
    m_sResult += "\r\n  \"ArguCount\":" + std::to_string(vecArgu.size()) + ",";
    m_sResult += "\r\n  \"ArguList\":" + list(vecArgu, "argu") + ",";
    m_sResult += "\r\n  \"AreaCount\":" + std::to_string(vecArea.size()) + ",";
    m_sResult += "\r\n  \"AreaList\":" + list(vecArea, "area");
    m_sResult += "\r\n}\r\n";
    return m_sResult.c_str();
}

int CDocxTemplate::Export()
{
    std::string sOut = "Template Count is " + std::to_string(m_pTemplateList.size()) + "\n";
    for (const _tTemplateOrg& entry : m_vecTemplateOrg) {
        sOut += "<RECORD>\n\t<reportType>" + std::to_string(entry.reportType) + "</reportType>\n";
        sOut += "\t<Organization>" + entry.organization + "</Organization>\n";
        sOut += "\t<Argument>" + entry.argu + "</Argument>\n";
        sOut += "\t<Argument>" + entry.area + "</Argument>\n";
        sOut += "\t<insert_time>" + std::to_string(entry.insert_time) + "</insert_time>\n\t";
        sOut += "\n\t\n" + entry.text + "\n\t\n</RECORD>\n";
    }
    sOut += "Index Item Count is " + std::to_string(m_index.TermCount()) + "\n";
    size_t nWords = m_index.WordCount();
    for (size_t t = 0; t < m_index.TermCount(); ++t) {
        std::vector<int> vecPostings = m_index.Postings(t);
        if (vecPostings.empty())
            continue;
        auto word = [this](size_t nId) {
            const char* s = m_pWordList->GetWord(static_cast<int>(nId));
            return std::string(s ? s : "");
        };
        if (t < CTemplateIndex::kTypeTerms)
            sOut += "doc_type=" + std::to_string(t) + "\t";
        else if (t < CTemplateIndex::kTypeTerms + nWords)
            sOut += "Organization=" + std::to_string(t - CTemplateIndex::kTypeTerms) + "(" +
                    word(t - CTemplateIndex::kTypeTerms) + ")\t";
        else
            sOut += "Type=" + std::to_string(t - CTemplateIndex::kTypeTerms - nWords) + "(" +
                    word(t - CTemplateIndex::kTypeTerms - nWords) + ")\t";
        sOut += "DF=" + std::to_string(vecPostings.size()) + "\tList are:\n\t";
        for (int i : vecPostings)
            sOut += std::to_string(i) + "\t";
        sOut += "\n";
    }
    if (!WriteFileAtomic(PathOf(kExportFile), sOut))
        return FailWrite(PathOf(kExportFile), -1);
    return 1;
}
