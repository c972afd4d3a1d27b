// The compiled rule file, its companion dictionaries and the readable
// export. The loader checks every count, range and id against the file and
// the dictionaries before it replaces anything, so a short or corrupt set is
// an error and the set in memory stays as it was.
#include <cstdint>
#include <cstdio>

#include "RUX/RUX.h"
#include "RUX/RUXGrammer.h"
#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"

namespace {

// Smallest encodings, used to bound counts by what the file still holds.
const size_t kMinRuleBytes = 68;
const size_t kMinGridBytes = 24;
const size_t kBlockBytes = 12;
const size_t kKGBytes = 16;
const size_t kPostingBytes = 24;

// ---- writing ----

void WriteRange(CBinaryWriter& w, const _tIntArray& range)
{
    w.Write(range.start);
    w.Write(range.end);
}

void WriteRule(CBinaryWriter& w, const _tRule& rule)
{
    w.Write(static_cast<uint32_t>(rule.rule_no_id));
    w.Write(static_cast<uint32_t>(rule.knowledge.grids.size()));
    for (const _tGrid& grid : rule.knowledge.grids) {
        w.Write(static_cast<uint32_t>(grid.blocks.size()));
        for (const _tBlock& block : grid.blocks) {
            WriteRange(w, block.elems);
            w.Write(static_cast<uint32_t>(block.is_not));
        }
        WriteRange(w, grid.repeats);
        WriteRange(w, grid.steps);
        w.Write(static_cast<uint32_t>(grid.is_selected));
    }
    WriteRange(w, rule.knowledge.steps);
    w.Write(static_cast<uint32_t>(rule.knowledge.text_id));
    w.Write(static_cast<uint32_t>(rule.action_id));
    WriteRange(w, rule.arguments_id);
    w.Write(static_cast<uint32_t>(rule.credit));
    w.Write(static_cast<uint32_t>(rule.frequency));
    w.Write(static_cast<uint32_t>(rule.field));
    w.Write(static_cast<uint32_t>(rule.name_id));
    WriteRange(w, rule.RegExs_id);
    w.Write(static_cast<uint32_t>(rule.pField2KG.size()));
    WriteRange(w, rule.keys_id);
    for (const _tFieldID2KG& kg : rule.pField2KG) {
        w.Write(kg.field_name_id);
        w.WriteBytes(std::string(reinterpret_cast<const char*>(kg.type), RUX_KG_TYPE_SIZE));
        w.WriteBytes(std::string(3, '\0'));
    }
}

// ---- reading ----

bool ReadRange(CBinaryReader& r, _tIntArray& range)
{
    return r.Read(range.start) && r.Read(range.end);
}

// A count that must be a non-negative int and fit what is left of the file.
bool ReadCount(CBinaryReader& r, int32_t& nCount, size_t nMinBytes)
{
    uint32_t nRaw = 0;
    if (!r.Read(nRaw) || nRaw > INT32_MAX || nRaw > r.Remaining() / nMinBytes)
        return false;
    nCount = static_cast<int32_t>(nRaw);
    return true;
}

bool ReadGrid(CBinaryReader& r, _tGrid& grid)
{
    if (!ReadCount(r, grid.blocks_count, kBlockBytes))
        return false;
    grid.blocks.resize(static_cast<size_t>(grid.blocks_count));
    for (_tBlock& block : grid.blocks)
        if (!ReadRange(r, block.elems) || !r.Read(block.is_not))
            return false;
    return ReadRange(r, grid.repeats) && ReadRange(r, grid.steps) && r.Read(grid.is_selected);
}

bool ReadRule(CBinaryReader& r, _tRule& rule)
{
    if (!r.Read(rule.rule_no_id) || !ReadCount(r, rule.knowledge.grid_count, kMinGridBytes))
        return false;
    rule.knowledge.grids.resize(static_cast<size_t>(rule.knowledge.grid_count));
    for (_tGrid& grid : rule.knowledge.grids)
        if (!ReadGrid(r, grid))
            return false;
    if (!ReadRange(r, rule.knowledge.steps) || !r.Read(rule.knowledge.text_id) || !r.Read(rule.action_id) ||
        !ReadRange(r, rule.arguments_id) || !r.Read(rule.credit) || !r.Read(rule.frequency) ||
        !r.Read(rule.field) || !r.Read(rule.name_id) || !ReadRange(r, rule.RegExs_id))
        return false;
    uint32_t nKG = 0;
    if (!r.Read(nKG) || !ReadRange(r, rule.keys_id) || nKG > r.Remaining() / kKGBytes)
        return false;
    rule.nField2KGCount = static_cast<int32_t>(nKG);
    rule.pField2KG.resize(nKG);
    for (_tFieldID2KG& kg : rule.pField2KG) {
        std::string sFlags;
        if (!r.Read(kg.field_name_id) || !r.ReadBytes(RUX_KG_TYPE_SIZE + 3, sFlags))
            return false;
        for (int i = 0; i < RUX_KG_TYPE_SIZE; ++i)
            kg.type[i] = static_cast<unsigned char>(sFlags[static_cast<size_t>(i)]);
    }
    return true;
}

// Everything the main file holds, before it is checked and taken over.
struct _tLoadedSet {
    std::vector<_tRule> vecRules;
    CIntArray intPool;
    CStaticStr strPool;
    std::vector<_tRUXIndex> vecIndex;
};

bool ReadPools(CBinaryReader& r, _tLoadedSet& set)
{
    uint32_t nInts = 0;
    if (!r.Read(nInts) || nInts > INT32_MAX || nInts > r.Remaining() / 4)
        return false;
    std::vector<int32_t> vecInts(nInts);
    for (int32_t& nValue : vecInts)
        r.Read(nValue);
    set.intPool.Assign(std::move(vecInts));
    std::string sBytes;
    return r.ReadSizedString(sBytes) && set.strPool.Assign(sBytes);
}

bool ReadIndex(CBinaryReader& r, _tLoadedSet& set)
{
    int32_t nSlots = 0;
    if (!ReadCount(r, nSlots, 4))
        return false;
    set.vecIndex.resize(static_cast<size_t>(nSlots));
    for (_tRUXIndex& slot : set.vecIndex) {
        if (!ReadCount(r, slot.df, kPostingBytes))
            return false;
        slot.pData.resize(static_cast<size_t>(slot.df));
        for (_tRUXIndexData& p : slot.pData)
            if (!r.Read(p.knowledge_index) || !r.Read(p.grid_index) || !r.Read(p.block_index) ||
                !r.Read(p.back_count) || !ReadRange(r, p.skiplist))
                return false;
    }
    return true;
}

bool ParseMainFile(const std::string& sData, _tLoadedSet& set, int32_t nRuleCount)
{
    CBinaryReader r(sData);
    uint32_t nSkip = 0;
    r.Read(nSkip);
    if (static_cast<size_t>(nRuleCount) > r.Remaining() / kMinRuleBytes)
        return false;
    set.vecRules.resize(static_cast<size_t>(nRuleCount));
    for (_tRule& rule : set.vecRules)
        if (!ReadRule(r, rule))
            return false;
    return ReadPools(r, set) && ReadIndex(r, set) && r.AtEnd();
}

// ---- checking ----

struct _tChecker {
    const _tLoadedSet& set;
    int32_t nWords;
    int32_t nAttributes;

