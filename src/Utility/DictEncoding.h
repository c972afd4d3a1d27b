// The text form of the library's dictionaries: GB18030 bytes. Every UTF-8
// character converts to it without loss, its Chinese characters are the
// two-byte units the dictionaries read, and its rarer characters are two
// such units, so UTF-8 text meets a dictionary only through these two calls.
#pragma once

#include <string>
#include <vector>

// UTF-8 -> dictionary text. A byte that starts no valid UTF-8 character
// becomes '?', so characters on both sides of it never run together; the
// result is false when that happened. With pOffsets, (*pOffsets)[i] is the
// UTF-8 byte offset of dictionary byte i, and one more entry holds the
// UTF-8 length, so hits map back onto the text they came from.
bool Utf8ToDictText(const std::string& sUtf8, std::string& sDict, std::vector<int>* pOffsets = nullptr);

// Dictionary text -> UTF-8 (bytes that are no GB18030 are dropped).
std::string DictTextToUtf8(const std::string& sDict);
