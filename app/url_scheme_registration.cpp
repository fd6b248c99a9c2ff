#include "url_scheme_registration.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "registry_tree.h"
#include "url_scheme_keys.h"

namespace vantrel {

namespace {

constexpr wchar_t kApplicationName[] = L"Vantrel";
constexpr wchar_t kApplicationDescription[] =
    L"把迅雷、快车、旋风和 RayFile 的专用链接转换为普通下载地址";

// What a change is about to touch, saved so that a change that fails half-way can be taken
// back: whole keys, single values, and keys that may be created on the way.
class RegistryJournal {
  public:
    // False when the key exists but cannot be read whole: then it could not be put back.
    bool save_key(const std::wstring& path) {
        std::optional<RegistryTree> tree = read_registry_tree(HKEY_CURRENT_USER, path);
        if (!tree && registry_key_exists(HKEY_CURRENT_USER, path)) return false;
        keys_.push_back({path, std::move(tree)});
        return true;
    }
    void save_value(const std::wstring& path, const std::wstring& name) {
        values_.push_back({path, name, read_registry_value(HKEY_CURRENT_USER, path, name)});
    }
    void save_presence(const std::wstring& path) {
        presences_.push_back({path, registry_key_exists(HKEY_CURRENT_USER, path)});
    }

    // Puts everything saved back, latest first; keys that were created on the way go again
    // when they are empty.
    void undo() const {
        for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) {
            delete_registry_tree(HKEY_CURRENT_USER, key->path);
            if (key->tree) write_registry_tree(HKEY_CURRENT_USER, key->path, *key->tree);
        }
        for (const SavedValue& value : values_) {
            if (value.value) {
                write_registry_value(HKEY_CURRENT_USER, value.path, *value.value);
            } else {
                delete_registry_value(HKEY_CURRENT_USER, value.path, value.name);
            }
        }
        remove_created_keys();
    }

    // Keys that did not exist before and are empty now go: the change leaves no husks.
    void remove_created_keys() const {
        for (auto presence = presences_.rbegin(); presence != presences_.rend(); ++presence) {
            if (!presence->existed && registry_key_is_empty(HKEY_CURRENT_USER, presence->path)) {
                RegDeleteKeyW(HKEY_CURRENT_USER, presence->path.c_str());
            }
        }
    }

  private:
    struct SavedKey {
        std::wstring path;
        std::optional<RegistryTree> tree;
    };
    struct SavedValue {
        std::wstring path;
        std::wstring name;
        std::optional<RegistryValue> value;
    };
    struct SavedPresence {
        std::wstring path;
        bool existed;
    };
    std::vector<SavedKey> keys_;
    std::vector<SavedValue> values_;
    std::vector<SavedPresence> presences_;
};

// A change of several steps: the first refused step names its key, and the rest is skipped.
class Change {
  public:
    explicit Change(std::wstring& failed_key) : failed_key_(failed_key) {}
    bool step(bool done, const std::wstring& key) {
        if (!done && ok_) {
            ok_ = false;
            failed_key_ = L"HKEY_CURRENT_USER\\" + key;
        }
        return ok_;
    }
    bool ok() const { return ok_; }

