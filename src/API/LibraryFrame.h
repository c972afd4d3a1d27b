// Start-up and shutdown of the library's shared services, in the order the
// services depend on each other.
#pragma once

#include <string>

// The init directory that a VESKAR_Init argument names: the current
// directory for null or "", current directory + "/" + argument when it
// begins with ".", else the argument.
std::string ResolveInitDir(const char* sInitDirPath);
// Start-up; the result codes of VESKAR_Init.
int StartLibrary(const char* sInitDirPath);
// Shutdown; destroys whatever start-up created, even after a failed start.
void StopLibrary();
