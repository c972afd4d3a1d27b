// Format checker; the template store is loaded here once it exists.
#include "Checker/DocFormatCheck.h"

#include "Docx/DocFormat.h"
#include "Utility/Log.h"

namespace {

int NoStore(const char* sOperation)
{
    SetLastError(std::string(sOperation) + ": the template store is not available in this build");
    return 0;
}

}  // namespace

CDocFormatCheck::CDocFormatCheck(const char* sInitDir) : m_sInitDir(sInitDir ? sInitDir : "")
{
}

int CDocFormatCheck::EditTemplate(int, const char*, int, const char*, const char*, const char*)
{
    return NoStore("EditTemplate");
}

int CDocFormatCheck::ImportTemplate(const char*, int, const char*, const char*, const char*)
{
    return NoStore("ImportTemplate");
}

int CDocFormatCheck::FindTemplate(int, const char*, const char*, const char*) const
{
    return -1;
}

int CDocFormatCheck::DeleteTemplate(int nTemplateID)
{
    SetLastError("Template " + std::to_string(nTemplateID) + " not exists.");
    return 0;
}

const char* CDocFormatCheck::GetTemplate(int nTemplateID)
{
    SetLastError("Template " + std::to_string(nTemplateID) + " not exists.");
    return nullptr;
}

size_t CDocFormatCheck::GetTemplateCount() const
{
    return 0;
}

const char* CDocFormatCheck::GetTemplateList(int, const char*)
{
    m_sResult = "[]";
    return m_sResult.c_str();
}

std::shared_ptr<const CDocFormat> CDocFormatCheck::FindFormat(int, const char*, const char*, const char*,
                                                              int* pIndex) const
{
    if (pIndex)
        *pIndex = -1;
    return nullptr;
}

std::shared_ptr<const CDocFormat> CDocFormatCheck::GetFormat(int) const
{
    return nullptr;
}
