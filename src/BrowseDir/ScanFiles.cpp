// The batch's directory listing.
#include "BrowseDir/ScanFiles.h"


bool gfn_vScanFiles(const char* sDir, std::vector<std::string>& vecFiles, const char* sFilter, bool bFile,
                    void* pHost, CBrowseDir::Indicator pIndicator)
{
    CBrowseDir browser;
    browser.m_nMaxThreadCount = 20;
    if (!browser.SetInitDir(sDir))
        return false;
    browser.BeginBrowse(sFilter, bFile, pHost, pIndicator);
    for (const auto& info : browser.Files())
        vecFiles.push_back(info.filename);
    return true;
}
