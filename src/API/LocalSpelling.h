// The library's own spelling engine, serving the spelling address "local"
// in process and the VESKAR_SuggestSpelling export. It is loaded from the
// started library's data folder on first use and kept until released.
#pragma once

#include <functional>
#include <string>

// The spelling answer JSON for one UTF-8 sentence into sAnswer. False with
// sError when the library is not started or the spelling data cannot load.
bool LocalSpellingAnswer(const std::string& sSentence, std::string& sAnswer, std::string& sError);
// The engine as a provider: the answer JSON for a sentence; on failure an
// answer without corrections (the failure goes to the error log).
std::function<std::string(const std::string&)> LocalSpellingProvider();
// Makes the engine the in-process provider of the spelling address "local";
// called at library start.
void RegisterLocalSpelling();
// Frees the loaded engine (library shutdown); the next use loads it again.
void ReleaseLocalSpelling();
