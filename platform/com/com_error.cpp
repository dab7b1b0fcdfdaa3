#include "platform/com/com_error.h"

#include <cstdio>

namespace {

struct MessageEntry {
    HRESULT hr;
    const char16_t* text;
};

constexpr MessageEntry kMessages[] = {
    {S_OK, u"The operation completed successfully."},
    {S_FALSE, u"Incorrect function."},
    {E_NOTIMPL, u"Not implemented"},
    {E_NOINTERFACE, u"No such interface supported"},
    {E_POINTER, u"Invalid pointer"},
    {E_ABORT, u"Operation aborted"},
    {E_FAIL, u"Unspecified error"},
    {E_UNEXPECTED, u"Catastrophic failure"},
    {E_ACCESSDENIED, u"Access is denied."},
    {E_HANDLE, u"The handle is invalid."},
    {E_OUTOFMEMORY, u"Not enough memory resources are available to complete this operation."},
    {E_INVALIDARG, u"The parameter is incorrect."},
    {HRESULT_FROM_WIN32(2), u"The system cannot find the file specified."},
    {HRESULT_FROM_WIN32(3), u"The system cannot find the path specified."},
    {HRESULT_FROM_WIN32(13), u"The data is invalid."},
    {HRESULT_FROM_WIN32(32),
     u"The process cannot access the file because it is being used by another process."},
    {HRESULT_FROM_WIN32(80), u"The file exists."},
    {HRESULT_FROM_WIN32(112), u"There is not enough space on the disk."},
    {HRESULT_FROM_WIN32(126), u"The specified module could not be found."},
    {HRESULT_FROM_WIN32(183), u"Cannot create a file when that file already exists."},
    {HRESULT_FROM_WIN32(1114), u"A dynamic link library (DLL) initialization routine failed."},
    {DISP_E_UNKNOWNINTERFACE, u"Unknown interface."},
    {DISP_E_MEMBERNOTFOUND, u"Member not found."},
    {DISP_E_PARAMNOTFOUND, u"Parameter not found."},
    {DISP_E_TYPEMISMATCH, u"Type mismatch."},
    {DISP_E_UNKNOWNNAME, u"Unknown name."},
    {DISP_E_BADVARTYPE, u"Bad variable type."},
    {DISP_E_EXCEPTION, u"Exception occurred."},
    {DISP_E_OVERFLOW, u"Out of present range."},
    {DISP_E_BADINDEX, u"Invalid index."},
    {DISP_E_ARRAYISLOCKED, u"Memory is locked."},
    {DISP_E_BADPARAMCOUNT, u"Invalid number of parameters."},
    {DISP_E_PARAMNOTOPTIONAL, u"Parameter not optional."},
    {CLASS_E_NOAGGREGATION, u"Class does not support aggregation (or class object is remote)"},
    {CLASS_E_CLASSNOTAVAILABLE, u"ClassFactory cannot supply requested class"},
    {REGDB_E_CLASSNOTREG, u"Class not registered"},
    {CO_E_NOTINITIALIZED, u"CoInitialize has not been called."},
    {CO_E_DLLNOTFOUND, u"DLL for class not found"},
    {CO_E_ERRORINDLL, u"Error in the DLL"},
};

std::u16string Ascii(const char* text) {
    std::u16string out;
    while (*text) out += static_cast<char16_t>(*text++);
    return out;
}

}  // namespace

std::u16string SystemMessageText(HRESULT hr) {
    for (const MessageEntry& e : kMessages)
        if (e.hr == hr) return std::u16string(e.text) + u"\r\n";
    return {};
}

std::u16string _com_error::ErrorMessage() const {
    std::u16string text = SystemMessageText(m_hr);
    if (!text.empty()) {
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, u"\r\n") == 0)
            text.resize(text.size() - 2);
        return text;
    }
    const auto code = static_cast<std::uint32_t>(m_hr);
    char buffer[48];
    if (code >= 0x80040201u && code <= 0x8004FFFFu) {
        std::snprintf(buffer, sizeof buffer, "IDispatch error #%d",
                      static_cast<int>(code - 0x80040200u));
    } else {
        std::snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX",
                      static_cast<unsigned long>(code));
    }
    return Ascii(buffer);
}

void _com_issue_error(HRESULT hr) {
    throw _com_error(hr);
}

void _com_issue_errorex(HRESULT hr, std::u16string description) {
    throw _com_error(hr, std::move(description));
}
