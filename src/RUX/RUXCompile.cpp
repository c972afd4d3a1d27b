// Compiling parsed rules into pooled records with the rule and attribute
// dictionaries, and rebuilding parsed rules from compiled ones. After every
// compile the parsed rules are rebuilt, so what a set shows, exports and
// edits is exactly what it stores and what a reload gives back.
#include <algorithm>
#include <cstdio>

#include "RUX/RUX.h"
#include "RUX/RUXGrammer.h"
#include "Segmenter/Segmenter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"

namespace {

const char* const kDefaultKeys[] = {"single_date", "tablename", "sum", "count", "max"};

bool IsDigitChar(char c)
{
    return c >= '0' && c <= '9';
}

bool IsAttributeArgument(int nAction, const std::string& sArg)
{
    return nAction >= RUX_ACTION_EXTRACT && nAction <= RUX_ACTION_GENERATE_DATE && !sArg.empty() &&
           !IsDigitChar(sArg[0]);
}

// Tags ("/n", "/LB") are matched against part-of-speech strings; only words
// go to the segmenter.
bool IsSegmenterWord(const char* sWord)
{
    return sWord && *sWord && *sWord != '/';
}

}  // namespace

int CRUX::AddAttribute(const std::string& sText)
{
    std::string sAttribute, sShowName, sFormat;
    if (!ExtractAttribute(sText, sAttribute, sShowName, sFormat))
        return -1;
    bool bNew = m_pAttributeDict->FindWord(sAttribute.c_str()) < 0;
    int nId = m_pAttributeDict->AddWord(sAttribute.c_str());
    if (nId < 0)
        return -1;
    m_pAttributeWordList->AddWord(sAttribute.c_str(), nId);
    // A display name given once is not lost where the attribute is named alone.
    if (bNew || sText.find('|') != std::string::npos)
        m_pAttriNameWordList->AddWord(sShowName.c_str(), nId);
    return nId;
}

void CRUX::Org2Knowledge()
{
    if (!m_bIsModified && m_pDict)
        return;
    std::unique_ptr<CStaticStr> pOldPool = std::move(m_pStaticStr);
    m_pStaticStr = std::make_unique<CStaticStr>();
    m_pIntArray = std::make_unique<CIntArray>();
    m_mapCustomAction.clear();
    m_pDict = std::make_unique<CPDAT>(PDAT_MODE_BYTE);
    m_pWordList = std::make_unique<CWordList>(false, m_pDict.get());
    m_pDict->AddWordInit();
    m_pWordList->AddWordInit();
    StartAttributes();

    m_nRuleCount = static_cast<unsigned>(m_vecRule.size());
    m_pRules.assign(m_nRuleCount, _tRule());
    for (size_t i = 0; i < m_vecRule.size(); ++i)
        CompileRule(m_vecRule[i], m_pRules[i], *pOldPool);

    m_pDict->AddWordComplete();
    m_pWordList->AddWordComplete();
    FinishAttributes();
    Indexing();
    WriteUserDict();
    HandWordsToSegmenter(true);
    m_bIsModified = false;
    Knowledge2Org();
}

// New attribute dictionaries holding the built-in keys; the rules compiled
// next add theirs before FinishAttributes.
void CRUX::StartAttributes()
{
    m_pAttributeDict = std::make_unique<CPDAT>(PDAT_MODE_BYTE);
    m_pAttributeWordList = std::make_unique<CWordList>(false, m_pAttributeDict.get());
    m_pAttriNameWordList = std::make_unique<CWordList>(false, m_pAttributeDict.get());
    m_pAttributeDict->AddWordInit();
    m_pAttributeWordList->AddWordInit();
    m_pAttriNameWordList->AddWordInit();
    for (const char* sKey : kDefaultKeys)
        AddAttribute(sKey);
}

void CRUX::FinishAttributes()
{
    m_pAttributeDict->AddWordComplete();
    m_pAttributeWordList->AddWordComplete();
    m_pAttriNameWordList->AddWordComplete();
    FindDefaultKeys();
}

