// Shared file handling of the binary and text data files.
#include "Utility/DataFile.h"

#include "Utility/FileUtility.h"
#include "Utility/Log.h"

bool ReadDataFile(const char* sFilename, std::string& sData, std::string* pOpened)
{
    sData.clear();
    if (!sFilename) {
        SetLastError("Fail read file ");
        return false;
    }
    std::string sOpen;
    if (GetAnsiFilename(sFilename, sOpen, false) == 1)
        WriteLog(std::string("Changed utf-8 file name ") + sFilename, nullptr, false);
    if (pOpened)
        *pOpened = sOpen;
    if (!ReadWholeFile(sOpen, sData)) {
        SetLastError("Fail read file " + sOpen);
        return false;
    }
    return true;
}

bool WriteDataFile(const std::string& sFilename, const std::string& sData)
{
    if (sFilename.empty() || !WriteFileAtomic(sFilename, sData)) {
        SetLastError("Fail write file " + sFilename);
        return false;
    }
    return true;
}

int CorruptDataFile(const char* sFilename, const char* sWhat)
{
    SetLastError(std::string("Fail read file ") + (sFilename ? sFilename : "") + ": truncated or corrupt " + sWhat);
    return 0;
}
