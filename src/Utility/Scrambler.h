// The self-inverse byte scrambling applied to strings in binary data files
// (catalogue, word lists), so they are not readable as plain text.
#pragma once

#include <cstddef>
#include <string>

// Scrambles or unscrambles in place; applying it twice gives the input back.
void ScrambleBytes(char* pData, size_t nLen);
void ScrambleString(std::string& sData);
