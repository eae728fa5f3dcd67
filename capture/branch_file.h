#pragma once
// Where the branch parameter file is: the file the host named, else beside the host's executable.
// A host run by a runtime (Mono, Java, Python) has the runtime as its executable, so it names
// the file.
#include <string>

namespace Cli_Tzc04182 {

struct BranchFileName {
    std::string path;  // UTF-8
    bool named = false;  // named by the host: a missing file is an error, not "no branch"
};

// The host's name for the file (UTF-8, a full path); "" names none.
void NameBranchFile(std::string path);

// The file of this call: the name given to NameBranchFile, else the environment variable
// TZC_BRANCH_FILE (read now), else PARAMETROSVLX.CDS in the folder of the host's executable.
BranchFileName BranchFileOfThisCall();

}  // namespace Cli_Tzc04182
