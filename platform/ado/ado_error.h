// How ADO failures reach callers. Each raw method returns an HRESULT and,
// on failure, leaves a description for the calling thread (the role of
// SetErrorInfo on Windows). The throwing wrappers clear it before the call
// and raise _com_error(hr, description) after a failed one.
//
// Codes: engine failures (SQLite errors, unreadable or missing files,
// statement errors) are E_FAIL (0x80004005), as the Jet provider reports
// them, with the engine's message or a clearer one; misuse of the objects
// (closed object, no current record, bad index) uses ADO's own numbers
// (AdoErrorHresult) with ADO's texts.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/com_error.h"

void SetAdoErrorDescription(std::u16string description);
void ClearAdoErrorDescription();
// The description left by the last failure on this thread; clears it.
std::u16string TakeAdoErrorDescription();

// Sets the description and returns hr, for `return AdoFail(...)`.
HRESULT AdoFail(HRESULT hr, std::u16string description);

// Raises the failure of a raw call as _com_error; does nothing on success.
inline HRESULT AdoCheck(HRESULT hr) {
    if (FAILED(hr)) _com_issue_errorex(hr, TakeAdoErrorDescription());
    return hr;
}

// A text argument of a wrapper: literals, std::u16string, views, BSTRs.
class AdoText {
public:
    AdoText(const OLECHAR* text) : m_text(text ? text : u"") {}
    AdoText(std::u16string_view text) : m_text(text) {}
    AdoText(const std::u16string& text) : m_text(text) {}
    AdoText(const CComBSTR& text) : m_text(text.View()) {}

    CComBSTR Bstr() const { return CComBSTR(m_text); }
    std::u16string_view View() const { return m_text; }

private:
    std::u16string_view m_text;
};
