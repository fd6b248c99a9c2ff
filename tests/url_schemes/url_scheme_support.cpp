#include "url_scheme_support.h"

#include "registry_tree.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

namespace url_scheme_test {

const SampleLink kThunder = {"thunder://QUFodHRwOi8vYS9iLnppcFpa", "http://a/b.zip"};
const SampleLink kFlashget = {"Flashget://W0ZMQVNIR0VUXWh0dHA6Ly9hL2IuemlwW0ZMQVNIR0VUXQ==&abc",
                              "http://a/b.zip"};
const SampleLink kQqdl = {"qqdl://aHR0cDovL2EvYi56aXA=", "http://a/b.zip"};
const SampleLink kRayfile = {"fs2you://YS9iLnppcHwxMjM=", "http://a/b.zip"};
const SampleLink kNested = {
    "thunder://"
    "QUFGbGFzaGdldDovL1cwWk1RVk5JUjBWVVhXaDBkSEE2THk5aEwySXVlbWx3VzBaTVFWTklSMFZVWFE9PSZhYmNaWg==",
    "http://a/b.zip"};

std::string narrow(const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text)
        bytes += c < 0x80 ? static_cast<char>(c) : '?';
    return bytes;
}

namespace {

// Owns what CreateFile and CreateToolhelp32Snapshot give, which fail with INVALID_HANDLE_VALUE.
vantrel::OwnedKernelHandle owned(HANDLE handle) {
    return vantrel::OwnedKernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace

std::wstring command(const std::wstring& program, const std::vector<std::wstring>& arguments) {
    std::wstring line = L"\"" + program + L"\"";
    for (const std::wstring& argument : arguments)
        line += L" \"" + argument + L"\"";
    return line;
}

RunResult run(const std::wstring& command_line, DWORD timeout_ms) {
    RunResult result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return result;
    const vantrel::OwnedKernelHandle reading(read_end);
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    Process process = Process::start(command_line, {}, {}, write_end);
    CloseHandle(write_end);
    if (!process) return result;
    result.exit_code = process.wait_for_exit(timeout_ms);
    process.end(99);
    // Only what is there: a process that the program started (Wine starts its desktop process
    // on the first window or shell notification) may have inherited the pipe and keep it open.
    char buffer[4096];
    DWORD available = 0, got = 0;
    while (PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0)
        result.error.append(buffer, got);
    return result;
}

std::string export_user_software() {
    wchar_t directory[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, directory);
    const std::wstring file = std::wstring(directory) + L"vantrel-url-scheme-export-" +
                              std::to_wstring(GetCurrentProcessId()) + L".reg";
    DeleteFileW(file.c_str());
    const RunResult exported =
        run(L"regedit.exe /E \"" + file + L"\" \"HKEY_CURRENT_USER\\Software\"", 60000);
    std::string bytes;
    {
        const vantrel::OwnedKernelHandle in = owned(CreateFileW(
            file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        char buffer[65536];
        DWORD got = 0;
        while (in && ReadFile(in.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
            bytes.append(buffer, got);
    }
    DeleteFileW(file.c_str());
    if (!exported.exit_code) return {};
    // regedit writes UTF-16 with a byte-order mark; the tests compare and search UTF-8.
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) return bytes;
    const auto* text = reinterpret_cast<const wchar_t*>(bytes.data() + 2);
    const int length = static_cast<int>((bytes.size() - 2) / sizeof(wchar_t));
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
    }
    return utf8;
}

std::string export_difference(const std::string& before, const std::string& after) {
    auto sections = [](const std::string& exported) {
        std::map<std::string, std::vector<std::string>> found;
        std::string key;
        std::istringstream lines(exported);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty()) continue;
            if (line[0] == '[') key = line;
            found[key].push_back(line);
        }
        return found;
    };
    auto old_sections = sections(before), new_sections = sections(after);
    std::set<std::string> keys;
    for (const auto& section : old_sections)
        keys.insert(section.first);
    for (const auto& section : new_sections)
        keys.insert(section.first);
    std::string difference;
    for (const std::string& key : keys) {
        const std::vector<std::string>& old_lines = old_sections[key];
        const std::vector<std::string>& new_lines = new_sections[key];
        std::string lines;
        for (const std::string& line : old_lines) {
            if (std::find(new_lines.begin(), new_lines.end(), line) == new_lines.end())
                lines += "- " + line + "\n";
        }
        for (const std::string& line : new_lines) {
            if (std::find(old_lines.begin(), old_lines.end(), line) == old_lines.end())
                lines += "+ " + line + "\n";
        }
        if (!lines.empty()) difference += key + "\n" + lines;
    }
    return difference;
}

int vantrel_processes() {
    const vantrel::OwnedKernelHandle snapshot =
        owned(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"vantrel.exe") == 0) ++count;
    }
    return count;
}

LRESULT send_copy_data(HWND window, ULONG_PTR tag, const void* data, DWORD size) {
    COPYDATASTRUCT copy{tag, size, const_cast<void*>(data)};
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, 10000,
                        &answer);
    return static_cast<LRESULT>(answer);
}

}  // namespace url_scheme_test

namespace vantrel {

void PrintTo(const RegistryValue& value, std::ostream* out) {
    *out << "\"" << url_scheme_test::narrow(value.name) << "\" type " << value.type;
    if (const std::optional<std::wstring> text = text_of(value)) {
        *out << " \"" << url_scheme_test::narrow(*text) << "\"";
    }
    *out << " (" << value.data.size() << " bytes)";
}

void PrintTo(const RegistryTree& tree, std::ostream* out) {
    *out << "{";
    for (const RegistryValue& value : tree.values) {
        PrintTo(value, out);
        *out << "; ";
    }
    for (const auto& [name, below] : tree.keys) {
        *out << url_scheme_test::narrow(name) << " ";
        PrintTo(below, out);
        *out << " ";
    }
    *out << "}";
}

}  // namespace vantrel
