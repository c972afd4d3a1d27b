// The visible text of an HTML page: markup, scripts, styles and comments
// removed, entities decoded, block elements on lines of their own.
#pragma once

#include <string>

// sHtml and the result are UTF-8.
std::string vHtmlToText(const std::string& sHtml);
// The charset an HTML page declares ("" when none), e.g. "gb2312".
std::string HtmlDeclaredCharset(const std::string& sHtml);
