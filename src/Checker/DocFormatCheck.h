// The format checker with its template store. For now it is created on the
// init directory and holds nothing; templates and checks come later.
#pragma once

#include <string>

class CDocFormatCheck {
public:
    explicit CDocFormatCheck(const char* sInitDir);
    const std::string& InitDir() const { return m_sInitDir; }

private:
    std::string m_sInitDir;
};
