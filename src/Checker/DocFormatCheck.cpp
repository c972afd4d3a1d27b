// Format checker; the template store is loaded here once it exists.
#include "Checker/DocFormatCheck.h"

CDocFormatCheck::CDocFormatCheck(const char* sInitDir) : m_sInitDir(sInitDir ? sInitDir : "")
{
}
