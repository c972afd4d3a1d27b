// Copies the built data folder so tests never change the shared one.
#include "support/TempDataDir.h"

#include <stdexcept>

CTempDataDir::CTempDataDir()
{
    if (!CopyTree(BuiltDataDir(), Path() + "/Data"))
        throw std::runtime_error("cannot copy the built data folder");
}
