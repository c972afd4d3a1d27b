// The report-type manager: remembers which report types exist (the file
// "RUX_Manager.dat") and will give each check its type's rule processor.
#pragma once

#include <set>
#include <string>

class CRUXManager {
public:
    // sInitDir is the library's init directory; files live in its "Data".
    explicit CRUXManager(const char* sInitDir);

    // Reads the manager file: 1, or -1 with "Failed reading file <path>".
    int Load();
    // Writes the manager file: 1, or -1 with "Failed writing file <path>".
    int Save();
    // Remembers a report type and saves the file when it is new.
    void AddReportType(int nType);
    const std::set<int>& ReportTypes() const { return m_setTypes; }
    std::string ManagerFile() const;

    // Parses the manager file's bytes; false when short or corrupt.
    static bool ParseTypes(const std::string& sData, std::set<int>& setTypes);

private:
    std::string m_sDataPath;  // init directory + "/Data/"
    std::set<int> m_setTypes;
};
