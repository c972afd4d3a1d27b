// veskar_mkdata: writes the binary files of the data folder at build time.
//   veskar_mkdata catalogue TEXT DAT   text catalogue -> binary catalogue
//   veskar_mkdata manager DAT          an empty report-type manager file
#include <cstdio>
#include <cstring>
#include <string>

#include "Global/Globals.h"
#include "RUX/RUXManager.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"
#include "Utility/ID2Message.h"

namespace {

int BuildCatalogue(const char* sText, const char* sDat)
{
    CID2Message catalogue;
    int nCount = catalogue.Import(sText);
    if (nCount <= 0 || catalogue.Save(sDat) != nCount) {
        std::fprintf(stderr, "veskar_mkdata: %s\n", g_sLastErrorMessage.c_str());
        return 1;
    }
    std::printf("catalogue: %d messages -> %s\n", nCount, sDat);
    return 0;
}

int BuildEmptyManager(const char* sDat)
{
    CBinaryWriter writer;
    writer.Write(static_cast<uint64_t>(0));
    if (!WriteFileAtomic(sDat, writer.Data())) {
        std::fprintf(stderr, "veskar_mkdata: cannot write %s\n", sDat);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    g_bLog = false;  // a build never writes log files
    if (argc == 4 && std::strcmp(argv[1], "catalogue") == 0)
        return BuildCatalogue(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "manager") == 0)
        return BuildEmptyManager(argv[2]);
    std::fprintf(stderr, "usage: veskar_mkdata catalogue TEXT DAT | manager DAT\n");
    return 2;
}
