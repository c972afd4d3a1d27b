// Picture copies of an export. A hard link costs nothing and survives the
// removal of the unpacked folder; a copy is made where no link can be.
#include "Convert/ExportMedia.h"

#include <sys/stat.h>
#include <unistd.h>

#include "Convert/HtmlEscape.h"
#include "Utility/FileUtility.h"

namespace {

// "_files", "_files1", ... "_files9": the names a picture folder may take.
constexpr int kFolderChoices = 10;

// Pictures of a package are at most as large as the package allows.
constexpr uint64_t kMaxPictureBytes = UINT64_C(1) << 30;

std::string BaseName(const std::string& sPath)
{
    size_t nSlash = sPath.rfind('/');
    return nSlash == std::string::npos ? sPath : sPath.substr(nSlash + 1);
}

}  // namespace

CExportMedia::CExportMedia(std::string sPackageFolder, std::string sBase, std::string sUrlBase)
    : m_sPackageFolder(NormalisePath(sPackageFolder)), m_sBase(std::move(sBase)), m_sUrlBase(std::move(sUrlBase))
{
}

bool CExportMedia::PrepareFolder()
{
    if (m_bPrepared)
        return m_bFolderOk;
    m_bPrepared = true;
    for (int i = 0; i < kFolderChoices && !m_bFolderOk; ++i) {
        std::string sSuffix = "_files" + (i == 0 ? std::string() : std::to_string(i));
        std::string sFolder = m_sBase + sSuffix;
        std::string sMarker = sFolder + "/" + FOLDER_MARKER;
        if (IsDirectory(sFolder)) {
            m_bFolderOk = FileExists(sMarker);
        } else if (!FileExists(sFolder) && ::mkdir(sFolder.c_str(), 0777) == 0) {
            m_bFolderOk = WriteFileAtomic(sMarker, "Pictures of " + BaseName(m_sBase) +
                                                       ".htm, written by the veskar document export.\n");
        }
        if (m_bFolderOk) {
            m_sFolder = sFolder;
            m_sUrlFolder = UrlPathEscape(m_sUrlBase + sSuffix);
        }
    }
    return m_bFolderOk;
}

std::string CExportMedia::SourcePath(const std::string& sTarget) const
{
    // Targets outside the package (links to the web or to other files) are
    // not pictures of it.
    if (sTarget.empty() || sTarget.find(':') != std::string::npos || sTarget.find('\\') != std::string::npos)
        return std::string();
    std::string sPath = sTarget[0] == '/' ? m_sPackageFolder + sTarget : m_sPackageFolder + "/word/" + sTarget;
    sPath = NormalisePath(sPath);
    if (sPath.compare(0, m_sPackageFolder.size() + 1, m_sPackageFolder + "/") != 0)
        return std::string();
    struct stat st {};
    if (::lstat(sPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::string();
    return sPath;
}

bool CExportMedia::CopyPicture(const std::string& sSource, const std::string& sDest) const
{
    struct stat st {};
    if (::lstat(sDest.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || ::unlink(sDest.c_str()) != 0)
            return false;
    }
    if (::link(sSource.c_str(), sDest.c_str()) == 0)
        return true;
    std::string sData;
    return ReadWholeFile(sSource, sData, kMaxPictureBytes) && WriteFileAtomic(sDest, sData);
}

std::string CExportMedia::Place(const std::string& sTarget)
{
    std::string sSource = SourcePath(sTarget);
    if (sSource.empty())
        return std::string();
    auto it = m_mapPlaced.find(sSource);
    if (it != m_mapPlaced.end())
        return it->second;
    std::string sUrl;
    std::string sName = BaseName(sSource);
    // Two pictures of one name in different folders of the package keep apart.
    while (m_setNames.count(sName) || sName == FOLDER_MARKER)
        sName = "x" + sName;
    m_setNames.insert(sName);
    if (PrepareFolder() && CopyPicture(sSource, m_sFolder + "/" + sName))
        sUrl = m_sUrlFolder + "/" + UrlPathEscape(sName);
    m_mapPlaced[sSource] = sUrl;
    return sUrl;
}
