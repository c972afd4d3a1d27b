// Finds the library's init directory (the folder that holds "Data") from
// --data, $VESKAR_DATA, or the data folder installed or built beside the tool.
#pragma once

#include <string>

// sGiven may name the data folder itself or the folder that holds it; empty
// means the defaults. On failure returns false with a readable reason.
bool FindInitDir(const std::string& sGiven, std::string& sInitDir, std::string& sError);
