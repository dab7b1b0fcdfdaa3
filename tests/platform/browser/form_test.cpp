#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

const char* kForm =
    "<form id=f action=/login method=POST>"
    "<input type=text name=user value=alice>"
    "<input type=PASSWORD name=pass>"
    "<input type=email name=mail>"
    "<input type=hidden name=token value=t1>"
    "<input type=checkbox name=keep>"
    "<input type=checkbox name=news value=yes checked>"
    "<input type=radio name=size value=s checked><input type=radio name=size value=l>"
    "<select name=one><option>first<option value=2 selected>second</select>"
    "<select name=many multiple><option value=a>A<option value=b selected>B"
    "<option value=c selected>C</select>"
    "<textarea name=note>hello</textarea>"
    "<button id=b>Go</button><input type=image src=i.png>"
    "</form><input id=outside name=user>";

TEST(FormTest, InputsReportTypesNamesAndValues) {
    auto page = Page(kForm);
    auto user = Element<IHTMLInputElement>(*page, u"[name=user]");
    EXPECT_EQ(u"text", Text(user.p, &IHTMLInputElement::get_type));
    EXPECT_EQ(u"user", Text(user.p, &IHTMLInputElement::get_name));
    EXPECT_EQ(u"alice", Text(user.p, &IHTMLInputElement::get_value));
    EXPECT_EQ(u"password", Text(Element<IHTMLInputElement>(*page, u"[name=pass]").p,
                                &IHTMLInputElement::get_type));
    // Types the classic browser did not know read as "text".
    EXPECT_EQ(u"text", Text(Element<IHTMLInputElement>(*page, u"[name=mail]").p,
                            &IHTMLInputElement::get_type));
    EXPECT_EQ(u"on", Text(Element<IHTMLInputElement>(*page, u"[name=keep]").p,
                          &IHTMLInputElement::get_value));
}

TEST(FormTest, ValuesAndCheckedStatesAreLive) {
    auto page = Page(kForm);
    auto user = Element<IHTMLInputElement>(*page, u"[name=user]");
    ASSERT_EQ(S_OK, user->put_value(CComBSTR(u"bob")));
    EXPECT_EQ(u"bob", Text(user.p, &IHTMLInputElement::get_value));
    VARIANT_BOOL checked = VARIANT_FALSE;
    auto keep = Element<IHTMLInputElement>(*page, u"[name=keep]");
    EXPECT_EQ(S_OK, keep->get_checked(&checked));
    EXPECT_EQ(VARIANT_FALSE, checked);
    EXPECT_EQ(S_OK, keep->put_checked(VARIANT_TRUE));
    EXPECT_EQ(S_OK, keep->get_checked(&checked));
    EXPECT_EQ(VARIANT_TRUE, checked);
    // Checking a radio button unchecks the rest of its group.
    auto small = Element<IHTMLInputElement>(*page, u"[value=s]");
    auto large = Element<IHTMLInputElement>(*page, u"[value=l]");
    EXPECT_EQ(S_OK, large->put_checked(VARIANT_TRUE));
    EXPECT_EQ(S_OK, small->get_checked(&checked));
    EXPECT_EQ(VARIANT_FALSE, checked);
    // The source is never read again.
    CComVariant attribute;
    EXPECT_EQ(S_OK, Element<IHTMLElement>(*page, u"[name=user]")
                        ->getAttribute(CComBSTR(u"value"), 0, &attribute));
    EXPECT_EQ(std::u16string(u"alice"), attribute.bstrVal);
}

TEST(FormTest, SelectListsAndOptions) {
    auto page = Page(kForm);
    auto one = Element<IHTMLSelectElement>(*page, u"[name=one]");
    EXPECT_EQ(u"select-one", Text(one.p, &IHTMLSelectElement::get_type));
    EXPECT_EQ(u"2", Text(one.p, &IHTMLSelectElement::get_value));
    ASSERT_EQ(S_OK, one->put_value(CComBSTR(u"first")));  // an option without value uses its text
    EXPECT_EQ(u"first", Text(one.p, &IHTMLSelectElement::get_value));
    ASSERT_EQ(S_OK, one->put_value(CComBSTR(u"none")));
    EXPECT_EQ(u"", Text(one.p, &IHTMLSelectElement::get_value));

    auto many = Element<IHTMLSelectElement>(*page, u"[name=many]");
    EXPECT_EQ(u"select-multiple", Text(many.p, &IHTMLSelectElement::get_type));
    long length = 0;
    EXPECT_EQ(S_OK, many->get_length(&length));
    ASSERT_EQ(3, length);
    std::u16string selected;
    for (int i = 0; i < length; ++i) {
        CComPtr<IDispatch> item;
        ASSERT_EQ(S_OK, many->item(Index(i), Index(i), &item));
        CComQIPtr<IHTMLOptionElement> option(item);
        ASSERT_TRUE(option);
        if (i == 0) option->put_selected(VARIANT_TRUE);
        if (i == 1) option->put_selected(VARIANT_FALSE);
        VARIANT_BOOL on = VARIANT_FALSE;
        option->get_selected(&on);
        if (on) selected += Text(option.p, &IHTMLOptionElement::get_value);
    }
    EXPECT_EQ(u"ac", selected);
    // In a single-choice list selecting an option deselects the other.
    auto first = Element<IHTMLOptionElement>(*page, u"[name=one] option:nth-of-type(2)");
    first->put_selected(VARIANT_TRUE);
    EXPECT_EQ(u"2", Text(one.p, &IHTMLSelectElement::get_value));
}

