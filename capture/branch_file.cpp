#include "capture/branch_file.h"

#include <mutex>
#include <utility>

#include "host/services/files.h"
#include "host/text/environment.h"
#include "host/text/paths.h"

namespace Cli_Tzc04182 {

namespace {

// A host may name the file from another thread than the one that calls.
std::mutex g_named_mutex;
std::string g_named;

}  // namespace

void NameBranchFile(std::string path)
{
    const std::lock_guard lock(g_named_mutex);
    g_named = std::move(path);
}

BranchFileName BranchFileOfThisCall()
{
    {
        const std::lock_guard lock(g_named_mutex);
        if (!g_named.empty())
            return {g_named, true};
    }
    std::string from_environment = host::EnvironmentVariable("TZC_BRANCH_FILE").value_or("");
    if (!from_environment.empty())
        return {std::move(from_environment), true};
    return {host::ExtractFileDir(host::ParamStr(0)) + host::PathDelim + "PARAMETROSVLX.CDS", false};
}

}  // namespace Cli_Tzc04182