  private:
    std::wstring& failed_key_;
    bool ok_ = true;
};

std::optional<std::wstring> command_of(const RegistryTree& key) {
    const RegistryTree* command = key.key(kOpenCommandKey);
    const RegistryValue* value = command ? command->value(L"") : nullptr;
    return value ? text_of(*value) : std::nullopt;
}

bool is_vantrel_handler(const RegistryTree& key) {
    const std::optional<std::wstring> command = command_of(key);
    return command && names_vantrel(*command);
}

// A URL scheme's key or the ProgID: the shell opens links with the program, shows its icon.
RegistryTree handler_key(const std::wstring& program, const std::wstring& description,
                         bool url_protocol) {
    RegistryTree key;
    key.values.push_back(text_value(L"", description));
    if (url_protocol) key.values.push_back(text_value(kUrlProtocolValue, L""));
    RegistryTree icon;
    icon.values.push_back(text_value(L"", L"\"" + program + L"\",0"));
    key.keys.emplace_back(kDefaultIconKey, std::move(icon));
    RegistryTree command;
    command.values.push_back(text_value(L"", open_command(program)));
    RegistryTree open;
    open.keys.emplace_back(L"command", std::move(command));
    RegistryTree shell;
    shell.keys.emplace_back(L"open", std::move(open));
    key.keys.emplace_back(L"shell", std::move(shell));
    return key;
}

RegistryTree capabilities_key() {
    RegistryTree key;
    key.values.push_back(text_value(L"ApplicationName", kApplicationName));
    key.values.push_back(text_value(L"ApplicationDescription", kApplicationDescription));
    RegistryTree associations;
    for (const std::wstring& scheme : url_scheme_names()) {
        associations.values.push_back(text_value(scheme, kProgId));
    }
    key.keys.emplace_back(kUrlAssociationsKey, std::move(associations));
    return key;
}

// The journal entries of everything either change may touch.
bool save_everything(RegistryJournal& journal, Change& change) {
    journal.save_presence(kClassesKey);
    journal.save_presence(kVantrelKey);
    journal.save_presence(kPreviousHandlersKey);
    journal.save_presence(kRegisteredApplicationsKey);
    for (const std::wstring& scheme : url_scheme_names()) {
        if (!change.step(journal.save_key(scheme_key(scheme)), scheme_key(scheme)) ||
            !change.step(journal.save_key(previous_handler_key(scheme)),
                         previous_handler_key(scheme))) {
            return false;
        }
    }
    journal.save_value(kRegisteredApplicationsKey, kRegisteredApplicationName);
    return change.step(journal.save_key(prog_id_key()), prog_id_key()) &&
           change.step(journal.save_key(kCapabilitiesKey), kCapabilitiesKey);
}

// Another program's handler is saved whole and then leaves the scheme's key to Vantrel; an
// older registration of Vantrel (perhaps from another folder) is simply replaced.
void take_over_scheme(const std::wstring& scheme, const RegistryTree& handler, Change& change) {
    const std::wstring key = scheme_key(scheme);
    if (!change.ok()) return;
    if (std::optional<RegistryTree> current = read_registry_tree(HKEY_CURRENT_USER, key)) {
        if (!is_vantrel_handler(*current)) {
            const std::wstring saved = previous_handler_key(scheme);
            change.step(delete_registry_tree(HKEY_CURRENT_USER, saved), saved) &&
                change.step(write_registry_tree(HKEY_CURRENT_USER, saved, *current), saved);
        }
        change.step(delete_registry_tree(HKEY_CURRENT_USER, key), key);
    }
    if (change.ok()) change.step(write_registry_tree(HKEY_CURRENT_USER, key, handler), key);
}

// Vantrel's handler goes; a saved handler comes back unless another program has taken the
// scheme in the meantime (its handler then stays, and the saved one is dropped).
void give_back_scheme(const std::wstring& scheme, Change& change) {
    const std::wstring key = scheme_key(scheme);
    const std::wstring saved_key = previous_handler_key(scheme);
    if (!change.ok()) return;
    std::optional<RegistryTree> current = read_registry_tree(HKEY_CURRENT_USER, key);
    if (current && is_vantrel_handler(*current)) {
        if (!change.step(delete_registry_tree(HKEY_CURRENT_USER, key), key)) return;
        current.reset();
    }
    const std::optional<RegistryTree> saved = read_registry_tree(HKEY_CURRENT_USER, saved_key);
    if (saved && !current) change.step(write_registry_tree(HKEY_CURRENT_USER, key, *saved), key);
}

// The keys that hold what registration writes and that a user's registry may lack (a fresh
// Wine prefix has neither).
constexpr const wchar_t* kSharedKeys[] = {kClassesKey, kRegisteredApplicationsKey};

std::vector<std::wstring> recorded_created_keys() {
    std::vector<std::wstring> keys;
    const std::optional<RegistryValue> value =
        read_registry_value(HKEY_CURRENT_USER, kVantrelKey, kCreatedKeysValue);
    if (!value || value->type != REG_MULTI_SZ) return keys;
    std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), value->data.data(), text.size() * sizeof(wchar_t));
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(L'\0', start), text.size());
        if (end > start) keys.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return keys;
}

RegistryValue created_keys_value(const std::vector<std::wstring>& keys) {
    std::wstring text;
    for (const std::wstring& key : keys)
        text += key + L'\0';
    text += L'\0';
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    return {kCreatedKeysValue, REG_MULTI_SZ,
            std::vector<BYTE>(bytes, bytes + text.size() * sizeof(wchar_t))};
}

void notify_shell() {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

bool finish(const RegistryJournal& journal, const Change& change) {
    if (!change.ok()) {
        journal.undo();
        return false;
    }
    journal.remove_created_keys();
    notify_shell();
    return true;
}

}  // namespace

std::wstring open_command(const std::wstring& program) {
    return L"\"" + program + L"\" \"%1\"";
}

