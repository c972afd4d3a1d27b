// Format checker: the template store's operations. Learning a sample parses
// a whole document, so it runs before the store is locked; only storing the
// learnt text excludes the lookups of running checks.
#include "Checker/DocFormatCheck.h"

#include <mutex>

#include "Docx/DocFormat.h"
#include "Docx/DocxTemplate.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

std::string Text(const char* s)
{
    return s ? s : "";
}

}  // namespace

class CDocFormatCheck::CReadLock {
public:
    explicit CReadLock(const CDocFormatCheck& checker)
    {
        std::lock_guard<std::mutex> gate(checker.m_mutexGate);
        m_lock = std::shared_lock<std::shared_mutex>(checker.m_mutexStore);
    }

private:
    std::shared_lock<std::shared_mutex> m_lock;
};

class CDocFormatCheck::CWriteLock {
public:
    explicit CWriteLock(CDocFormatCheck& checker) : m_gate(checker.m_mutexGate), m_lock(checker.m_mutexStore) {}

private:
    std::lock_guard<std::mutex> m_gate;
    std::unique_lock<std::shared_mutex> m_lock;
};

CDocFormatCheck::CDocFormatCheck(const char* sInitDir) : m_sInitDir(sInitDir ? sInitDir : "")
{
    m_pDocTemplate = std::make_unique<CDocxTemplate>(TemplatePath());
}

CDocFormatCheck::~CDocFormatCheck() = default;

std::string CDocFormatCheck::TemplatePath() const
{
    return NormalisePath(m_sInitDir + "/Data/data/template");
}

int CDocFormatCheck::EditTemplate(int nTemplateID, const char* sTemplateFile, int nType, const char* sOrg,
                                  const char* sArea, const char* sArgument)
{
    std::string sText;
    if (m_pDocTemplate->Learn(nType, sOrg, sArea, sArgument, sTemplateFile, sText) != 1)
        sText.clear();
    CWriteLock lock(*this);
    return m_pDocTemplate->EditTemplateText(nTemplateID, nType, sOrg, sArea, sArgument, sText);
}

int CDocFormatCheck::ImportTemplate(const char* sTemplateFile, int nType, const char* sOrg, const char* sArea,
                                    const char* sArgument)
{
    std::string sText;
    if (m_pDocTemplate->Learn(nType, sOrg, sArea, sArgument, sTemplateFile, sText) != 1)
        return -1;
    CWriteLock lock(*this);
    return m_pDocTemplate->ImportTemplateText(nType, sOrg, sArea, sArgument, sText);
}

int CDocFormatCheck::FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgument) const
{
    CReadLock lock(*this);
    return m_pDocTemplate->FindTemplate(nType, sOrg, sArea, sArgument, false);
}

int CDocFormatCheck::DeleteTemplate(int nTemplateID)
{
    CWriteLock lock(*this);
    return m_pDocTemplate->DeleteTemplate(nTemplateID);
}

const char* CDocFormatCheck::GetTemplate(int nTemplateID)
{
    CWriteLock lock(*this);
    m_sResult = m_pDocTemplate->GetTemplate(nTemplateID);
    // Null for an unknown id, as every text-returning export fails.
    if (m_sResult.empty()) {
        SetLastError("Template " + std::to_string(nTemplateID) + " not exists.");
        return nullptr;
    }
    return m_sResult.c_str();
}

size_t CDocFormatCheck::GetTemplateCount() const
{
    CReadLock lock(*this);
    return m_pDocTemplate->GetCount();
}

const char* CDocFormatCheck::GetTemplateList(int nDocType, const char* sOrganization)
{
    CWriteLock lock(*this);
    m_sResult = m_pDocTemplate->GetTemplateList(nDocType, sOrganization);
    return m_sResult.c_str();
}

int CDocFormatCheck::ExportTemplates()
{
    CWriteLock lock(*this);
    return m_pDocTemplate->Export();
}

std::shared_ptr<const CDocFormat> CDocFormatCheck::FindFormat(int nType, const char* sOrg, const char* sArea,
                                                              const char* sArgument, int* pIndex) const
{
    CReadLock lock(*this);
    int nFound = m_pDocTemplate->FindTemplate(nType, sOrg, sArea, sArgument, false);
    if (pIndex)
        *pIndex = nFound;
    std::string sTail = Text(sOrg) + "  and area=" + Text(sArea) + "  and argument=" + Text(sArgument);
    if (nFound < 0) {
        SetLastError("Cannot find right template with organization=" + sTail);
        return nullptr;
    }
    WriteLog("Find and use template with organization=" + sTail, nullptr, false);
    return m_pDocTemplate->GetFormat(nFound);
}

std::shared_ptr<const CDocFormat> CDocFormatCheck::GetFormat(int nTemplateID) const
{
    CReadLock lock(*this);
    return m_pDocTemplate->GetFormat(nTemplateID);
}
