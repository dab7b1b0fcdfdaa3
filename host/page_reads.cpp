#include "host/page_reads.h"

#include "platform/browser/mshtml_form.h"
#include "platform/com/bstr.h"
#include "platform/com/variant.h"

namespace {

template <class I>
CComPtr<I> ElementAs(const browser::PageElement& element) {
    CComPtr<I> object;
    if (element.document && element.element) element.document->ObjectFor(element.element, &object);
    return object;
}

std::u16string Text(const CComBSTR& text) {
    return text.m_str ? std::u16string(text.m_str) : std::u16string();
}

}  // namespace

std::string ReadInnerText(const browser::PageElement& element, std::u16string& text) {
    CComPtr<IHTMLElement> html = ElementAs<IHTMLElement>(element);
    CComBSTR value;
    if (!html || FAILED(html->get_innerText(&value))) return "the element has no text";
    text = Text(value);
    return {};
}

std::string ReadValue(const browser::PageElement& element, std::u16string& value) {
    CComBSTR read;
    HRESULT hr = E_NOINTERFACE;
    if (auto input = ElementAs<IHTMLInputElement>(element))
        hr = input->get_value(&read);
    else if (auto area = ElementAs<IHTMLTextAreaElement>(element))
        hr = area->get_value(&read);
    else if (auto list = ElementAs<IHTMLSelectElement>(element))
        hr = list->get_value(&read);
    else if (auto option = ElementAs<IHTMLOptionElement>(element))
        hr = option->get_value(&read);
    if (hr == E_NOINTERFACE) return "not an input, text area, list or option";
    if (FAILED(hr)) return "the value cannot be read";
    value = Text(read);
    return {};
}

std::string ReadChecked(const browser::PageElement& element, bool& checked) {
    CComPtr<IHTMLInputElement> input = ElementAs<IHTMLInputElement>(element);
    CComBSTR type;
    if (!input || FAILED(input->get_type(&type)) ||
        (Text(type) != u"checkbox" && Text(type) != u"radio"))
        return "not a check box or radio button";
    VARIANT_BOOL state = VARIANT_FALSE;
    if (FAILED(input->get_checked(&state))) return "the checked state cannot be read";
    checked = state != VARIANT_FALSE;
    return {};
}

std::string ReadSelectedValues(const browser::PageElement& element,
                               std::vector<std::u16string>& values) {
    CComPtr<IHTMLSelectElement> list = ElementAs<IHTMLSelectElement>(element);
    long length = 0;
    if (!list || FAILED(list->get_length(&length))) return "not a list";
    values.clear();
    for (long index = 0; index < length; ++index) {
        CComVariant position(static_cast<int>(index)), none;
        CComPtr<IDispatch> item;
        if (FAILED(list->item(position, none, &item)) || !item) continue;
        CComQIPtr<IHTMLOptionElement> option(item);
        VARIANT_BOOL selected = VARIANT_FALSE;
        CComBSTR value;
        if (option && SUCCEEDED(option->get_selected(&selected)) && selected &&
            SUCCEEDED(option->get_value(&value)))
            values.push_back(Text(value));
    }
    return {};
}
