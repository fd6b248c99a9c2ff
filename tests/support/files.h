// Files of the tests: the test program's directory, which holds what the build placed beside
// it, temporary directories, and text in the ANSI code page.
#pragma once

#include <string>

namespace vantrel::testing {

// The directory of the test program, without a trailing backslash.
std::wstring program_directory();
// A file in that directory.
std::wstring test_file(const std::wstring& name);

// A fresh directory under the temporary directory, removed with its files at the end.
class TempDirectory {
  public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Copies a file of the test program's directory into this one, under a name of its own.
    bool copy_in(const std::wstring& from, const std::wstring& as) const;

  private:
    std::wstring path_;
};

// Conversions between UTF-16 and the ANSI code page; a zero character is kept as such.
std::string ansi(const std::wstring& text);
std::wstring wide(const std::string& text);

}  // namespace vantrel::testing
