// The style sheets and scripts the HTML pages link (the side panel of the
// findings, the pager, the looks of the marks, the search of a cited
// standard). Their sources are in the data folder's "html" folder; they are
// written beside the pages under the names the pages link.
#pragma once

#include <string>
#include <vector>

class CHtmlAssets {
public:
    // Every asset carries this in its first line: a file of that name
    // without it is the user's and is never replaced.
    static constexpr const char* MARKER = "veskar page asset";

    // The assets' paths relative to the pages.
    static const std::vector<std::string>& Names();
    // The data folder's "html" folder, "" when there is none.
    static std::string SourceFolder();
    // Writes the assets of sSource beside pages in sFolder (making its css
    // and js folders): a missing file is written, one of ours replaced when
    // it differs, one of the user's left alone. The number written.
    static int WriteBeside(const std::string& sSource, const std::string& sFolder);
};
