// The audit file "RUX_<type>.audit" (layout in Audit.h), the loading of a
// type's processor and the readable export.
#include <cstdint>
#include <cstdio>

#include "Global/Globals.h"
#include "RUX/Audit.h"
#include "RUX/RUX.h"
#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

const uint32_t kAuditFileVersion = 1;
// Five u64 lengths and the credit: the least one rule takes.
const size_t kMinRuleBytes = 5 * 8 + 4;

}  // namespace

bool CAudit::ParseFile(const std::string& sData, std::vector<_tAuditRuleOrg>& vecOrg)
{
    CBinaryReader r(sData);
    uint32_t nVersion = 0, nCount = 0;
    if (!r.Read(nVersion) || nVersion != kAuditFileVersion || !r.Read(nCount) ||
        nCount > r.Remaining() / kMinRuleBytes)
        return false;
    std::vector<_tAuditRuleOrg> vecRead(nCount);
    for (_tAuditRuleOrg& org : vecRead) {
        int32_t nCredit = 0;
        if (!r.ReadSizedString(org.no) || !r.ReadSizedString(org.name) || !r.ReadSizedString(org.rule) ||
            !r.ReadSizedString(org.arguments) || !r.ReadSizedString(org.field) || !r.Read(nCredit))
            return false;
        org.credit = nCredit;
    }
    if (!r.AtEnd())
        return false;
    vecOrg = std::move(vecRead);
    return true;
}

int CAudit::Save()
{
    CBinaryWriter w;
    w.Write(kAuditFileVersion);
    w.Write(static_cast<uint32_t>(m_vecOrg.size()));
    for (const _tAuditRuleOrg& org : m_vecOrg) {
        w.WriteSizedString(org.no);
        w.WriteSizedString(org.name);
        w.WriteSizedString(org.rule);
        w.WriteSizedString(org.arguments);
        w.WriteSizedString(org.field);
        w.Write(static_cast<int32_t>(org.credit));
    }
    if (!WriteFileAtomic(AuditFile(), w.Data())) {
        SetLastError("Failed writing file " + AuditFile());
        return -1;
    }
    m_bDirty = false;
    Export();
    return 1;
}

int CAudit::Load()
{
    // A type whose extraction rules were never saved starts empty; a set
    // saved without rules loads as empty too.
    if (FileExists(m_pRUX->RuleFile())) {
        int nResult = m_pRUX->Load();
        if (nResult != 1 && !(nResult == -2 && g_sLastErrorMessage == "m_nRuleCount <=0"))
            return -1;
    }
    std::vector<_tAuditRuleOrg> vecOrg;
    if (FileExists(AuditFile())) {
        std::string sData;
        if (!ReadWholeFile(AuditFile(), sData) || !ParseFile(sData, vecOrg)) {
            SetLastError("Failed reading file " + AuditFile());
            Recompile();
            return -1;
        }
    }
    m_vecOrg = std::move(vecOrg);
    m_vecMessages.clear();
    Recompile();
    m_bDirty = false;
    return 1;
}

std::string CAudit::ExportText() const
{
    char sLine[64];
    std::snprintf(sLine, sizeof(sLine), "AuditRuleCount=%zu\n", m_vecOrg.size());
    std::string s = sLine;
    for (size_t i = 0; i < m_vecOrg.size(); ++i) {
        const _tAuditRuleOrg& org = m_vecOrg[i];
        s += "Index=" + std::to_string(i) + ": No=" + org.no + "\tName=" + org.name + "\tRule=" + org.rule +
             "\tCredit=" + std::to_string(org.credit) + "\tField=" + org.field + "\tArgument=" + org.arguments +
             "\r\n";
    }
    s += "NotNullFields=" + std::to_string(m_vecNotNull.size()) + "\n";
    for (const _tNotNullField& field : m_vecNotNull)
        s += field.name + "\t" + field.code + (field.id < 0 ? "\t(not extracted by any rule)" : "") + "\n";
    return s;
}

int CAudit::Export()
{
    if (!WriteFileAtomic(ExportFile(), ExportText())) {
        SetLastError("Failed open file " + ExportFile());
        return -1;
    }
    return 1;
}
