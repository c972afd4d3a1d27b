// Where a check's HTML pages lie, and showing one in the desktop's browser.
#pragma once

#include <string>

namespace Json {
class Value;
}

// The path of page 0 of the document a check result names (it lies beside
// the document's work folder, like the result file); empty when no such
// page exists.
std::string FirstPagePath(const Json::Value& result);
// Opens sPath with xdg-open without waiting for it; false, with a message
// on stderr, when that cannot be started.
bool OpenInBrowser(const std::string& sPath);
