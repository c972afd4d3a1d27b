// The pictures of an HTML export: copied from the unpacked package into a
// folder beside the page ("<name>_files"), which the page's <img> tags name.
// The folder is made by the library and marked as its own; a folder of that
// name that is not ours is never written into (the next free name is taken),
// so no file of the user's is ever replaced.
#pragma once

#include <map>
#include <set>
#include <string>

class CExportMedia {
public:
    // The marker file that tells a picture folder of ours.
    static constexpr const char* FOLDER_MARKER = ".veskar-export";

    // sPackageFolder: the unpacked package. sBase: the page's path without
    // ".htm" (on disk); sUrlBase: the page's name in UTF-8, as links give it.
    CExportMedia(std::string sPackageFolder, std::string sBase, std::string sUrlBase);

    // The URL (relative to the page) of a picture given by its relationship
    // target (relative to "word/"), copied beside the page on first use;
    // "" when it is outside the package, missing or cannot be copied.
    std::string Place(const std::string& sTarget);

private:
    // Picks and creates the folder; false when none can be had.
    bool PrepareFolder();
    bool CopyPicture(const std::string& sSource, const std::string& sDest) const;
    std::string SourcePath(const std::string& sTarget) const;

    std::string m_sPackageFolder;
    std::string m_sBase;
    std::string m_sUrlBase;
    std::string m_sFolder;     // chosen on the first picture
    std::string m_sUrlFolder;
    bool m_bPrepared = false;
    bool m_bFolderOk = false;
    std::map<std::string, std::string> m_mapPlaced;  // source -> URL
    std::set<std::string> m_setNames;                // names taken in the folder
};
