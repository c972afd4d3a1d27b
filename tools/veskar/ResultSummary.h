// Prints a check result (its JSON form) for a person at a terminal: the
// score, the findings per code, then every finding.
#pragma once

#include <string>

namespace Json {
class Value;
}

// Parses the library's JSON result text; false when it is not one.
bool ParseResultJson(const char* sJson, Json::Value& result);
// sResultFile, when not empty, is named at the end; sDocument, when not
// empty, is the document named at the top (else the one the result names).
void PrintResultSummary(const Json::Value& result, const std::string& sResultFile,
                        const std::string& sDocument = std::string());
// The path of the JSON result file a check wrote (it lies beside the
// document's work folder that the result names).
std::string JsonResultFile(const Json::Value& result);
// True for the JSON form of a saved check result (it has its statistics).
bool IsCheckResult(const Json::Value& result);
