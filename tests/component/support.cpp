#include "support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>

#include "standin_protocol.h"

namespace tavik_test {

void PrintTo(Hr hr, std::ostream* out) {
    *out << "0x" << std::hex << std::setw(8) << std::setfill('0')
         << static_cast<unsigned long>(hr.value);
}

OwnedBstr make_bstr(const std::wstring& text) {
    return OwnedBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

std::wstring component_path() {
    return test_file(vantrel::kComponentFile);
}

std::wstring standin_path() {
    return test_file(L"tavik_standin.exe");
}

HWND find_main_window() {
    return FindWindowA(standin::kMainWindowClassA, nullptr);
}

StandIn start_standin(bool foreign) {
    StandIn standin;
    std::wstring command_line = L"\"" + standin_path() + L"\"";
    if (foreign) command_line += L" " + std::wstring(L"--foreign");
    standin.process = Process::start(command_line);
    if (!standin.process) return standin;
    wait_until([&] {
        if (foreign) {
            standin.window = FindWindowA(standin::kForeignClass, nullptr);
            return standin.window != nullptr;
        }
        standin.window = find_main_window();
        return standin.window &&
               read_record_text(vantrel::kMainWindowHandleValue) == window_number(standin.window);
    });
    return standin;
}

void delete_menu_ext_key() {
    RegDeleteTreeA(HKEY_CURRENT_USER, standin::kMenuExtKey);
}

void write_record_text(const char* name, const std::string& text) {
    write_record_value(name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void write_record_value(const char* name, DWORD type, const std::string& bytes) {
    vantrel::OwnedKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, standin::kMenuExtKey, 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, key.receive(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    // For a string type the system counts a zero byte that follows the data as part of it; a
    // byte that is not zero behind the data keeps the value to exactly these bytes.
    const std::string data = bytes + '\x01';
    RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(bytes.size()));
}

void delete_record_value(const char* name) {
    vantrel::OwnedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, standin::kMenuExtKey, 0, KEY_SET_VALUE, key.receive()) !=
        ERROR_SUCCESS) {
        return;
    }
    RegDeleteValueA(key.get(), name);
}

std::optional<std::string> read_record_text(const char* name) {
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, standin::kMenuExtKey, name, RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(text);
}

namespace {

std::string hex(const std::string& bytes) {
    std::string result;
    char digits[3];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        result += digits;
    }
    return result;
}

}  // namespace

std::wstring restore_line(const std::string& clipboard) {
    const std::string line = std::to_string(WM_SYSCOMMAND) + " " + std::to_string(SC_RESTORE) +
                             " [" + hex(clipboard) + "]";
    return std::wstring(line.begin(), line.end());
}

std::wstring handoff_line(const std::string& clipboard) {
    const std::string line =
        std::to_string(standin::kMsgLinkHandoff) + " 0 [" + hex(clipboard) + "]";
    return std::wstring(line.begin(), line.end());
}

namespace {

template <class Function>
void bind(HMODULE module, const char* name, Function*& function) {
    function = reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!function) {
        std::fprintf(stderr, "tavik.dll does not export %s\n", name);
        std::abort();
    }
}

}  // namespace

Component::Component() : module_(LoadLibraryW(component_path().c_str())) {
    if (!module_) {
        std::fprintf(stderr, "cannot load %ls (error %lu)\n", component_path().c_str(),
                     GetLastError());
        std::abort();
    }
    bind(module_.get(), "DllCanUnloadNow", can_unload_now_);
    bind(module_.get(), "DllGetClassObject", get_class_object_);
    bind(module_.get(), "DllRegisterServer", register_server_);
    bind(module_.get(), "DllUnregisterServer", unregister_server_);
}

ComPtr<IClassFactory> Component::factory() const {
    IClassFactory* factory = nullptr;
    get_class_object(CLSID_tavik_down, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    return ComPtr<IClassFactory>(factory);
}

ComPtr<Itavik_down> Component::create() const {
    Itavik_down* object = nullptr;
    if (auto class_factory = factory()) {
        class_factory->CreateInstance(nullptr, IID_Itavik_down, reinterpret_cast<void**>(&object));
    }
    return ComPtr<Itavik_down>(object);
}

}  // namespace tavik_test
