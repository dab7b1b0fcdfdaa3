// "Save Form Data" and "Fill Form Data": every filled field of a form kept
// under the page's address, each value protected, and written back into
// the form when the page is visited again. Page values go into the
// statements as parameters, and a save is one transaction: the form with
// all of its fields, and on a replace the removal of the old form and its
// fields, or nothing at all.
#include <algorithm>
#include <vector>

#include "addon/content/dom_reads.h"
#include "addon/content/find_ancestor.h"
#include "addon/edit_html.h"
#include "addon/login/login_store.h"
#include "addon/login/login_text.h"
#include "addon/login/site_key.h"
#include "platform/ui/message_box.h"
#include "platform/win/text.h"
#include "store/column_values.h"

namespace {

constexpr char16_t kFindForm[] = u"select formid from forminfo where formurl = ?";
constexpr char16_t kInsertForm[] = u"insert into forminfo (formurl, DomainName) values (?, ?)";
constexpr char16_t kIdentity[] = u"select @@Identity";
constexpr char16_t kInsertField[] =
    u"insert into FieldInfo (FieldName, FieldType, FieldValue, FormId) values (?, ?, ?, ?)";
constexpr char16_t kSelectFields[] =
    u"select FieldName, FieldType, FieldValue from FieldInfo where FormId = ?";
constexpr char16_t kDeleteFields[] = u"delete from FieldInfo where FormId = ?";
constexpr char16_t kDeleteForm[] = u"delete from FormInfo where FormId = ?";

constexpr char16_t kErrorTitle[] = u"Kestro - Error";

struct FormField {
    std::u16string name;
    std::u16string type;
    std::u16string value;  // clear until protected
};

CComVariant Index(long i) {
    return CComVariant(static_cast<int>(i));
}

CComPtr<IDispatch> ItemOf(IHTMLFormElement* form, long i) {
    CComPtr<IDispatch> item;
    const CComVariant index = Index(i);
    if (FAILED(form->item(index, index, &item))) return nullptr;
    return item;
}

CComPtr<IHTMLOptionElement> OptionOf(IHTMLSelectElement* list, long i) {
    CComPtr<IDispatch> item;
    const CComVariant index = Index(i);
    if (FAILED(list->item(index, index, &item))) return nullptr;
    return CComQIPtr<IHTMLOptionElement>(item);
}

// The values of the selected options, joined by a tab.
std::u16string SelectedValues(IHTMLSelectElement* list) {
    long length = 0;
    if (FAILED(list->get_length(&length))) return {};
    std::u16string joined;
    bool first = true;
    for (long i = 0; i < length; ++i) {
        CComPtr<IHTMLOptionElement> option = OptionOf(list, i);
        VARIANT_BOOL selected = VARIANT_FALSE;
        CComBSTR value;
        if (!option || FAILED(option->get_selected(&selected)) || !selected ||
            FAILED(option->get_value(&value)))
            continue;
        if (!first) joined += u'\t';
        joined += TextOf(value);
        first = false;
    }
    return joined;
}

bool InputField(IDispatch* item, FormField& field) {
    CComQIPtr<IHTMLInputElement> input(item);
    CComBSTR name, value, type;
    if (!input || FAILED(input->get_name(&name)) || FAILED(input->get_value(&value)) ||
        FAILED(input->get_type(&type)))
        return false;
    field = {TextOf(name), TextOf(type), TextOf(value)};
    login::WipeBstr(value);
    if (field.name.empty() || field.value.empty()) return false;
    if (field.type == u"text" || field.type == u"password") return true;
    if (field.type != u"checkbox" && field.type != u"radio") return false;
    VARIANT_BOOL checked = VARIANT_FALSE;
    return SUCCEEDED(input->get_checked(&checked)) && checked;
}

bool ListField(IDispatch* item, FormField& field) {
    CComQIPtr<IHTMLSelectElement> list(item);
    CComBSTR name, type;
    if (!list || FAILED(list->get_name(&name)) || FAILED(list->get_type(&type))) return false;
    field.name = TextOf(name);
    field.type = TextOf(type);
    if (field.type == u"select-one") {
        CComBSTR value;
        if (FAILED(list->get_value(&value))) return false;
        field.value = TextOf(value);
    } else {
        field.value = SelectedValues(list);
    }
    return !field.name.empty() && !field.value.empty();
}

bool TextAreaField(IDispatch* item, FormField& field) {
    CComQIPtr<IHTMLTextAreaElement> area(item);
    CComBSTR name, value, type;
    if (!area || FAILED(area->get_name(&name)) || FAILED(area->get_value(&value)) ||
        FAILED(area->get_type(&type)))
        return false;
    field = {TextOf(name), TextOf(type), TextOf(value)};
    login::WipeBstr(value);
    return !field.name.empty() && !field.value.empty();
}

// The controls of the form that are kept, in the form's order.
std::vector<FormField> FilledFields(IHTMLFormElement* form, long length) {
    std::vector<FormField> fields;
    for (long i = 0; i < length; ++i) {
        CComPtr<IDispatch> item = ItemOf(form, i);
        CComQIPtr<IHTMLElement> element(item);
        if (!element) continue;
        FormField field;
        bool kept = false;
        if (HasTagName(element, u"INPUT"))
            kept = InputField(item, field);
        else if (HasTagName(element, u"SELECT"))
            kept = ListField(item, field);
        else if (HasTagName(element, u"TEXTAREA"))
            kept = TextAreaField(item, field);
        if (kept)
            fields.push_back(std::move(field));
        else
            WipeText(field.value);
    }
    return fields;
}

void WipeFields(std::vector<FormField>& fields) {
    for (FormField& field : fields) WipeText(field.value);
}

CComPtr<IHTMLFormElement> FormOf(IDispatch* element) {
    CComQIPtr<IHTMLElement> html(element);
    if (!html) return nullptr;
    CComPtr<IHTMLElement> form = FindAncestorByTag(html, u"FORM");
    return CComQIPtr<IHTMLFormElement>(form);
}

// Ticks the options whose values are listed, walking from the first option:
// each option is first cleared, and the walk ends once every listed value
// was found (options after that keep their selection).
void SelectValues(IHTMLSelectElement* list, const std::u16string& joined) {
    std::vector<std::u16string> wanted;
    for (std::size_t start = 0; start <= joined.size();) {
        const std::size_t tab = std::min(joined.find(u'\t', start), joined.size());
        if (tab > start) wanted.push_back(joined.substr(start, tab - start));
        start = tab + 1;
    }
    long length = 0;
    if (FAILED(list->get_length(&length)) || length < 1) return;
    for (long i = 0; i < length; ++i) {
        CComPtr<IHTMLOptionElement> option = OptionOf(list, i);
        if (option) {
            option->put_selected(VARIANT_FALSE);
            CComBSTR value;
            if (SUCCEEDED(option->get_value(&value))) {
                const auto found = std::find(wanted.begin(), wanted.end(), TextOf(value));
                if (found != wanted.end()) {
                    option->put_selected(VARIANT_TRUE);
                    wanted.erase(found);
                }
            }
        }
        if (wanted.empty()) return;
    }
}

// Checks the button of a radio group whose value is the stored one.
void CheckRadio(IDispatch* group, const std::u16string& value) {
    CComQIPtr<IHTMLElementCollection> buttons(group);
    long length = 0;
    if (!buttons || FAILED(buttons->get_length(&length))) return;
    for (long i = 0; i < length; ++i) {
        CComPtr<IDispatch> item;
        const CComVariant index = Index(i);
        if (FAILED(buttons->item(index, index, &item))) continue;
        CComQIPtr<IHTMLInputElement> button(item);
        CComBSTR own;
        if (button && SUCCEEDED(button->get_value(&own)) && TextOf(own) == value) {
            button->put_checked(VARIANT_TRUE);
            return;
        }
    }
}

// Writes a stored value into the control of that name, as its stored type
// says; a control of another kind is left alone.
void FillField(IDispatch* item, const std::u16string& type, const std::u16string& value) {
    CComBSTR text(value.c_str());
    if (type == u"select-one") {
        if (CComQIPtr<IHTMLSelectElement> list{item}) list->put_value(text);
    } else if (type == u"select-multiple") {
        if (CComQIPtr<IHTMLSelectElement> list{item}) SelectValues(list, value);
    } else if (type == u"textarea") {
        if (CComQIPtr<IHTMLTextAreaElement> area{item}) area->put_value(text);
    } else if (type == u"radio") {
        CheckRadio(item, value);
    } else if (type == u"checkbox") {
        if (CComQIPtr<IHTMLInputElement> box{item}) box->put_checked(VARIANT_TRUE);
    } else if (CComQIPtr<IHTMLInputElement> input{item}) {
        input->put_value(text);
    }
    login::WipeBstr(text);
}

// The id of the page's stored form, when there is one.
bool FindStoredForm(CAdoDb& db, const std::u16string& url, std::u16string& formId) {
    login::LoginStore store(db);
    std::vector<login::LoginRow> rows;
    if (!store.Query({kFindForm, {url}}, rows) || rows.empty() || rows.front().empty())
        return false;
    formId = rows.front().front();
    return true;
}

}  // namespace

