// Reading and writing the inputs of a page's login form through the
// browser's document object model.
#pragma once

#include <string>

#include "platform/browser/mshtml_form.h"

namespace login {

// The input a login command works on: the element itself when it is an
// input, else the remembered password input (null when there is none).
CComPtr<IHTMLInputElement> CommandInput(IDispatch* element, IHTMLInputElement* remembered);
// The INPUT elements of the form in document order, with their count;
// null when the form yields no such collection.
CComPtr<IHTMLElementCollection> FormInputs(IHTMLFormElement* form, long& length);
// The entry at index; null when nothing comes back.
CComPtr<IDispatch> ItemAt(IHTMLElementCollection* items, long index);

// False when the type cannot be read.
bool InputType(IHTMLInputElement* input, std::u16string& type);
std::u16string InputName(IHTMLInputElement* input);
// The value, with the browser's copy of it wiped; empty when unreadable.
std::u16string InputValue(IHTMLInputElement* input);
// Writes a value; the copy handed to the browser is wiped afterwards.
bool PutInputValue(IHTMLInputElement* input, const std::u16string& value);

// Whether the input's form is the form (the same object).
bool BelongsToForm(IHTMLInputElement* input, IHTMLFormElement* form);

// The first input of type "password" among the entries, walking from the
// first; null when there is none or an entry is not an input.
CComPtr<IHTMLInputElement> FirstPasswordInput(IHTMLElementCollection* inputs, long length);

}  // namespace login
