// The batch's directory listing.
#include "BrowseDir/ScanFiles.h"

#include "BrowseDir/BrowseDir.h"

bool gfn_vScanFiles(const char* sDir, std::vector<std::string>& vecFiles, const char* sFilter, bool bFile)
{
    CBrowseDir browser;
    browser.m_nMaxThreadCount = 20;
    if (!browser.SetInitDir(sDir))
        return false;
    browser.BeginBrowse(sFilter, bFile);
    for (const auto& info : browser.Files())
        vecFiles.push_back(info.filename);
    return true;
}
