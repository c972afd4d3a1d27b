// Manager file layout: u64 number of report types, then the types as i32
// in ascending order.
#include "RUX/RUXManager.h"

#include <cstdint>

#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

CRUXManager::CRUXManager(const char* sInitDir)
    : m_sDataPath(std::string(sInitDir ? sInitDir : "") + "/Data/")
{
}

std::string CRUXManager::ManagerFile() const
{
    return m_sDataPath + "RUX_Manager.dat";
}

bool CRUXManager::ParseTypes(const std::string& sData, std::set<int>& setTypes)
{
    CBinaryReader reader(sData);
    uint64_t nCount = 0;
    if (!reader.Read(nCount) || nCount > reader.Remaining() / sizeof(int32_t))
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
    m_setTypes = setTypes;
    return 1;
}

int CRUXManager::Save()
{
    CBinaryWriter writer;
    writer.Write(static_cast<uint64_t>(m_setTypes.size()));
    for (int nType : m_setTypes)
        writer.Write(static_cast<int32_t>(nType));
    if (!WriteFileAtomic(ManagerFile(), writer.Data())) {
        SetLastError("Failed writing file " + ManagerFile());
        return -1;
    }
    return 1;
}

void CRUXManager::AddReportType(int nType)
{
    if (m_setTypes.insert(nType).second)
        Save();
}