void CRUX::CompileRule(const _tRuleOrg& org, _tRule& rule, const CStaticStr& oldPool)
{
    m_nCurActionId = org.action_id;
    rule.rule_no_id = m_pStaticStr->AddString(org.no);
    rule.knowledge.text_id = m_pStaticStr->AddString(org.rule.text);
    rule.name_id = m_pStaticStr->AddString(org.name);
    rule.credit = org.credit;
    rule.frequency = org.frequency;
    rule.action_id = org.action_id;
    if (org.action_id >= kCustomActionBase) {
        // Custom action names move to the new pool with the rule.
        const char* sName = oldPool.GetString(org.action_id - kCustomActionBase);
        rule.action_id = (sName && *sName) ? CustomActionId(sName) : RUX_ACTION_INSERT;
    }
    int nField = GetFieldId(org.sField.c_str());
    if (nField < 0) {
        int nAttribute = AddAttribute(org.sField);
        nField = nAttribute >= 0 ? kAttributeFieldBase + nAttribute : 0;
    }
    rule.field = nField;
    rule.knowledge.steps = m_pIntArray->Add(org.rule.vecSteps);
    CompileArguments(org, rule);
    std::vector<int> vecKeys;
    for (const std::string& sKey : org.vecKeyname) {
        int nAttribute = AddAttribute(sKey);
        if (nAttribute >= 0)
            vecKeys.push_back(~nAttribute);
    }
    rule.keys_id = m_pIntArray->Add(vecKeys);
    for (const _tField2KG& kg : org.vecField2KG) {
        _tFieldID2KG compiled;
        compiled.field_name_id = AddAttribute(kg.field_name);
        if (compiled.field_name_id < 0)
            continue;
        std::copy(kg.type, kg.type + RUX_KG_TYPE_SIZE, compiled.type);
        rule.pField2KG.push_back(compiled);
    }
    rule.nField2KGCount = static_cast<int32_t>(rule.pField2KG.size());
    CompileGrids(org, rule);
}

void CRUX::CompileArguments(const _tRuleOrg& org, _tRule& rule)
{
    std::vector<int> vecArgs, vecFormats;
    for (const std::string& sArg : org.arguments) {
        std::string sAttribute, sShowName, sFormat, sValue;
        int nAttribute = -1;
        if (IsAttributeArgument(rule.action_id, sArg) && ExtractAttribute(sArg, sAttribute, sShowName, sFormat) &&
            (nAttribute = AddAttribute(sArg)) >= 0) {
            vecArgs.push_back(~nAttribute);
            // The format travels with the attribute, so it prints back.
            vecFormats.push_back(sFormat.empty() ? -1 : m_pStaticStr->AddString(sFormat));
            continue;
        }
        bool bFormat = SplitFormat(sArg, sValue, sFormat);
        vecArgs.push_back(m_pStaticStr->AddString(sValue));
        vecFormats.push_back(bFormat ? m_pStaticStr->AddString(sFormat) : -1);
    }
    rule.arguments_id = m_pIntArray->Add(vecArgs);
    rule.RegExs_id = m_pIntArray->Add(vecFormats);
}