bool names_vantrel(const std::wstring& command) {
    std::size_t start = command.find_first_not_of(L" \t");
    if (start == std::wstring::npos) return false;
    std::size_t end;
    if (command[start] == L'"') {
        ++start;
        end = command.find(L'"', start);
    } else {
        end = command.find_first_of(L" \t", start);
    }
    const std::wstring program =
        command.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    const std::size_t slash = program.find_last_of(L"\\/");
    const std::wstring file = slash == std::wstring::npos ? program : program.substr(slash + 1);
    return CompareStringOrdinal(file.c_str(), -1, L"vantrel.exe", -1, TRUE) == CSTR_EQUAL;
}

bool register_url_schemes(const std::wstring& program, std::wstring& failed_key) {
    RegistryJournal journal;
    Change change(failed_key);
    if (!save_everything(journal, change)) return false;
    journal.save_value(kVantrelKey, kCreatedKeysValue);

    std::vector<std::wstring> created = recorded_created_keys();
    for (const wchar_t* key : kSharedKeys) {
        if (!registry_key_exists(HKEY_CURRENT_USER, key) &&
            std::find(created.begin(), created.end(), key) == created.end()) {
            created.push_back(key);
        }
    }
    for (const std::wstring& scheme : url_scheme_names()) {
        take_over_scheme(scheme, handler_key(program, L"URL:" + scheme + L" Protocol", true),
                         change);
    }
    const RegistryTree prog_id = handler_key(program, kApplicationName, false);
    change.step(delete_registry_tree(HKEY_CURRENT_USER, prog_id_key()), prog_id_key()) &&
        change.step(write_registry_tree(HKEY_CURRENT_USER, prog_id_key(), prog_id),
                    prog_id_key()) &&
        change.step(delete_registry_tree(HKEY_CURRENT_USER, kCapabilitiesKey), kCapabilitiesKey) &&
        change.step(write_registry_tree(HKEY_CURRENT_USER, kCapabilitiesKey, capabilities_key()),
                    kCapabilitiesKey) &&
        change.step(write_registry_value(HKEY_CURRENT_USER, kRegisteredApplicationsKey,
                                         text_value(kRegisteredApplicationName, kCapabilitiesKey)),
                    kRegisteredApplicationsKey);
    if (change.ok() && !created.empty()) {
        change.step(
            write_registry_value(HKEY_CURRENT_USER, kVantrelKey, created_keys_value(created)),
            kVantrelKey);
    }
    return finish(journal, change);
}

bool unregister_url_schemes(std::wstring& failed_key) {
    RegistryJournal journal;
    Change change(failed_key);
    if (!save_everything(journal, change)) return false;
    journal.save_value(kVantrelKey, kCreatedKeysValue);
    const std::vector<std::wstring> created = recorded_created_keys();

    for (const std::wstring& scheme : url_scheme_names()) {
        give_back_scheme(scheme, change);
    }
    if (change.ok()) {
        const std::optional<RegistryTree> prog_id =
            read_registry_tree(HKEY_CURRENT_USER, prog_id_key());
        if (prog_id && is_vantrel_handler(*prog_id)) {
            change.step(delete_registry_tree(HKEY_CURRENT_USER, prog_id_key()), prog_id_key());
        }
    }
    change.step(delete_registry_tree(HKEY_CURRENT_USER, kCapabilitiesKey), kCapabilitiesKey) &&
        change.step(delete_registry_tree(HKEY_CURRENT_USER, kPreviousHandlersKey),
                    kPreviousHandlersKey) &&
        change.step(delete_registry_value(HKEY_CURRENT_USER, kRegisteredApplicationsKey,
                                          kRegisteredApplicationName),
                    kRegisteredApplicationsKey);
    change.step(delete_registry_value(HKEY_CURRENT_USER, kVantrelKey, kCreatedKeysValue),
                kVantrelKey);
    if (change.ok()) {
        // What registration created goes when nothing else is left in it.
        for (const wchar_t* key : kSharedKeys) {
            const bool was_created =
                std::find(created.begin(), created.end(), key) != created.end();
            if (was_created && registry_key_is_empty(HKEY_CURRENT_USER, key)) {
                RegDeleteKeyW(HKEY_CURRENT_USER, key);
            }
        }
        if (registry_key_is_empty(HKEY_CURRENT_USER, kVantrelKey)) {
            RegDeleteKeyW(HKEY_CURRENT_USER, kVantrelKey);
        }
    }
    return finish(journal, change);
}

}  // namespace vantrel
