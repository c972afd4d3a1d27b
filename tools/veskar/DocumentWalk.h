// Lists the documents under a folder the way the batch check picks them
// (.doc*, .wps, .pdf, .txt other than *_tuple.txt), as paths relative to it.
#pragma once

#include <string>
#include <vector>

// Sorted relative paths; false with the reason when the folder cannot be read.
bool ListDocuments(const std::string& sDir, std::vector<std::string>& vecFiles, std::string& sError);
// Whether a file name is one the batch check takes.
bool IsCheckableName(const std::string& sName);