    bool Range(const _tIntArray& range) const { return set.intPool.IsValidRange(range); }
    bool Str(int32_t nId) const { return set.strPool.IsValidId(nId); }
    bool Attribute(int32_t nId) const { return nId >= 0 && nId < nAttributes; }
    bool Word(int32_t nId) const { return nId >= 0 && nId < nWords; }
    bool ArgumentEntry(int32_t nId) const { return nId < 0 ? Attribute(~nId) : Str(nId); }

    bool Grid(const _tGrid& grid, bool bAttributes) const
    {
        if (!Range(grid.repeats) || !Range(grid.steps) || grid.repeats.size() != grid.blocks_count ||
            grid.steps.size() != grid.blocks_count)
            return false;
        for (const _tBlock& block : grid.blocks) {
            if (!Range(block.elems))
                return false;
            for (int nId : set.intPool.GetValues(block.elems))
                if (bAttributes ? (nId >= 0 || !Attribute(~nId)) : !Word(nId))
                    return false;
        }
        return true;
    }

    bool Lists(const _tRule& rule) const
    {
        if (!Range(rule.arguments_id) || !Range(rule.RegExs_id) || !Range(rule.keys_id) ||
            rule.RegExs_id.size() != rule.arguments_id.size())
            return false;
        for (int nId : set.intPool.GetValues(rule.arguments_id))
            if (!ArgumentEntry(nId))
                return false;
        for (int nId : set.intPool.GetValues(rule.RegExs_id))
            if (nId != -1 && !Str(nId))
                return false;
        for (int nId : set.intPool.GetValues(rule.keys_id))
            if (nId >= 0 || !Attribute(~nId))
                return false;
        for (const _tFieldID2KG& kg : rule.pField2KG)
            if (!Attribute(kg.field_name_id))
                return false;
        return true;
    }

