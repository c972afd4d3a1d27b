// Start and stop of the country detector.
#include "CountryDetect/CountryDetector.h"

#include <string>

#include "Utility/FileUtility.h"

int CountryDetect_Init(const char* sInitDir)
{
    return (sInitDir && IsDirectory(JoinPath(sInitDir, "Data"))) ? 1 : 0;
}

void CountryDetect_Exit()
{
}
