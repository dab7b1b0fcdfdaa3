#include "addon/content/find_ancestor.h"

CComPtr<IHTMLElement> FindAncestorByTag(IHTMLElement* element, const char16_t* tagName) {
    if (!element) return nullptr;
    CComBSTR wanted(tagName);
    CComPtr<IHTMLElement> current;
    if (FAILED(element->get_parentElement(&current))) return nullptr;
    while (current) {
        CComBSTR tag;
        if (FAILED(current->get_tagName(&tag))) return nullptr;
        if (VarBstrCmp(tag, wanted, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ) return current;
        CComPtr<IHTMLElement> parent;
        if (FAILED(current->get_parentElement(&parent))) return nullptr;
        current = parent;
    }
    return nullptr;
}
