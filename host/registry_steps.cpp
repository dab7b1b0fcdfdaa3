#include "host/registry_steps.h"

#include <algorithm>
#include <vector>

#include "platform/win/registry.h"
#include "platform/win/text.h"

namespace {

struct KeyPath {
    HKEY root = nullptr;
    std::u16string subkey;
};

// The step's parser has checked the root's name.
KeyPath SplitKey(const std::u16string& key) {
    struct Root {
        const char16_t* name;
        HKEY key;
    };
    const Root roots[] = {{u"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                          {u"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                          {u"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT}};
    const std::size_t slash = key.find(u'\\');
    KeyPath path;
    for (const Root& root : roots)
        if (WideEqualsNoCase(std::u16string_view(key).substr(0, slash), root.name))
            path.root = root.key;
    if (slash != std::u16string::npos) path.subkey = key.substr(slash + 1);
    return path;
}

std::string Refused(const char* what, LONG error) {
    return std::string("the registry refused to ") + what + " (error " + std::to_string(error) +
           ")";
}

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    bool AsNumber(DWORD& number) const {
        if (type != REG_DWORD || data.size() != sizeof(DWORD)) return false;
        std::copy(data.begin(), data.end(), reinterpret_cast<BYTE*>(&number));
        return true;
    }
    bool AsText(std::u16string& text) const {
        if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
        text.assign(data.size() / sizeof(char16_t), u'\0');
        std::copy_n(data.begin(), text.size() * sizeof(char16_t),
                    reinterpret_cast<BYTE*>(text.data()));
        while (!text.empty() && text.back() == u'\0') text.pop_back();
        return true;
    }
    // As a check reports it.
    std::string Described() const {
        DWORD number = 0;
        std::u16string text;
        if (AsNumber(number)) return std::to_string(number) + " (REG_DWORD)";
        if (AsText(text))
            return QuoteForScript(text) + (type == REG_SZ ? " (REG_SZ)" : " (REG_EXPAND_SZ)");
        return "a value of type " + std::to_string(type);
    }
};

// ERROR_FILE_NOT_FOUND when the key (keyFound false) or the value does not
// exist.
LONG ReadValue(const KeyPath& path, const std::u16string& name, StoredValue& value,
               bool& keyFound) {
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(path.root, path.subkey.c_str(), 0, KEY_READ, &key);
    keyFound = result == ERROR_SUCCESS;
    if (result != ERROR_SUCCESS) return result;
    DWORD size = 0;
    result = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    value.data.resize(size);
    if (result == ERROR_SUCCESS && size > 0)
        result =
            RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
    RegCloseKey(key);
    value.data.resize(std::min<std::size_t>(size, value.data.size()));
    return result;
}

}  // namespace

std::string SetRegistryValue(const ScenarioStep& step) {
    const KeyPath path = SplitKey(step.key);
    HKEY key = nullptr;
    LONG result = RegCreateKeyExW(path.root, path.subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr);
    if (result != ERROR_SUCCESS) return Refused("create the key", result);
    const std::u16string name = step.valueName.value_or(u"");
    const DWORD number = step.number32;
    if (step.dword)
        result = RegSetValueExW(key, name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&number), sizeof(number));
    else
        result = RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(step.text.c_str()),
                                static_cast<DWORD>((step.text.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? "" : Refused("set the value", result);
}

std::string DeleteRegistryEntry(const ScenarioStep& step) {
    const KeyPath path = SplitKey(step.key);
    if (!step.valueName) {
        const LONG result = RegDeleteTreeW(path.root, path.subkey.c_str());
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND
                   ? ""
                   : Refused("delete the key", result);
    }
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(path.root, path.subkey.c_str(), 0, KEY_SET_VALUE, &key);
    if (result == ERROR_FILE_NOT_FOUND) return {};
    if (result != ERROR_SUCCESS) return Refused("open the key", result);
    result = RegDeleteValueW(key, step.valueName->c_str());
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND
               ? ""
               : Refused("delete the value", result);
}

std::string CheckRegistryValue(const ScenarioStep& step) {
    StoredValue value;
    bool keyFound = false;
    const LONG result =
        ReadValue(SplitKey(step.key), step.valueName.value_or(u""), value, keyFound);
    if (result == ERROR_FILE_NOT_FOUND)
        return step.absent ? "" : keyFound ? "absent" : "absent (no such key)";
    if (result != ERROR_SUCCESS) return Refused("read the value", result);
    if (step.absent) return value.Described();
    DWORD number = 0;
    std::u16string text;
    if (value.AsNumber(number) && step.text == WideFromUnsigned(number)) return {};
    if (value.AsText(text) && step.text == text) return {};
    return value.Described();
}
