// Escaping of values written into the library's XML files and unescaping on
// reading, so every file reads back exactly what was written.
#pragma once

#include <string>
#include <string_view>

// "&", "<", ">", '"' and "'" become entities; control characters that XML
// cannot carry (all below 0x20 but tab, LF and CR) are dropped.
std::string XmlEscape(const std::string& sText);
// XmlEscape appended to sOut, for writers that build one large file.
void XmlEscapeAppend(std::string& sOut, std::string_view sText);
// Undoes XmlEscape, and also reads decimal and hexadecimal character
// references; an unknown entity is kept as it stands.
std::string XmlUnescape(const std::string& sText);
// The text between the first "<sName>" and its "</sName>" in
// [nFrom, nLimit), unescaped; false when either tag is missing there.
bool XmlElementText(const std::string& sXml, const std::string& sName, size_t nFrom, size_t nLimit,
                    std::string& sOut);
