// Text of the document model written into HTML: markup characters escaped,
// the model's superscript and subscript marks turned into <sup>/<sub>, and
// file names turned into relative URLs.
#pragma once

#include <string>
#include <string_view>

// Appends sText as HTML text. Entities already in the text (the model keeps
// the XML character references of document.xml as they were) pass through,
// so a page shows what the document shows and offsets into the model text
// stay true on the page; a bare '&' becomes "&amp;". The marks
// "<superscript>", "</superscript>", "<subscript>", "</subscript>" become
// <sup>, </sup>, <sub>, </sub>; any other '<' and '>' are escaped.
void AppendHtmlText(std::string& sOut, std::string_view sText);
// The same with every '&', '<', '>', '"' and '\'' escaped (attribute values, titles).
std::string HtmlAttrEscape(std::string_view sText);
// A relative URL for a path of UTF-8 names: bytes that would end or break a
// URL (blank, '"', '#', '%', '?', '\'', '<', '>', '\\', controls) are
// percent-encoded; '/' and non-ASCII bytes stay as they are.
std::string UrlPathEscape(std::string_view sPath);
