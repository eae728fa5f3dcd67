#pragma once
// The message of the last call that failed, kept where a host can still read it after the call's
// own objects are gone: in tzc_last_error() everywhere, and on Windows in the system exception
// that the plain entry raises instead of a C++ exception.
#include <string_view>

namespace Cli_Tzc04182 {

// Keeps a Windows-1252 message as UTF-8, cut to the buffer; "" after a call that worked.
// Allocates nothing, so that it serves in any catch block.
void KeepLastError(std::string_view cp1252) noexcept;
const char* LastError() noexcept;

#ifdef _WIN32
// Raises TZC_EXCEPTION_CODE, non-continuable, with the kept message at ExceptionInformation[0]
// and its length at [1]. The frames it unwinds must hold no C++ object: a host's handler
// unwinds them without running their destructors.
[[noreturn]] void RaiseLastError();
#endif

}  // namespace Cli_Tzc04182
