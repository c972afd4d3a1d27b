// Reading and writing the library's data files (dictionaries, word lists,
// maps, catalogues): by the UTF-8 name or its local spelling, whole, and
// with the last error set on failure.
#pragma once

#include <cstdint>
#include <string>

#include "Utility/ByteStream.h"

// The whole file, tried under its UTF-8 name and then its GBK spelling.
// False with "Fail read file <name>" when it cannot be read.
bool ReadDataFile(const char* sFilename, std::string& sData, std::string* pOpened = nullptr);
// Writes atomically; false with "Fail write file <name>".
bool WriteDataFile(const std::string& sFilename, const std::string& sData);
// The same, the content given piece by piece to the sink fnWrite is handed;
// the file replaces the old one only when fnWrite returns true.
bool WriteDataFile(const std::string& sFilename, const std::function<bool(const ByteSink&)>& fnWrite);
// Opens the file as ReadDataFile does and hands fnRead a source over its
// bytes and their count: 1 when fnRead accepts them, 0 when it does not,
// -1 with "Fail read file <name>" when the file cannot be read.
int ReadDataFile(const char* sFilename, const std::function<bool(const ByteSource&, uint64_t)>& fnRead);
// Sets "Fail read file <name>: truncated or corrupt <what>"; returns 0.
int CorruptDataFile(const char* sFilename, const char* sWhat);
