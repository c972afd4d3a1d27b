// Manager file layout: u64 number of report types, then the types as i32
// in ascending order.
#include "RUX/RUXManager.h"

#include <json/json.h>

#include <cstdint>

#include "Global/Globals.h"
#include "RUX/Audit.h"
#include "RUX/RUX.h"
#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

std::string JoinLines(const std::vector<std::string>& vecLines)
{
    std::string sOut;
    for (const std::string& sLine : vecLines)
        sOut += sLine + "\n";
    return sOut;
}

}  // namespace

CRUXManager::CRUXManager(const char* sInitDir)
    : m_sDataPath(std::string(sInitDir ? sInitDir : "") + "/Data/")
{
}

CRUXManager::~CRUXManager() = default;

std::string CRUXManager::ManagerFile() const
{
    return m_sDataPath + "RUX_Manager.dat";
}

bool CRUXManager::ParseTypes(const std::string& sData, std::set<int>& setTypes)
{
    CBinaryReader reader(sData);
    uint64_t nCount = 0;
    if (!reader.Read(nCount) || nCount != reader.Remaining() / sizeof(int32_t) ||
        reader.Remaining() % sizeof(int32_t) != 0)
        return false;
    for (uint64_t i = 0; i < nCount; ++i) {
        int32_t nType = 0;
        reader.Read(nType);
        setTypes.insert(nType);
    }
    return true;
}

int CRUXManager::Load()
{
    std::string sData;
    std::set<int> setTypes;
    if (!ReadWholeFile(ManagerFile(), sData) || !ParseTypes(sData, setTypes)) {
        SetLastError("Failed reading file " + ManagerFile());
        return -1;
    }
    std::map<int, std::unique_ptr<CAudit>> mapLoaded;
    for (int nType : setTypes) {
        auto pAudit = std::make_unique<CAudit>(m_sDataPath.c_str(), nType);
        if (pAudit->Load() != 1)
            WriteError("Report type " + std::to_string(nType) + " loaded empty: " + g_sLastErrorMessage);
        mapLoaded[nType] = std::move(pAudit);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_mapType2Processor = std::move(mapLoaded);
    return 1;
}

int CRUXManager::SaveLocked()
{
    CBinaryWriter writer;
    writer.Write(static_cast<uint64_t>(m_mapType2Processor.size()));
    for (const auto& entry : m_mapType2Processor)
        writer.Write(static_cast<int32_t>(entry.first));
    if (!WriteFileAtomic(ManagerFile(), writer.Data())) {
        SetLastError("Failed writing file " + ManagerFile());
        return -1;
    }
    return 1;
}

int CRUXManager::Save()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return SaveLocked();
}

CAudit* CRUXManager::GetProcesser(int nType)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_mapType2Processor.find(nType);
    if (it != m_mapType2Processor.end())
        return it->second.get();
    SetLastError("Report Type=" + std::to_string(nType) + " Processor not exists.");
    return nullptr;
}

CAudit* CRUXManager::GetOrCreateProcesser(int nType)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_mapType2Processor.find(nType);
    if (it != m_mapType2Processor.end())
        return it->second.get();
    SetLastError("Report Type=" + std::to_string(nType) + " Processor not exists.");
    auto pAudit = std::make_unique<CAudit>(m_sDataPath.c_str(), nType);
    // Files left by an earlier manager file are taken over.
    if (pAudit->Load() != 1)
        WriteError("Report type " + std::to_string(nType) + " starts empty: " + g_sLastErrorMessage);
    CAudit* pResult = pAudit.get();
    m_mapType2Processor[nType] = std::move(pAudit);
    SaveLocked();
    return pResult;
}

void CRUXManager::AddReportType(int nType)
{
    GetOrCreateProcesser(nType);
}

std::set<int> CRUXManager::ReportTypes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::set<int> setTypes;
    for (const auto& entry : m_mapType2Processor)
        setTypes.insert(entry.first);
    return setTypes;
}

// ---- rule sources ----

