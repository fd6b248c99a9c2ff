// The full path of the running vantrel.exe, however long.
#pragma once

#include <string>

namespace vantrel {

// Empty when the system cannot tell it.
std::wstring program_file_path();

}  // namespace vantrel
