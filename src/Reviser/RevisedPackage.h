// Packs the revised document: every file of the unpacked package, with the
// changed parts taken from memory, into a new .docx beside the package.
// The new file appears under its name only when it is complete, and never
// in place of a file that is already there.
#pragma once

#include <map>
#include <string>
#include <vector>

class CRevisedPackage {
public:
    // sFolder + "/../" + sFilename cut before any "_Revised" + sStamp + ".docx",
    // folded into a plain path.
    static std::string RevisedName(const std::string& sFolder, const std::string& sFilename,
                                   const std::string& sStamp);
    // The files under sFolder, as paths relative to it ("word/document.xml"),
    // "[Content_Types].xml" first, then in name order. Links are not followed.
    static std::vector<std::string> PackageItems(const std::string& sFolder);

    // Writes the package: the files of sFolder, where mapParts gives the
    // contents of changed or added parts by their relative name. The path
    // written: sPath, or sPath with "_2", "_3" .. before ".docx" when a file
    // of that name exists. "" on failure, with the reason in Error().
    std::string Write(const std::string& sFolder, const std::map<std::string, std::string>& mapParts,
                      const std::string& sPath);
    const std::string& Error() const { return m_sError; }

private:
    bool Pack(const std::string& sFolder, const std::map<std::string, std::string>& mapParts,
              const std::string& sTemp);
    // Gives the finished temporary file its final name; that name, or "".
    std::string Publish(const std::string& sTemp, const std::string& sPath);

    std::string m_sError;
};