int CRUXManager::ImportRUXRules(const char* sFile, bool bOverwrite, int nType)
{
    return GetOrCreateProcesser(nType)->Import(sFile, bOverwrite);
}

int CRUXManager::ImportRUXRulesFromMem(const char* sText, bool bOverwrite, int nType)
{
    return GetOrCreateProcesser(nType)->ImportFromMem(sText, bOverwrite);
}

int CRUXManager::AddRule(const char* sRule, int nType)
{
    return GetOrCreateProcesser(nType)->AddRule(sRule);
}

// ---- extraction rules ----

std::string CRUXManager::GetRUXSysInfo()
{
    CRUX fresh(m_sDataPath.c_str(), 0);
    return fresh.GetSysInfo();
}

std::string CRUXManager::GetRUXRuleListId(int nType)
{
    return GetOrCreateProcesser(nType)->GetRUX()->GetRuleListId();
}

std::string CRUXManager::GetRUXRuleInfo(int nRuleId, int nType)
{
    return GetOrCreateProcesser(nType)->GetRUX()->GetItem(nRuleId);
}

// Extraction changes renumber attributes, so the audit rules follow.
int CRUXManager::AddRUXRule(const char* sJson, int nType)
{
    CAudit* pAudit = GetOrCreateProcesser(nType);
    int nResult = pAudit->GetRUX()->AddItem(sJson);
    pAudit->Recompile();
    return nResult;
}

int CRUXManager::EditRUXRule(int nRuleId, const char* sJson, int nType)
{
    CAudit* pAudit = GetOrCreateProcesser(nType);
    int nResult = pAudit->GetRUX()->EditItem(nRuleId, sJson);
    pAudit->Recompile();
    return nResult;
}

int CRUXManager::DelRUXRule(int nRuleId, int nType)
{
    CAudit* pAudit = GetOrCreateProcesser(nType);
    int nResult = pAudit->GetRUX()->DeleteItem(nRuleId);
    if (nResult == 1)
        pAudit->Recompile();
    return nResult;
}

// ---- audit rules ----

std::string CRUXManager::GetAuditSysInfo(int nType)
{
    return GetOrCreateProcesser(nType)->GetSysInfo();
}

std::string CRUXManager::GetAuditRuleListId(int nType)
{
    return GetOrCreateProcesser(nType)->GetListId();
}

std::string CRUXManager::GetAuditRuleInfo(int nRuleId, int nType)
{
    return GetOrCreateProcesser(nType)->GetItem(nRuleId);
}

int CRUXManager::AddAuditRule(const char* sJson, int nType)
{
    return GetOrCreateProcesser(nType)->AddItem(sJson);
}

int CRUXManager::EditAuditRule(int nRuleId, const char* sJson, int nType)
{
    return GetOrCreateProcesser(nType)->EditItem(nRuleId, sJson);
}

int CRUXManager::DelAuditRule(int nRuleId, int nType)
{
    return GetOrCreateProcesser(nType)->DeleteItem(nRuleId);
}

std::string CRUXManager::ExportAudit(int nType)
{
    return GetOrCreateProcesser(nType)->ExportText();
}

std::string CRUXManager::GetMessages(int nType)
{
    CAudit* pAudit = GetProcesser(nType);
    if (!pAudit)
        return "";
    std::vector<std::string> vecLines = pAudit->GetRUX()->GetMessages();
    for (const std::string& sLine : pAudit->GetMessages())
        vecLines.push_back(sLine);
    return JoinLines(vecLines);
}

std::string CRUXManager::GetTypesInfo()
{
    Json::Value list(Json::arrayValue);
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& entry : m_mapType2Processor) {
        Json::Value item(Json::objectValue);
        item["type"] = entry.first;
        item["rules"] = static_cast<Json::UInt64>(entry.second->GetRUX()->GetRuleOrgs().size());
        item["audits"] = static_cast<Json::UInt64>(entry.second->GetRuleOrgs().size());
        list.append(item);
    }
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, list);
}
