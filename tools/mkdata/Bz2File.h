// Reads a whole bzip2-compressed file at build time (the Unihan readings
// ship compressed).
#pragma once

#include <string>

// False with sError when the file cannot be opened or is no bzip2 stream.
bool ReadBz2File(const std::string& sPath, std::string& sOut, std::string& sError);
