// Similar-word and spelling-error dictionaries.
#include "Utility/QueryExpand.h"

#include "Utility/FileUtility.h"

CQueryExpand::CQueryExpand(const std::string& sFolder, const std::string& sStem)
    : m_sFolder(sFolder), m_sStem(sStem)
{
    std::string sBase = FileStem();
    m_bLoaded = FileExists(sBase + ".pdat") && FileExists(sBase + ".wordlist") && FileExists(sBase + ".map");
}
