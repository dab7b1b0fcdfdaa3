// The COM error that stand-ins raise where Windows code sees an exception
// from a dual interface wrapper: an HRESULT and a description.
#pragma once

#include <string>

#include "platform/com/hresult.h"

class _com_error {
public:
    explicit _com_error(HRESULT hr, std::u16string description = {})
        : m_hr(hr), m_description(std::move(description)) {}

    HRESULT Error() const noexcept { return m_hr; }
    // The provider's description; may be empty.
    const std::u16string& Description() const noexcept { return m_description; }
    // The system's message for the code without its trailing line break;
    // "IDispatch error #n" for 0x80040201..0x8004FFFF (n = code - 0x80040200),
    // otherwise "Unknown error 0x%0lX".
    std::u16string ErrorMessage() const;

private:
    HRESULT m_hr;
    std::u16string m_description;
};

[[noreturn]] void _com_issue_error(HRESULT hr);
[[noreturn]] void _com_issue_errorex(HRESULT hr, std::u16string description);

// The system's message text for an HRESULT, ending in "\r\n" as
// FormatMessage writes it; empty when the system has none.
std::u16string SystemMessageText(HRESULT hr);
