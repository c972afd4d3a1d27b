// Reading and writing the library's data files (dictionaries, word lists,
// maps, catalogues): by the UTF-8 name or its local spelling, whole, and
// with the last error set on failure.
#pragma once

#include <string>

// The whole file, tried under its UTF-8 name and then its GBK spelling.
// False with "Fail read file <name>" when it cannot be read.
bool ReadDataFile(const char* sFilename, std::string& sData, std::string* pOpened = nullptr);
// Writes atomically; false with "Fail write file <name>".
bool WriteDataFile(const std::string& sFilename, const std::string& sData);
// Sets "Fail read file <name>: truncated or corrupt <what>"; returns 0.
int CorruptDataFile(const char* sFilename, const char* sWhat);
