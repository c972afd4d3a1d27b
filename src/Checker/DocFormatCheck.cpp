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
    std::unique_lock<std::shared_mutex> lock(m_mutexStore);
    return m_pDocTemplate->EditTemplateText(nTemplateID, nType, sOrg, sArea, sArgument, sText);
}

int CDocFormatCheck::ImportTemplate(const char* sTemplateFile, int nType, const char* sOrg, const char* sArea,
                                    const char* sArgument)
{
    std::string sText;
    if (m_pDocTemplate->Learn(nType, sOrg, sArea, sArgument, sTemplateFile, sText) != 1)
        return -1;
    std::unique_lock<std::shared_mutex> lock(m_mutexStore);
    return m_pDocTemplate->ImportTemplateText(nType, sOrg, sArea, sArgument, sText);
}

int CDocFormatCheck::FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgument) const
{
    std::shared_lock<std::shared_mutex> lock(m_mutexStore);
    return m_pDocTemplate->FindTemplate(nType, sOrg, sArea, sArgument, false);
}

int CDocFormatCheck::DeleteTemplate(int nTemplateID)
{
    std::unique_lock<std::shared_mutex> lock(m_mutexStore);
    return m_pDocTemplate->DeleteTemplate(nTemplateID);
}

const char* CDocFormatCheck::GetTemplate(int nTemplateID)
{
    std::unique_lock<std::shared_mutex> lock(m_mutexStore);
    m_sResult = m_pDocTemplate->GetTemplate(nTemplateID);
    return m_sResult.c_str();
}

size_t CDocFormatCheck::GetTemplateCount() const
{
    std::shared_lock<std::shared_mutex> lock(m_mutexStore);
    return m_pDocTemplate->GetCount();
}

const char* CDocFormatCheck::GetTemplateList(int nDocType, const char* sOrganization)
{
    std::unique_lock<std::shared_mutex> lock(m_mutexStore);
    m_sResult = m_pDocTemplate->GetTemplateList(nDocType, sOrganization);
    return m_sResult.c_str();
}

int CDocFormatCheck::ExportTemplates()
{
    std::unique_lock<std::shared_mutex> lock(m_mutexStore);
    return m_pDocTemplate->Export();
}

std::shared_ptr<const CDocFormat> CDocFormatCheck::FindFormat(int nType, const char* sOrg, const char* sArea,
                                                              const char* sArgument, int* pIndex) const
{
    std::shared_lock<std::shared_mutex> lock(m_mutexStore);
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
    std::shared_lock<std::shared_mutex> lock(m_mutexStore);
    return m_pDocTemplate->GetFormat(nTemplateID);
}
