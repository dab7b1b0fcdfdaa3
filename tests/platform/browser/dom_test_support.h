// Small helpers for the document tests: a page from text, elements by
// selector as COM interfaces, BSTR results as strings.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/browser/css_selector.h"
#include "platform/browser/html_document.h"
#include "platform/browser/mshtml_form.h"
#include "platform/com/com_ptr.h"

namespace browser_test {

inline CComPtr<browser::HtmlDocument> Page(std::string_view html,
                                           std::u16string_view url = u"http://example.com/",
                                           std::u16string_view charset = u"utf-8") {
    browser::HtmlDocument* raw = nullptr;
    EXPECT_EQ(S_OK, browser::HtmlDocument::Create(html, url, charset, &raw));
    CComPtr<browser::HtmlDocument> document;
    document.Attach(raw);
    return document;
}

inline browser::Node* Find(browser::HtmlDocument& document, std::u16string_view selector) {
    browser::Node* node = browser::QuerySelector(*document.Tree().Root(), selector);
    EXPECT_NE(nullptr, node) << "no element for the selector";
    return node;
}

template <class I>
CComPtr<I> Element(browser::HtmlDocument& document, std::u16string_view selector) {
    CComPtr<I> out;
    EXPECT_EQ(S_OK, document.ObjectFor(Find(document, selector), &out));
    return out;
}

// Takes ownership of a BSTR result and returns its text.
inline std::u16string Take(BSTR text) {
    CComBSTR owner;
    owner.Attach(text);
    return std::u16string(owner.View());
}

template <class Object, class Getter>
std::u16string Text(Object* object, Getter getter) {
    BSTR value = nullptr;
    EXPECT_EQ(S_OK, (object->*getter)(&value));
    return Take(value);
}

inline CComVariant Index(int i) {
    return CComVariant(i);
}

}  // namespace browser_test
