// LibreOffice gets a private, temporary profile per conversion, so
// conversions on several threads or by several users never share one.
#include "Convert/DocumentConverter.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "Convert/ExternalProgram.h"
#include "Utility/FileUtility.h"

namespace fs = std::filesystem;

namespace {

std::string BaseName(const std::string& sFile)
{
    size_t nSlash = sFile.find_last_of("/\\");
    std::string sName = nSlash == std::string::npos ? sFile : sFile.substr(nSlash + 1);
    size_t nDot = sName.rfind('.');
    return nDot == std::string::npos || nDot == 0 ? sName : sName.substr(0, nDot);
}

std::string OfficeProgram()
{
    for (const char* sName : {"soffice", "libreoffice"}) {
        if (!CExternalProgram::Find(sName).empty())
            return sName;
    }
    return std::string();
}

std::string AbsolutePath(const std::string& sPath)
{
    std::error_code ec;
    fs::path path = fs::absolute(sPath, ec);
    return ec ? sPath : NormalisePath(path.string());
}

}  // namespace

bool CDocumentConverter::ToDocx(const std::string& sFile, const std::string& sOutDir,
                                std::string& sDocx, std::string& sError)
{
    std::string sOffice = OfficeProgram();
    if (sOffice.empty()) {
        sError = "Cannot convert " + sFile + ": LibreOffice is not installed "
                 "(install the Debian package libreoffice-writer)";
        return false;
    }
    static std::atomic<unsigned> s_nCounter {0};
    std::string sProfile = (fs::temp_directory_path() / ("veskar-office-" + std::to_string(getpid()) +
                                                         "-" + std::to_string(++s_nCounter))).string();
    sDocx = JoinPath(sOutDir, BaseName(sFile) + ".docx");
    std::remove(sDocx.c_str());
    std::vector<std::string> vecArgs = {sOffice, "-env:UserInstallation=file://" + sProfile,
                                        "--headless", "--norestore", "--nologo", "--convert-to",
                                        "docx", "--outdir", AbsolutePath(sOutDir), AbsolutePath(sFile)};
    std::string sRunError;
    int nResult = CExternalProgram::Run(vecArgs, OFFICE_TIMEOUT, sRunError);
    std::error_code ec;
    fs::remove_all(sProfile, ec);
    if (nResult != 0 || !FileExists(sDocx)) {
        sError = "Cannot convert " + sFile + " to .docx: " +
                 (sRunError.empty() ? "LibreOffice wrote no " + sDocx : sRunError);
        std::remove(sDocx.c_str());
        return false;
    }
    return true;
}

bool CDocumentConverter::PdfToText(const std::string& sFile, const std::string& sTxt, std::string& sError)
{
    if (CExternalProgram::Find("pdftotext").empty()) {
        sError = "Cannot convert " + sFile + ": pdftotext is not installed "
                 "(install the Debian package poppler-utils)";
        return false;
    }
    // Written under a temporary name, so a failed run leaves no text file
    // that looks complete.
    std::string sTemp = sTxt + ".part" + std::to_string(getpid());
    std::string sRunError;
    int nResult = CExternalProgram::Run({"pdftotext", "-enc", "UTF-8", "-q", sFile, sTemp},
                                        PDF_TIMEOUT, sRunError);
    if (nResult != 0 || !FileExists(sTemp) || std::rename(sTemp.c_str(), sTxt.c_str()) != 0) {
        std::remove(sTemp.c_str());
        sError = "Cannot convert " + sFile + " to text: " +
                 (sRunError.empty() ? "cannot write " + sTxt : sRunError);
        return false;
    }
    return true;
}

bool CDocumentConverter::TexToDocx(const std::string& sFile, const std::string& sDocx, std::string& sError)
{
    if (CExternalProgram::Find("pandoc").empty()) {
        sError = "Cannot convert " + sFile + ": pandoc is not installed "
                 "(install the Debian package pandoc)";
        return false;
    }
    std::string sTemp = sDocx + ".part" + std::to_string(getpid()) + ".docx";
    std::string sRunError;
    int nResult = CExternalProgram::Run({"pandoc", "-s", sFile, "-o", sTemp}, TEX_TIMEOUT, sRunError);
    if (nResult != 0 || !FileExists(sTemp) || std::rename(sTemp.c_str(), sDocx.c_str()) != 0) {
        std::remove(sTemp.c_str());
        sError = "Cannot convert " + sFile + " to .docx: " +
                 (sRunError.empty() ? "cannot write " + sDocx : sRunError);
        return false;
    }
    return true;
}