void CRUX::CompileGrids(const _tRuleOrg& org, _tRule& rule)
{
    bool bAttributes = rule.action_id >= RUX_ACTION_GENERATE_TUPLE;
    for (const _tGridOrg& gridOrg : org.rule.vecGrids) {
        _tGrid grid;
        grid.is_selected = gridOrg.is_selected;
        for (const _tBlockOrg& blockOrg : gridOrg.vecBlocks) {
            _tBlock block;
            block.is_not = blockOrg.is_not;
            std::vector<int> vecIds;
            for (const std::string& sElem : blockOrg.vecElems) {
                int nId = -1;
                if (bAttributes) {
                    int nAttribute = AddAttribute(sElem);
                    if (nAttribute < 0) {
                        Report(org.no, sElem + " Is invalid attribute name");
                        continue;
                    }
                    nId = ~nAttribute;
                } else {
                    nId = m_pDict->AddWord(sElem.c_str());
                    if (nId < 0)
                        continue;
                }
                // An element repeated in one block is kept (and indexed) once.
                if (std::find(vecIds.begin(), vecIds.end(), nId) != vecIds.end())
                    continue;
                vecIds.push_back(nId);
                if (!bAttributes)
                    m_pWordList->AddWord(sElem.c_str(), nId);
            }
            block.elems = m_pIntArray->Add(vecIds);
            grid.blocks.push_back(block);
        }
        grid.blocks_count = static_cast<int32_t>(grid.blocks.size());
        grid.repeats = m_pIntArray->Add(gridOrg.vecRepeats);
        grid.steps = m_pIntArray->Add(gridOrg.vecSteps);
        rule.knowledge.grids.push_back(std::move(grid));
    }
    rule.knowledge.grid_count = static_cast<int32_t>(rule.knowledge.grids.size());
}

void CRUX::WriteUserDict()
{
    std::string sText;
    for (unsigned nId = 0; nId < m_pDict->GetItemCount(); ++nId) {
        const char* sWord = m_pWordList->GetWord(static_cast<int>(nId));
        if (!IsSegmenterWord(sWord))
            continue;
        bool bSpace = std::string(sWord).find(' ') != std::string::npos;
        sText += bSpace ? "[" + std::string(sWord) + "]\tRUX\n" : std::string(sWord) + "\tRUX\n";
    }
    // Written beside the rule set, never into the current directory; the
    // words reach the segmenter directly, so a failure here only loses the copy.
    if (!WriteFileAtomic(UserDictFile(), sText))
        SetLastError("Failed while opening file " + UserDictFile());
}

void CRUX::HandWordsToSegmenter(bool bPrint) const
{
    int nCount = 0;
    for (unsigned nId = 0; m_pDict && nId < m_pDict->GetItemCount(); ++nId) {
        const char* sWord = m_pWordList->GetWord(static_cast<int>(nId));
        if (IsSegmenterWord(sWord) && PELNOR_AddUserWord(sWord, "RUX") == 1)
            ++nCount;
    }
    if (bPrint)
        std::printf("Successfully imported %d items from rux userdict.txt\n", nCount);
}

void CRUX::FindDefaultKeys()
{
    int* pIds[] = {&m_nDateKeyID, &m_nTableNameKeyID, &m_nSumKeyID, &m_nCountKeyID, &m_nMaxKeyID};
    for (size_t i = 0; i < 5; ++i)
        *pIds[i] = m_pAttributeDict ? m_pAttributeDict->Find(kDefaultKeys[i]) : -1;
}

// ---- back to parsed rules ----

std::string CRUX::AttributeText(int nId) const
{
    std::string sName, sShowName;
    if (!GetAttibuteName(nId, sName, sShowName))
        return "";
    return sShowName == sName ? sName : sName + "|" + sShowName;
}

bool CRUX::GetAttibuteName(int nId, std::string& sName, std::string& sShowName) const
{
    if (!m_pAttributeWordList || !m_pAttriNameWordList || nId < 0 ||
        nId >= static_cast<int>(m_pAttributeDict->GetItemCount()))
        return false;
    sName = m_pAttributeWordList->GetWord(nId);
    sShowName = m_pAttriNameWordList->GetWord(nId);
    return true;
}

int CRUX::GetKeyId(const char* sName) const
{
    if (!sName || !m_pAttributeDict)
        return -1;
    return m_pAttributeDict->Find(sName);
}

std::string CRUX::GetArgument(int i, bool bFull) const
{
    if (i < 0) {
        std::string sName, sShowName;
        if (!GetAttibuteName(~i, sName, sShowName))
            return "";
        return (bFull && sShowName != sName) ? sName + "|" + sShowName : sName;
    }
    const char* s = m_pStaticStr->GetString(i);
    return s ? s : "";
}

