#include "addon/login/login_form.h"

#include "addon/login/login_text.h"

namespace login {

CComPtr<IHTMLInputElement> CommandInput(IDispatch* element, IHTMLInputElement* remembered) {
    if (CComQIPtr<IHTMLInputElement> input{element}) return CComPtr<IHTMLInputElement>(input);
    return CComPtr<IHTMLInputElement>(remembered);
}

CComPtr<IHTMLElementCollection> FormInputs(IHTMLFormElement* form, long& length) {
    length = 0;
    CComVariant tag(u"INPUT");
    CComPtr<IDispatch> found;
    if (!form || FAILED(form->tags(tag, &found)) || !found) return nullptr;
    CComQIPtr<IHTMLElementCollection> inputs(found);
    if (!inputs || FAILED(inputs->get_length(&length))) return nullptr;
    return CComPtr<IHTMLElementCollection>(inputs);
}

CComPtr<IDispatch> ItemAt(IHTMLElementCollection* items, long index) {
    CComVariant position(static_cast<int>(index));
    CComPtr<IDispatch> item;
    if (!items || FAILED(items->item(position, position, &item))) return nullptr;
    return item;
}

bool InputType(IHTMLInputElement* input, std::u16string& type) {
    CComBSTR text;
    if (!input || FAILED(input->get_type(&text))) return false;
    type = BstrText(text);
    return true;
}

std::u16string InputName(IHTMLInputElement* input) {
    CComBSTR name;
    if (!input || FAILED(input->get_name(&name))) return {};
    return BstrText(name);
}

std::u16string InputValue(IHTMLInputElement* input) {
    CComBSTR value;
    if (!input || FAILED(input->get_value(&value))) return {};
    std::u16string text = BstrText(value);
    WipeBstr(value);
    return text;
}

bool PutInputValue(IHTMLInputElement* input, const std::u16string& value) {
    CComBSTR text(static_cast<int>(value.size()), value.data());
    const bool written = input && text.m_str && SUCCEEDED(input->put_value(text));
    WipeBstr(text);
    return written;
}

bool BelongsToForm(IHTMLInputElement* input, IHTMLFormElement* form) {
    CComPtr<IHTMLFormElement> owner;
    if (!input || !form || FAILED(input->get_form(&owner)) || !owner) return false;
    return owner.IsEqualObject(form);
}

CComPtr<IHTMLInputElement> FirstPasswordInput(IHTMLElementCollection* inputs, long length) {
    for (long i = 0; i < length; ++i) {
        CComQIPtr<IHTMLInputElement> input(ItemAt(inputs, i));
        if (!input) return nullptr;
        std::u16string type;
        if (InputType(input, type) && type == u"password") return CComPtr<IHTMLInputElement>(input);
    }
    return nullptr;
}

}  // namespace login