TEST(FormTest, TextAreas) {
    auto page = Page(kForm);
    auto note = Element<IHTMLTextAreaElement>(*page, u"textarea");
    EXPECT_EQ(u"textarea", Text(note.p, &IHTMLTextAreaElement::get_type));
    EXPECT_EQ(u"note", Text(note.p, &IHTMLTextAreaElement::get_name));
    EXPECT_EQ(u"hello", Text(note.p, &IHTMLTextAreaElement::get_value));
    ASSERT_EQ(S_OK, note->put_value(CComBSTR(u"changed")));
    EXPECT_EQ(u"changed", Text(note.p, &IHTMLTextAreaElement::get_value));
}

TEST(FormTest, FormCollectionsAndOwners) {
    auto page = Page(kForm);
    auto form = Element<IHTMLFormElement>(*page, u"#f");
    long length = 0;
    EXPECT_EQ(S_OK, form->get_length(&length));
    EXPECT_EQ(12, length);  // every control but the image input
    CComPtr<IDispatch> tagged;
    ASSERT_EQ(S_OK, form->tags(CComVariant(u"INPUT"), &tagged));
    CComQIPtr<IHTMLElementCollection> inputs(tagged);
    ASSERT_TRUE(inputs);
    EXPECT_EQ(S_OK, inputs->get_length(&length));
    EXPECT_EQ(9, length);
    CComPtr<IDispatch> second;
    ASSERT_EQ(S_OK, inputs->item(Index(1), Index(1), &second));
    CComQIPtr<IHTMLInputElement> pass(second);
    ASSERT_TRUE(pass);
    EXPECT_EQ(u"pass", Text(pass.p, &IHTMLInputElement::get_name));
    CComPtr<IDispatch> beyond;
    EXPECT_EQ(S_OK, inputs->item(Index(99), Index(99), &beyond));
    EXPECT_EQ(nullptr, beyond.p);

    CComPtr<IHTMLFormElement> owner;
    ASSERT_EQ(S_OK, pass->get_form(&owner));
    CComQIPtr<IUnknown> a(owner), b(form);
    EXPECT_EQ(a.p, b.p);
    CComPtr<IHTMLFormElement> buttonForm;
    ASSERT_EQ(S_OK, Element<IHTMLButtonElement>(*page, u"#b")->get_form(&buttonForm));
    EXPECT_NE(nullptr, buttonForm.p);
    CComPtr<IHTMLFormElement> none;
    EXPECT_EQ(S_OK, Element<IHTMLInputElement>(*page, u"#outside")->get_form(&none));
    EXPECT_EQ(nullptr, none.p);
}

TEST(FormTest, NamedItemGivesOneElementOrACollection) {
    auto page = Page(kForm);
    auto form = Element<IHTMLFormElement3>(*page, u"#f");
    CComPtr<IDispatch> user;
    ASSERT_EQ(S_OK, form->namedItem(CComBSTR(u"user"), &user));
    CComQIPtr<IHTMLInputElement> input(user);
    ASSERT_TRUE(input);  // the input outside the form does not count
    EXPECT_EQ(u"alice", Text(input.p, &IHTMLInputElement::get_value));

    CComPtr<IDispatch> group;
    ASSERT_EQ(S_OK, form->namedItem(CComBSTR(u"size"), &group));
    CComQIPtr<IHTMLInputElement> notAnInput(group);
    EXPECT_FALSE(notAnInput);
    CComQIPtr<IHTMLElementCollection> radios(group);
    ASSERT_TRUE(radios);
    long length = 0;
    EXPECT_EQ(S_OK, radios->get_length(&length));
    EXPECT_EQ(2, length);

    CComPtr<IDispatch> missing;
    EXPECT_EQ(S_OK, form->namedItem(CComBSTR(u"nothing"), &missing));
    EXPECT_EQ(nullptr, missing.p);
}

TEST(FormTest, CollectionItemByName) {
    auto page = Page(kForm);
    CComPtr<IDispatch> tagged;
    ASSERT_EQ(S_OK, Element<IHTMLFormElement>(*page, u"#f")->tags(CComVariant(u"input"), &tagged));
    CComQIPtr<IHTMLElementCollection> inputs(tagged);
    CComPtr<IDispatch> secondRadio;
    ASSERT_EQ(S_OK, inputs->item(CComVariant(u"size"), Index(1), &secondRadio));
    CComQIPtr<IHTMLInputElement> radio(secondRadio);
    ASSERT_TRUE(radio);
    EXPECT_EQ(u"l", Text(radio.p, &IHTMLInputElement::get_value));
}

}  // namespace
