// The registrar: runs registry scripts in the ATL registrar format.
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove {B5B24C3A-6312-4861-A9A1-A3A1EB0A1916} = s 'EditHtml Class'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// Registration creates every key, its default value (`= s 'text'`) and its
// values (`val Name = s 'text'`, `d '15'`, `e 'text'`, `b '0A0B'`);
// ForceRemove deletes the key with everything below it first, Delete only
// deletes it. Unregistration removes the keys the script names, deepest
// first: NoRemove keys stay (losing only the values the script names there),
// ForceRemove keys go with everything below them, and other keys go once
// nothing is left below them. %NAME% is replaced from the replacement
// table (names without regard to case), its text taken literally even
// inside a quoted string; %% stands for %. A script is checked whole before
// anything is written.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/com/hresult.h"
#include "platform/win/win_types.h"

class CRegObject {
public:
    HRESULT AddReplacement(std::u16string_view key, std::u16string_view item);
    HRESULT ClearReplacements();

    HRESULT StringRegister(std::u16string_view script);
    HRESULT StringUnregister(std::u16string_view script);
    // Runs the resource (name id, given type) of a module; the script text is
    // UTF-8. %MODULE% is the module's file unless already replaced.
    HRESULT ResourceRegister(HMODULE module, UINT id, const char16_t* type);
    HRESULT ResourceUnregister(HMODULE module, UINT id, const char16_t* type);

private:
    HRESULT RunResource(HMODULE module, UINT id, const char16_t* type, bool reg);
    HRESULT Run(std::u16string_view script, bool reg);

    std::vector<std::pair<std::u16string, std::u16string>> m_replacements;
};
