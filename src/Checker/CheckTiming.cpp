// The JSON form of a check's stage times.
#include "Checker/CheckTiming.h"

#include <json/json.h>

std::string _tCheckTiming::ToJson() const
{
    Json::Value root(Json::objectValue);
    root["parse"] = fParse;
    root["rule_scan"] = fRuleScan;
    root["audit"] = fAudit;
    root["format"] = fFormat;
    root["marks"] = fMarks;
    root["output"] = fOutput;
    root["total"] = fTotal;
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, root);
}
