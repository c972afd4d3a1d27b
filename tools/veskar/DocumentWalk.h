// Lists the documents under a folder that the batch check would take
// (the library says which), as paths relative to it.
#pragma once

#include <string>
#include <vector>

// Sorted relative paths; false with the reason when the folder cannot be read.
bool ListDocuments(const std::string& sDir, std::vector<std::string>& vecFiles, std::string& sError);
