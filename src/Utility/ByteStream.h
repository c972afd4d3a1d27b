// The two callbacks through which a data file is written or read piece by
// piece, so the same code serves a file (through stdio's buffer) and a
// buffer in memory without holding a whole file of a few hundred kilobytes.
#pragma once

#include <cstddef>
#include <functional>

// Takes the next n bytes; false when they could not be written.
using ByteSink = std::function<bool(const char* pData, size_t n)>;
// Fills the next n bytes; false when the input ends first.
using ByteSource = std::function<bool(char* pData, size_t n)>;
