// Where the add-on keeps its options: values under its Browser Helper
// Object key of HKEY_LOCAL_MACHINE, one set for the whole machine.
#pragma once

inline constexpr char16_t kSettingsKey[] =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper "
    u"Objects\\{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}";
