// Lists the files (or folders) under a directory tree.
#pragma once

#include <string>
#include <vector>

#include "BrowseDir/BrowseDir.h"

// Appends the full paths under sDir whose extension passes sFilter ("*.*"
// for all), oldest status change first. False when sDir is not a folder.
// Progress lines go to pIndicator, or to stdout when it is null.
bool gfn_vScanFiles(const char* sDir, std::vector<std::string>& vecFiles, const char* sFilter, bool bFile,
                    void* pHost = nullptr, CBrowseDir::Indicator pIndicator = nullptr);