    bool Rule(const _tRule& rule) const
    {
        bool bAction = (rule.action_id >= 0 && rule.action_id < RUX_ACTION_COUNT) ||
                       (rule.action_id >= kCustomActionBase && Str(rule.action_id - kCustomActionBase));
        bool bField = (rule.field >= 0 && rule.field < RUX_FIELD_COUNT) ||
                      (rule.field >= kAttributeFieldBase && Attribute(rule.field - kAttributeFieldBase));
        if (!bAction || !bField || !Str(rule.rule_no_id) || !Str(rule.knowledge.text_id) || !Str(rule.name_id) ||
            !Range(rule.knowledge.steps) || rule.knowledge.steps.size() != rule.knowledge.grid_count || !Lists(rule))
            return false;
        for (const _tGrid& grid : rule.knowledge.grids)
            if (!Grid(grid, rule.action_id >= RUX_ACTION_GENERATE_TUPLE))
                return false;
        return true;
    }

    bool Posting(const _tRUXIndexData& p) const
    {
        if (p.knowledge_index < 0 || static_cast<size_t>(p.knowledge_index) >= set.vecRules.size())
            return false;
        const _tKnowledge& k = set.vecRules[static_cast<size_t>(p.knowledge_index)].knowledge;
        if (p.grid_index < 0 || p.grid_index >= k.grid_count || p.block_index < 0 ||
            p.block_index >= k.grids[static_cast<size_t>(p.grid_index)].blocks_count || !Range(p.skiplist))
            return false;
        for (int nRule : set.intPool.GetValues(p.skiplist))
            if (nRule < 0 || static_cast<size_t>(nRule) >= set.vecRules.size())
                return false;
        return true;
    }

    bool All() const
    {
        if (set.vecIndex.size() != static_cast<size_t>(nWords) + static_cast<size_t>(nAttributes) + 1)
            return false;
        for (const _tRule& rule : set.vecRules)
            if (!Rule(rule))
                return false;
        for (const _tRUXIndex& slot : set.vecIndex)
            for (const _tRUXIndexData& p : slot.pData)
                if (!Posting(p))
                    return false;
        return true;
    }
};

// Loads one companion file; false with "Cannot load file <name>".
template <typename T>
bool LoadCompanion(T& dict, const std::string& sFile)
{
    if (dict.Load(sFile.c_str()) == 1)
        return true;
    SetLastError("Cannot load file " + sFile);
    return false;
}

}  // namespace

int CRUX::Save()
{
    return Save(RuleFile().c_str());
}

