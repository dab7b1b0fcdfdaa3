#include "platform/win/registry_tree.h"

#include <algorithm>

#include "platform/win/text.h"

RegistryTreeKey::RegistryTreeKey(std::u16string name)
    : m_name(std::move(name)), m_upperName(WideUpper(m_name)) {}

const RegistryValue* RegistryTreeKey::FindValue(std::u16string_view name) const {
    for (const auto& value : m_values) {
        if (WideEqualsNoCase(value.name, name)) return &value;
    }
    return nullptr;
}

void RegistryTreeKey::SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data) {
    for (auto& value : m_values) {
        if (WideEqualsNoCase(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    m_values.push_back(RegistryValue{std::u16string(name), type, std::move(data)});
}

bool RegistryTreeKey::DeleteValue(std::u16string_view name) {
    const auto it = std::find_if(m_values.begin(), m_values.end(), [&](const RegistryValue& v) {
        return WideEqualsNoCase(v.name, name);
    });
    if (it == m_values.end()) return false;
    m_values.erase(it);
    return true;
}

std::size_t RegistryTreeKey::LowerBound(const std::u16string& upperName) const {
    const auto it =
        std::lower_bound(m_subkeys.begin(), m_subkeys.end(), upperName,
                         [](const std::unique_ptr<RegistryTreeKey>& key,
                            const std::u16string& wanted) { return key->m_upperName < wanted; });
    return static_cast<std::size_t>(it - m_subkeys.begin());
}

RegistryTreeKey* RegistryTreeKey::FindSubkey(std::u16string_view name) {
    const std::u16string upper = WideUpper(name);
    const std::size_t pos = LowerBound(upper);
    if (pos < m_subkeys.size() && m_subkeys[pos]->m_upperName == upper) {
        return m_subkeys[pos].get();
    }
    return nullptr;
}

const RegistryTreeKey* RegistryTreeKey::FindSubkey(std::u16string_view name) const {
    return const_cast<RegistryTreeKey*>(this)->FindSubkey(name);
}

RegistryTreeKey& RegistryTreeKey::CreateSubkey(std::u16string_view name, bool* created) {
    const std::u16string upper = WideUpper(name);
    const std::size_t pos = LowerBound(upper);
    const bool exists = pos < m_subkeys.size() && m_subkeys[pos]->m_upperName == upper;
    if (created) *created = !exists;
    if (exists) return *m_subkeys[pos];
    auto key = std::make_unique<RegistryTreeKey>(std::u16string(name));
    return **m_subkeys.insert(m_subkeys.begin() + static_cast<std::ptrdiff_t>(pos), std::move(key));
}

bool RegistryTreeKey::RemoveSubkey(std::u16string_view name) {
    const std::u16string upper = WideUpper(name);
    const std::size_t pos = LowerBound(upper);
    if (pos >= m_subkeys.size() || m_subkeys[pos]->m_upperName != upper) return false;
    m_subkeys.erase(m_subkeys.begin() + static_cast<std::ptrdiff_t>(pos));
    return true;
}

RegistryTreeKey* RegistryTreeKey::FindPath(const std::vector<std::u16string>& path) {
    RegistryTreeKey* key = this;
    for (const auto& name : path) {
        key = key->FindSubkey(name);
        if (!key) return nullptr;
    }
    return key;
}

const RegistryTreeKey* RegistryTreeKey::FindPath(const std::vector<std::u16string>& path) const {
    return const_cast<RegistryTreeKey*>(this)->FindPath(path);
}
