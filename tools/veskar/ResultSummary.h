// Prints a check result (its JSON form) for a person at a terminal: the
// score, the findings per code, then every finding.
#pragma once

#include <string>

namespace Json {
class Value;
}

// Parses the library's JSON result text; false when it is not one.
bool ParseResultJson(const char* sJson, Json::Value& result);
// sResultFile, when not empty, is named at the end.
void PrintResultSummary(const Json::Value& result, const std::string& sResultFile);
