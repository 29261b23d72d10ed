#include "strongs_file.h"

#include "../strongs_list.h"
#include "data_file.h"

namespace {

bool OpenStrongsFile(StrongsList& s)
{
    return OpenDataFile("strongs.dat", s);
}

} // namespace

bool LoadStrongsFile(StrongsList& s, ResultList& results)
{
    results.resultCount = 0;
    // Counted as loaded before the open, so a failed open still shows an
    // empty list until the next search.
    s.loaded = 1;
    results.rowStride = kStrongsStride;
    const bool opened = OpenStrongsFile(s);

    const StrongsLoad load = ReadStrongsList(s.view, s.fileSize, results.table);
    results.resultCount = load.lineCount;
    s.recordCount = load.recordCount;
    return opened;
}

void CloseStrongsFile(StrongsList& s, ResultList& results)
{
    s.Close();
    s.loaded = 0;
    s.recordCount = 0;
    results.rowStride = kResultStride;
}