const char* CRUX::GetStr(int i) const
{
    return i < 0 ? nullptr : m_pStaticStr->GetString(i);
}

int CRUX::AttributeSlot(int nAttributeId) const
{
    return static_cast<int>(m_pDict ? m_pDict->GetItemCount() : 0) + 1 + nAttributeId;
}

_tKnowledgeOrg CRUX::KnowledgeOrg(const _tRule& rule) const
{
    _tKnowledgeOrg org;
    const char* sText = GetStr(rule.knowledge.text_id);
    org.text = sText ? sText : "";
    org.vecSteps = m_pIntArray->GetValues(rule.knowledge.steps);
    bool bAttributes = rule.action_id >= RUX_ACTION_GENERATE_TUPLE;
    for (const _tGrid& grid : rule.knowledge.grids) {
        _tGridOrg gridOrg;
        gridOrg.is_selected = grid.is_selected;
        gridOrg.vecRepeats = m_pIntArray->GetValues(grid.repeats);
        gridOrg.vecSteps = m_pIntArray->GetValues(grid.steps);
        for (const _tBlock& block : grid.blocks) {
            _tBlockOrg blockOrg;
            blockOrg.is_not = block.is_not;
            for (int nId : m_pIntArray->GetValues(block.elems))
                blockOrg.vecElems.push_back(bAttributes ? AttributeText(~nId) : m_pWordList->GetWord(nId));
            gridOrg.vecBlocks.push_back(std::move(blockOrg));
        }
        org.vecGrids.push_back(std::move(gridOrg));
    }
    return org;
}

void CRUX::Rule2Org(const _tRule& rule, _tRuleOrg& org) const
{
    org = _tRuleOrg();
    const char* sNo = GetStr(rule.rule_no_id);
    const char* sName = GetStr(rule.name_id);
    org.no = sNo ? sNo : "";
    org.name = sName ? sName : "";
    org.sField = GetFieldStr(rule.field);
    org.action_id = rule.action_id;
    org.credit = rule.credit;
    org.frequency = rule.frequency;
    org.rule = KnowledgeOrg(rule);
    std::vector<int> vecArgs = m_pIntArray->GetValues(rule.arguments_id);
    std::vector<int> vecFormats = m_pIntArray->GetValues(rule.RegExs_id);
    for (size_t k = 0; k < vecArgs.size(); ++k) {
        std::string sArg = GetArgument(vecArgs[k], true);
        const char* sFormat = k < vecFormats.size() ? GetStr(vecFormats[k]) : nullptr;
        if (sFormat)
            sArg += ":{" + std::string(sFormat) + "}";
        org.arguments.push_back(sArg);
    }
    for (const _tFieldID2KG& kg : rule.pField2KG) {
        _tField2KG kgOrg;
        kgOrg.field_name = AttributeText(kg.field_name_id);
        std::copy(kg.type, kg.type + RUX_KG_TYPE_SIZE, kgOrg.type);
        org.vecField2KG.push_back(kgOrg);
    }
    for (int nKey : m_pIntArray->GetValues(rule.keys_id))
        org.vecKeyname.push_back(AttributeText(~nKey));
}

void CRUX::Knowledge2Org()
{
    m_vecRule.assign(m_pRules.size(), _tRuleOrg());
    for (size_t i = 0; i < m_pRules.size(); ++i)
        Rule2Org(m_pRules[i], m_vecRule[i]);
}

std::string CRUX::GetKnowledgeStr(int nRuleIndex) const
{
    if (nRuleIndex < 0 || static_cast<size_t>(nRuleIndex) >= m_pRules.size())
        return "";
    return ::GetKnowledgeStr(KnowledgeOrg(m_pRules[static_cast<size_t>(nRuleIndex)]));
}
