// The font-size table is small and read-only after start-up.
#include "Utility/Num2FontSize.h"

#include <cstdlib>
#include <sstream>

#include "Global/Globals.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

int CNum2FontSize::Import(const char* sFilename)
{
    std::string sText;
    if (!ReadWholeFile(sFilename, sText)) {
        SetLastError(std::string("Fail read file ") + sFilename);
        return -1;
    }
    return ImportFromBuffer(sText);
}

int CNum2FontSize::ImportFromBuffer(const std::string& sText)
{
    m_mapFontSize2Name.clear();
    m_mapName2FontSize.clear();
    std::istringstream in(sText);
    std::string sLine;
    std::getline(in, sLine);  // header
    while (std::getline(in, sLine)) {
        std::istringstream fields(sLine);
        std::string sName;
        long nNum = 0;
        if (!(fields >> sName >> nNum))
            continue;
        int nSize = static_cast<int>(nNum);
        // Each line sets both directions; a later line wins.
        m_mapName2FontSize[sName] = nSize;
        m_mapFontSize2Name[nSize] = sName;
    }
    return static_cast<int>(m_mapName2FontSize.size());
}

const char* CNum2FontSize::GetFontSizeName(int nSizeNum) const
{
    auto it = m_mapFontSize2Name.find(nSizeNum);
    if (it != m_mapFontSize2Name.end())
        return it->second.c_str();
    g_sLastErrorMessage = std::to_string(nSizeNum);
    return g_sLastErrorMessage.c_str();
}

int CNum2FontSize::GetFontSizeNum(const char* sName) const
{
    auto it = m_mapName2FontSize.find(sName ? sName : "");
    return it == m_mapName2FontSize.end() ? 0 : it->second;
}