int CRUX::Save(const char* sFile)
{
    if (!m_pDict) {
        m_bIsModified = true;
        Org2Knowledge();
    }
    std::string sPath = sFile ? sFile : RuleFile();
    // The companions go first: a complete main file always has its dictionaries.
    const std::pair<std::string, const CPDAT*> dicts[] = {{sPath + ".pdat", m_pDict.get()},
                                                          {sPath + "_Attribute.pdat", m_pAttributeDict.get()}};
    for (const auto& dict : dicts) {
        if (dict.second->Save(dict.first.c_str()) != 1) {
            SetLastError("Cannot write file " + dict.first);
            return -2;
        }
    }
    if (m_pWordList->Save((sPath + ".wordlist").c_str()) != 1) {
        SetLastError("Cannot write file " + sPath + ".wordlist");
        return -3;
    }
    const std::pair<std::string, const CWordList*> lists[] = {
        {sPath + "_Attribute.wordlist", m_pAttributeWordList.get()},
        {sPath + "_AttriName.wordlist", m_pAttriNameWordList.get()}};
    for (const auto& list : lists) {
        if (list.second->Save(list.first.c_str()) != 1) {
            SetLastError("Cannot write file " + list.first);
            return -2;
        }
    }
    CBinaryWriter w;
    w.Write(static_cast<uint32_t>(m_pRules.size()));
    for (const _tRule& rule : m_pRules)
        WriteRule(w, rule);
    w.Write(static_cast<uint32_t>(m_pIntArray->Size()));
    for (int32_t i = 0; i < m_pIntArray->Size(); ++i)
        w.Write(static_cast<int32_t>(m_pIntArray->GetValue(i)));
    w.WriteSizedString(m_pStaticStr->Bytes());
    w.Write(static_cast<uint32_t>(m_pIndex.size()));
    for (const _tRUXIndex& slot : m_pIndex) {
        w.Write(static_cast<uint32_t>(slot.pData.size()));
        for (const _tRUXIndexData& p : slot.pData) {
            w.Write(p.knowledge_index);
            w.Write(p.grid_index);
            w.Write(p.block_index);
            w.Write(p.back_count);
            WriteRange(w, p.skiplist);
        }
    }
    if (!WriteFileAtomic(sPath, w.Data())) {
        SetLastError("Cannot write file " + sPath);
        return -1;
    }
    Export();
    return 1;
}

int CRUX::Load()
{
    return Load(RuleFile().c_str());
}

int CRUX::Load(const char* sFile)
{
    std::string sPath = sFile ? sFile : RuleFile();
    std::string sData;
    if (!ReadWholeFile(sPath, sData)) {
        SetLastError("Cannot read file " + sPath);
        return -1;
    }
    CBinaryReader head(sData);
    uint32_t nRuleCount = 0;
    if (head.Read(nRuleCount) && nRuleCount == 0) {
        // A set saved without rules still knows the built-in keys ("sum",
        // "count", ...) after a restart, as it did when it was compiled.
        if (!m_pAttributeDict) {
            StartAttributes();
            FinishAttributes();
        }
        SetLastError("m_nRuleCount <=0");
        return -2;
    }
    _tLoadedSet set;
    if (nRuleCount > INT32_MAX || !ParseMainFile(sData, set, static_cast<int32_t>(nRuleCount))) {
        SetLastError("Corrupt rule set file " + sPath);
        return -4;
    }
    auto pDict = std::make_unique<CPDAT>(PDAT_MODE_BYTE);
    auto pAttributeDict = std::make_unique<CPDAT>(PDAT_MODE_BYTE);
    auto pWordList = std::make_unique<CWordList>(false, pDict.get());
    auto pAttributeWordList = std::make_unique<CWordList>(false, pAttributeDict.get());
    auto pAttriNameWordList = std::make_unique<CWordList>(false, pAttributeDict.get());
    if (!LoadCompanion(*pDict, sPath + ".pdat"))
        return -2;
    if (!LoadCompanion(*pWordList, sPath + ".wordlist"))
        return -3;
    if (!LoadCompanion(*pAttributeDict, sPath + "_Attribute.pdat") ||
        !LoadCompanion(*pAttributeWordList, sPath + "_Attribute.wordlist") ||
        !LoadCompanion(*pAttriNameWordList, sPath + "_AttriName.wordlist"))
        return -2;
    _tChecker checker{set, static_cast<int32_t>(pDict->GetItemCount()),
                      static_cast<int32_t>(pAttributeDict->GetItemCount())};
    if (pDict->GetItemCount() > INT32_MAX / 2 || pAttributeDict->GetItemCount() > INT32_MAX / 2 || !checker.All()) {
        SetLastError("Corrupt rule set file " + sPath);
        return -4;
    }
    m_pRules = std::move(set.vecRules);
    m_nRuleCount = static_cast<unsigned>(m_pRules.size());
    m_pIntArray = std::make_unique<CIntArray>(std::move(set.intPool));
    m_pStaticStr = std::make_unique<CStaticStr>(std::move(set.strPool));
    m_pIndex = std::move(set.vecIndex);
    m_nIndexItemCount = static_cast<unsigned>(m_pIndex.size());
    m_pDict = std::move(pDict);
    m_pWordList = std::move(pWordList);
    m_pAttributeDict = std::move(pAttributeDict);
    m_pAttributeWordList = std::move(pAttributeWordList);
    m_pAttriNameWordList = std::move(pAttriNameWordList);
    m_mapCustomAction.clear();
    for (const _tRule& rule : m_pRules)
        if (rule.action_id >= kCustomActionBase)
            m_mapCustomAction[GetActionStr(rule.action_id)] = rule.action_id;
    FindDefaultKeys();
    m_bIsModified = false;
    Knowledge2Org();
    // The words reach the segmenter after a restart just as after a compile.
    HandWordsToSegmenter(false);
    return 1;
}