void CEditHtml::SaveFormData(IDispatch* element) {
    CEditHtmlHold hold(this);
    CComPtr<IHTMLFormElement> form = FormOf(element);
    long length = 0;
    if (!form || FAILED(form->get_length(&length)) || length == 0) return;
    if (!EnsureDbOpen()) return;
    std::u16string url;
    const std::u16string host = GetDocumentDomain(element, &url);

    std::u16string oldFormId;
    const bool replacing = FindStoredForm(m_db, url, oldFormId);
    if (replacing &&
        MessageBoxW(m_hDocWnd,
                    u"There is previously saved data for this form. Do you want replace it?",
                    u"Kestro - confirmation", MB_YESNO) != IDYES)
        return;

    std::vector<FormField> fields = FilledFields(form, length);
    for (FormField& field : fields) {
        std::u16string protectedValue;
        if (!ProtectColumn(m_crypt, field.value, protectedValue)) {
            WipeFields(fields);
            MessageBoxW(m_hDocWnd, u"Cannot encrypt field value.", kErrorTitle, MB_ICONERROR);
            return;
        }
        WipeText(field.value);
        field.value = protectedValue;
    }

    const char16_t* failure = u"Kestro - Database error 7";
    const bool saved = m_db.RunInTransaction([&] {
        if (!m_db.ExecuteSql(kInsertForm, {url, host})) return false;
        failure = u"Kestro - Database error 8";
        FieldsPtr identity = m_db.OpenRecordset(kIdentity, false);
        if (!identity) return false;
        CComVariant id;
        const CComVariant read = identity->GetItem(0L)->GetValue();
        if (FAILED(VariantChangeType(&id, &read, 0, VT_I4))) return false;
        const std::u16string formId = WideFromInt(id.lVal);
        failure = u"Kestro - Database error 9";
        for (const FormField& field : fields)
            if (!m_db.ExecuteSql(kInsertField, {field.name, field.type, field.value, formId}))
                return false;
        failure = u"Kestro - Database error 7";
        return !replacing || (m_db.ExecuteSql(kDeleteFields, {oldFormId}) &&
                              m_db.ExecuteSql(kDeleteForm, {oldFormId}));
    });
    if (!saved) MessageBoxW(m_hDocWnd, m_db.m_strError.c_str(), failure, MB_ICONERROR);
}

