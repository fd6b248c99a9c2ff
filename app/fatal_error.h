// The report for a condition the program cannot go on from: a message box without owner,
// with the error icon, then the end of the process with exit code -1.
#pragma once

#include <string>

namespace vantrel {

[[noreturn]] void report_fatal_error(const std::wstring& message);

// "Cannot find FUNCTION in LIBRARY" for a library function that cannot be bound.
[[noreturn]] void report_missing_library_function(const std::wstring& library,
                                                  const std::wstring& function);

}  // namespace vantrel