// ---- export ----

std::string CRUX::RuleOrg2XML(int nIndex) const
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecRule.size())
        return "";
    const _tRuleOrg& rule = m_vecRule[static_cast<size_t>(nIndex)];
    std::string s = "<item>\n<no>" + rule.no + "</no>\n<name>" + rule.name + "</name>\n<rule>" + rule.rule.text +
                    "</rule>\n<credit>" + std::to_string(rule.credit) + "</credit>\n<action>" +
                    GetActionStr(rule.action_id) + "</action>\n<field>" + rule.sField + "</field>\n<argument>";
    for (const std::string& sArg : rule.arguments)
        s += sArg + ";";
    s += "</argument>";
    if (static_cast<size_t>(nIndex) < m_pRules.size())
        s += "<knowledge>" + GetKnowledgeStr(nIndex) + "</knowledge>";
    std::string sKGSet = GetKGSetStr(rule.vecField2KG);
    s += "<kgset>" + sKGSet + "</kgset>\n";
    if (!sKGSet.empty()) {
        s += "<keyname>";
        for (size_t i = 0; i < rule.vecKeyname.size(); ++i)
            s += (i ? "," : "") + rule.vecKeyname[i];
        s += "</keyname>";
    }
    return s + "</item>";
}

int CRUX::Export()
{
    return Export(ExportFile().c_str());
}

int CRUX::Export(const char* sFile)
{
    std::string sPath = sFile ? sFile : ExportFile();
    if (!WriteFileAtomic(sPath, ExportText())) {
        SetLastError("Failed open file " + sPath);
        return -1;
    }
    return 1;
}

std::string CRUX::ExportText() const
{
    std::string s;
    for (size_t i = 0; i < m_vecRule.size(); ++i)
        s.append("No.").append(std::to_string(i)).append("\t").append(RuleOrg2XML(static_cast<int>(i))).append("\n");
    s += "Indexing Data are as following:\n";
    int nWords = static_cast<int>(m_pDict ? m_pDict->GetItemCount() : 0);
    for (size_t nSlot = 0; nSlot < m_pIndex.size(); ++nSlot) {
        const _tRUXIndex& slot = m_pIndex[nSlot];
        if (slot.pData.empty())
            continue;
        int n = static_cast<int>(nSlot);
        if (n < nWords) {
            s.append("\nNo.").append(std::to_string(n)).append(" word=").append(m_pWordList->GetWord(n));
        } else {
            int nAttribute = n - nWords - 1;
            std::string sName, sShowName;
            GetAttibuteName(nAttribute, sName, sShowName);
            s.append("\nNo.").append(std::to_string(n)).append(" word=(id=").append(std::to_string(nAttribute));
            s.append(")").append(sName).append("|").append(sShowName);
        }
        s += ": Rules are :\n";
        for (const _tRUXIndexData& p : slot.pData) {
            s.append("Knowledge_ID=").append(std::to_string(p.knowledge_index));
            s.append("\tGrid_ID=").append(std::to_string(p.grid_index));
            s.append("\tBlock_ID=").append(std::to_string(p.block_index));
            s.append("\tBack_Word_Count=").append(std::to_string(p.back_count)).append(" SkipList(");
            for (int nRule : m_pIntArray->GetValues(p.skiplist))
                s.append(std::to_string(nRule)).append(" ");
            s += ")\n";
        }
    }
    return s;
}