void CEditHtml::FillFormData(IDispatch* element) {
    CEditHtmlHold hold(this);
    CComPtr<IHTMLFormElement> form = FormOf(element);
    CComQIPtr<IHTMLFormElement3> named(form);
    if (!form || !named) return;
    if (!EnsureDbOpen()) return;
    std::u16string url;
    GetDocumentDomain(element, &url);

    std::u16string formId;
    if (!FindStoredForm(m_db, url, formId)) {
        MessageBoxW(m_hDocWnd, u"There is no data saved for this form.", kErrorTitle, MB_ICONERROR);
        return;
    }
    login::LoginStore store(m_db);
    std::vector<login::LoginRow> rows;
    if (!store.Query({kSelectFields, {formId}}, rows) || rows.empty()) {
        const std::u16string text =
            u"There is no field data saved for this form. DB error: " + m_db.m_strError;
        MessageBoxW(m_hDocWnd, text.c_str(), kErrorTitle, MB_ICONERROR);
        return;
    }
    login::ClearTexts clear;
    for (const login::LoginRow& row : rows) {
        std::u16string& value = clear.Add();
        if (row.size() < 3 || !UnprotectColumn(m_crypt, row[2], value)) {
            MessageBoxW(m_hDocWnd, u"The saved field data is not decryptable.", kErrorTitle,
                        MB_ICONERROR);
            return;
        }
        CComBSTR name(row[0].c_str());
        CComPtr<IDispatch> item;
        if (FAILED(named->namedItem(name, &item)) || !item) continue;
        FillField(item, row[1], value);
    }
}
