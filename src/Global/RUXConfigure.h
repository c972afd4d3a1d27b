// Reads the check switches from "RUX-Configure.json".
#pragma once

#include <string>

// Reads the switches from a file: 1, or 0 with "Failed reading file <path>"
// (switches unchanged) when it is missing or not JSON.
int LoadRUXConfigre(const std::string& sPath);
// The same from JSON text; false when the text is not a JSON object.
bool ApplyRUXConfigure(const std::string& sJsonText);
// "on"/"off" compared without regard to case.
bool IsSwitchValue(const std::string& sValue, const char* sWanted);
