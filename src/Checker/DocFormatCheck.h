// The format checker with its template store. For now the store is empty:
// templates can be listed and looked up (nothing is found), and adding one
// fails with a clear message until the template store exists.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class CDocFormat;

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

    // For the comparison passes: the template that fits (type, organisation,
    // area, argument), not exact, with the "*" and fallbacks of the store.
    // Null when the store is empty or nothing fits; *pIndex (when given)
    // gets the template index or -1. The object stays valid while held,
    // whatever imports and deletions run meanwhile.
    std::shared_ptr<const CDocFormat> FindFormat(int nType, const char* sOrg, const char* sArea,
                                                 const char* sArgument, int* pIndex = nullptr) const;
    // The template of one index; null when out of range.
    std::shared_ptr<const CDocFormat> GetFormat(int nTemplateID) const;

private:
    std::string m_sInitDir;
    std::string m_sResult;
};
