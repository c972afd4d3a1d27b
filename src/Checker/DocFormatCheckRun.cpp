// CDocFormatCheck, the checking half: the structural passes, the choice of
// template and the format pass. The template-store half is in
// DocFormatCheck.cpp. Each call builds its own CFormatCheckContext, which
// is all the state a check has.
#include "Checker/DocFormatCheck.h"

#include "Checker/CaptionOrderCheck.h"
#include "Checker/CheckResult.h"
#include "Checker/ContentsCheck.h"
#include "Checker/FigureTablePosition.h"
#include "Checker/FormatCheckContext.h"
#include "Checker/FormatPass.h"
#include "Checker/SectionOrderCheck.h"
#include "Docx/DocFormat.h"
#include "Docx/DocxParser.h"
#include "Utility/Log.h"

namespace {

bool ChecksContents(int nReportType)
{
    return nReportType == 1 || nReportType == 2 || nReportType == 7;
}

bool ChecksFormulasAndReferences(int nReportType)
{
    return nReportType == 6 || nReportType == 7;
}

void StructureChecks(CFormatCheckContext& context)
{
    int nType = context.ReportType();
    if (ChecksContents(nType))
        CContentsCheck::Check(context);
    CSectionOrderCheck sections(context);
    sections.ScanChapter();
    sections.CheckAllSections();
    CCaptionOrderCheck captions(context);
    captions.CheckFigures();
    captions.CheckTables();
    CFigureTablePosition(context).Check();
    if (ChecksFormulasAndReferences(nType)) {
        captions.CheckFormulas();
        captions.CheckReferences();
    }
}

}  // namespace

int CDocFormatCheck::Check(CDocxParser& parser, CCheckResult& result, int nReportType,
                           const _tFormatCheckOptions& options) const
{
    CFormatCheckContext context(parser, result, nReportType, options.pFontSizes);
    StructureChecks(context);
    if (nReportType == 3)
        return 2;
    KEY_VAL keyOrganization, keyArea, keyArgu;
    parser.GetOrgType(nReportType, keyOrganization, keyArea, keyArgu);
    // The lookup logs the template it chose, or that none fits.
    std::shared_ptr<const CDocFormat> pFormat = FindFormat(nReportType, keyOrganization.key_value.c_str(),
                                                           keyArea.key_value.c_str(), keyArgu.key_value.c_str());
    if (!pFormat)
        return -2;
    if (pFormat->IsEmpty()) {
        SetLastError("Cannot find right template with organization=" + keyOrganization.key_value +
                     "  and area=" + keyArea.key_value + "  and argument=" + keyArgu.key_value);
        return -2;
    }
    CFormatPass(context, *pFormat, options.bBodyFormat).Run();
    return 1;
}

int CDocFormatCheck::ReCheck(CDocxParser& parser, CCheckResult& result, int nTemplateIndex,
                             const _tFormatCheckOptions& options) const
{
    std::shared_ptr<const CDocFormat> pFormat = GetFormat(nTemplateIndex);
    int nResult = 1;
    if (!pFormat || pFormat->IsEmpty()) {
        SetLastError("Template " + std::to_string(nTemplateIndex) + " not exists.");
        nResult = -2;
    } else {
        CheckWithFormat(parser, result, *pFormat, options);
    }
    result.SortResult();
    return nResult;
}

int CDocFormatCheck::CheckWithFormat(CDocxParser& parser, CCheckResult& result, const CDocFormat& format,
                                     const _tFormatCheckOptions& options)
{
    CFormatCheckContext context(parser, result, parser.m_nReportType, options.pFontSizes);
    CFormatPass(context, format, options.bBodyFormat).Run();
    return 1;
}

bool CDocFormatCheck::IsContentUpdated(const CDocModel& model)
{
    return CContentsCheck::IsContentUpdated(model);
}
