// CompareCatalogFiles alone in a process of its own, for the whole-process
// rows of bench/whole-process: exit 0 for same, 1 for different, 2 for failure.
#include "QORSysTextFileUtilities.h"

int main(int argc, char** argv)
{
    if (argc != 3) return 2;
    QORSysPath first;
    QORSysPath second;
    if (first.Set(argv[1]) < 0 || second.Set(argv[2]) < 0) return 2;
    const HRESULT code = QORSysTextFileUtilities::CompareCatalogFiles(first, second);
    return code < 0 ? 2 : code == S_OK ? 0 : 1;
}
