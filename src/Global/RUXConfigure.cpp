// Every key is read as a string; a missing key reads as "" and, like any
// value other than "on"/"off", leaves its switch at the default.
#include "Global/RUXConfigure.h"

#include <atomic>
#include <json/json.h>
#include <memory>
#include <strings.h>

#include "Global/Globals.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

std::string StringMember(const Json::Value& root, const char* sKey)
{
    const Json::Value& value = root[sKey];
    return value.isString() ? value.asString() : std::string();
}

// A switch that is on by default goes off only for "off"; one that is off by
// default goes on only for "on"; anything else gives the default.
void ApplySwitch(const Json::Value& root, const char* sKey, bool bDefault, std::atomic<bool>& bSwitch)
{
    std::string sValue = StringMember(root, sKey);
    bSwitch = bDefault ? !IsSwitchValue(sValue, "off") : IsSwitchValue(sValue, "on");
}

}  // namespace

bool IsSwitchValue(const std::string& sValue, const char* sWanted)
{
    return strcasecmp(sValue.c_str(), sWanted) == 0;
}

bool ApplyRUXConfigure(const std::string& sJsonText)
{
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string sErrors;
    if (!reader->parse(sJsonText.data(), sJsonText.data() + sJsonText.size(), &root, &sErrors) ||
        !root.isObject())
        return false;
    ApplySwitch(root, "PunctionCheck", true, g_bPunctionCheck);
    ApplySwitch(root, "FormatCheck", true, g_bFormatCheck);
    ApplySwitch(root, "BodyFormatCheck", true, g_bBodyFormatCheck);
    ApplySwitch(root, "OCR", false, g_bOCR);
    ApplySwitch(root, "FilterCheck", false, g_bFilteringCheck);
    ApplySwitch(root, "SpellCheck", false, g_bSpellingCheck);
    if (g_bSpellingCheck)
        g_sSpellingHostIP = StringMember(root, "SpellCheckIP");
    ApplySwitch(root, "CountryDetect", false, g_bCountryDetect);
    return true;
}

int LoadRUXConfigre(const std::string& sPath)
{
    std::string sText;
    if (!ReadWholeFile(sPath, sText, 1 << 20) || !ApplyRUXConfigure(sText)) {
        SetLastError("Failed reading file " + sPath);
        return 0;
    }
    return 1;
}
