// The format checker with its template store. For now the store is empty:
// templates can be listed and looked up (nothing is found), and adding one
// fails with a clear message until the template store exists.
#pragma once

#include <cstddef>
#include <string>

class CDocFormatCheck {
public:
    explicit CDocFormatCheck(const char* sInitDir);
    const std::string& InitDir() const { return m_sInitDir; }

    // Template store operations; ids, counts or texts as the exports return.
    int EditTemplate(int nTemplateID, const char* sTemplateFile, int nType, const char* sOrg, const char* sArea,
                     const char* sArgument);
    int ImportTemplate(const char* sTemplateFile, int nType, const char* sOrg, const char* sArea,
                       const char* sArgument);
    int FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgument) const;
    int DeleteTemplate(int nTemplateID);
    const char* GetTemplate(int nTemplateID);
    size_t GetTemplateCount() const;
    const char* GetTemplateList(int nDocType, const char* sOrganization);

private:
    std::string m_sInitDir;
    std::string m_sResult;
};
