// Conversions between UTF-8 (the interface encoding) and GBK (the encoding
// that the character-level components work in).
#pragma once

#include <string>

// UTF-8 -> GBK. Characters GBK cannot hold are dropped; false when any was.
bool Utf8ToGbk(const std::string& sUtf8, std::string& sGbk);
// GBK/GB18030 -> UTF-8. Decoded as GB18030 so no valid byte is lost;
// invalid bytes are dropped and the result is false.
bool GbkToUtf8(const std::string& sGbk, std::string& sUtf8);
// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(const std::string& sText);
// The text as it is when it is UTF-8, else decoded from GBK (names found
// through their local spelling).
std::string LocalToUtf8(const std::string& sText);
// Appends a code point as UTF-8; 0, surrogates and values past U+10FFFF
// are dropped.
void AppendUtf8(std::string& sOut, unsigned long nCode);
