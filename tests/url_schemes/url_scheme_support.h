// Helpers of the URL-scheme tests: vantrel.exe run with a command line and its exit code and
// standard error, an export of the user's registry by regedit, the running vantrel.exe
// processes, and links as browsers hand them over.
#pragma once

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support.h"  // the registration tests' helpers: ProgramFolder, Vantrel, registry
#include "support/clipboard.h"
#include "support/process.h"
#include "support/wait.h"
#include "support/window_search.h"

namespace url_scheme_test {

using registration_test::ProgramFolder;
using registration_test::Vantrel;
using vantrel::testing::clipboard_text;
using vantrel::testing::Process;
using vantrel::testing::wait_until;
using vantrel::testing::wide;

// A finished run of a command line.
struct RunResult {
    std::optional<DWORD> exit_code;  // nullopt: still running after the time, ended by force
    std::string error;               // what it wrote to standard error
};
RunResult run(const std::wstring& command_line, DWORD timeout_ms = 20000);
// "<program>" followed by the arguments, each quoted.
std::wstring command(const std::wstring& program, const std::vector<std::wstring>& arguments);

// HKEY_CURRENT_USER\Software as `regedit /E` writes it; empty when the export failed.
std::string export_user_software();
// The lines of one export that the other lacks, each marked "-" (only before) or "+" (only
// after) under its key's line; empty when both are the same.
std::string export_difference(const std::string& before, const std::string& after);

// The number of running processes whose file is vantrel.exe.
int vantrel_processes();

// Sends WM_COPYDATA to the window and returns its answer.
LRESULT send_copy_data(HWND window, ULONG_PTR tag, const void* data, DWORD size);

// A link of each scheme and the plain address that its conversion shows.
struct SampleLink {
    const char* link;
    const char* address;
};
extern const SampleLink kThunder;   // thunder://…  -> http://a/b.zip
extern const SampleLink kFlashget;  // Flashget://… -> http://a/b.zip
extern const SampleLink kQqdl;      // qqdl://…     -> http://a/b.zip
extern const SampleLink kRayfile;   // fs2you://…   -> http://a/b.zip
extern const SampleLink kNested;    // thunder:// wrapping kFlashget -> http://a/b.zip

std::string narrow(const std::wstring& text);  // ASCII, '?' for anything else

}  // namespace url_scheme_test

namespace vantrel {
struct RegistryValue;
struct RegistryTree;
void PrintTo(const RegistryValue& value, std::ostream* out);
void PrintTo(const RegistryTree& tree, std::ostream* out);
}  // namespace vantrel
