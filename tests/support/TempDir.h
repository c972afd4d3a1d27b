// Temporary folders for tests: removed with everything in them when the
// object goes out of scope. CTempDataDir also holds a copy of the built
// data folder, so a test can change or remove its files freely.
#pragma once

#include <string>

class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_sPath; }
    std::string File(const std::string& sName) const { return m_sPath + "/" + sName; }

private:
    std::string m_sPath;
};

// Writes bytes to a file (creating missing folders); false on failure.
bool WriteTestFile(const std::string& sPath, const std::string& sData);
// Reads a whole file ("" when missing).
std::string ReadTestFile(const std::string& sPath);
// Copies a folder tree; false on failure.
bool CopyTree(const std::string& sFrom, const std::string& sTo);
// The data folder the build assembled (<build>/Data).
std::string BuiltDataDir();
