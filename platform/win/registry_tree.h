// The contents of one hive in memory: a tree of keys. Values keep the order
// in which they were first set; subkeys are ordered by their upper-case
// names, the order in which Windows enumerates them. Key and value names
// compare without regard to case and keep the case they were created with.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/win_types.h"

struct RegistryValue {
    std::u16string name;  // empty for the default value
    DWORD type = 0;
    std::vector<BYTE> data;
};

class RegistryTreeKey {
public:
    explicit RegistryTreeKey(std::u16string name = {});
    RegistryTreeKey(RegistryTreeKey&&) = default;
    RegistryTreeKey& operator=(RegistryTreeKey&&) = default;

    const std::u16string& name() const { return m_name; }

    const std::vector<RegistryValue>& values() const { return m_values; }
    const RegistryValue* FindValue(std::u16string_view name) const;
    // Replaces the data of an existing value in place (keeping its name's
    // case and its position) or appends a new one.
    void SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data);
    bool DeleteValue(std::u16string_view name);
    void ClearValues() { m_values.clear(); }

    std::size_t SubkeyCount() const { return m_subkeys.size(); }
    // Subkeys in enumeration order.
    const RegistryTreeKey& SubkeyAt(std::size_t index) const { return *m_subkeys[index]; }
    RegistryTreeKey* FindSubkey(std::u16string_view name);
    const RegistryTreeKey* FindSubkey(std::u16string_view name) const;
    // The subkey of that name, created when missing; *created tells which.
    RegistryTreeKey& CreateSubkey(std::u16string_view name, bool* created = nullptr);
    bool RemoveSubkey(std::u16string_view name);
    void ClearSubkeys() { m_subkeys.clear(); }

    // The key at a path of names below this one; null when any is missing.
    RegistryTreeKey* FindPath(const std::vector<std::u16string>& path);
    const RegistryTreeKey* FindPath(const std::vector<std::u16string>& path) const;

private:
    // Position of the subkey with this upper-case name, or where it belongs.
    std::size_t LowerBound(const std::u16string& upperName) const;

    std::u16string m_name;
    std::u16string m_upperName;
    std::vector<RegistryValue> m_values;
    std::vector<std::unique_ptr<RegistryTreeKey>> m_subkeys;
};
