// The .reg text form of a hive: "REGEDIT4", a blank line, then one section
// per key ("[HKEY_LOCAL_MACHINE\Software\Name]") followed by its values:
//   "Name"="text"          REG_SZ that is clean text with its terminating null
//   @="text"               the default value
//   "Name"=dword:0000002a  REG_DWORD of exactly four bytes
//   "Name"=hex:01,02       REG_BINARY
//   "Name"=hex(N):...      any other type N (hexadecimal), raw bytes
// Long hex data continues on the next line after a trailing backslash.
// Every value's bytes survive a write and a parse unchanged: string data
// that is not clean text is written as hex(1), hex(2)... The text is UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win/registry_tree.h"

// The tree of a hive whose sections all lie under rootName; nothing when the
// text is not a well-formed hive (no header, stray lines, another root...).
// Empty text is an empty hive.
std::optional<RegistryTreeKey> ParseRegText(std::string_view text, std::u16string_view rootName);

std::string FormatRegText(const RegistryTreeKey& root, std::u16string_view rootName);

// Whether a key or value name can be written to and read back from the text
// form: valid UTF-16 without control characters.
bool IsStorableRegName(std::u16string_view name);
