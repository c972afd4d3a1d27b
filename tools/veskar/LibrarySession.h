// Starts the library on the data folder a command names and stops it when
// the command ends; prints the reason when the start fails.
#pragma once

#include <string>

class CLibrarySession {
public:
    // sData: the --data value (may be empty for the defaults).
    explicit CLibrarySession(const std::string& sData);
    ~CLibrarySession();
    CLibrarySession(const CLibrarySession&) = delete;
    CLibrarySession& operator=(const CLibrarySession&) = delete;

    bool Started() const { return m_bStarted; }
    const std::string& InitDir() const { return m_sInitDir; }

private:
    std::string m_sInitDir;
    bool m_bStarted = false;
};

// Prints "veskar: <what>" and the library's last error to stderr; returns 1.
int ReportFailure(const std::string& sWhat);
