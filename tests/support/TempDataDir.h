// A temporary init directory holding a private copy of the built data folder.
#pragma once

#include "support/TempDir.h"

class CTempDataDir : public CTempDir {
public:
    CTempDataDir();
    // <init dir>/Data/<sName>
    std::string DataFile(const std::string& sName) const { return Path() + "/Data/" + sName; }
};
