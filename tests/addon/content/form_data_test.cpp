// Save Form Data and Fill Form Data: a round trip of every control kind
// through the database, the replace question, a save that fails half way,
// the fill's messages, and page values that would once have been SQL.
#include <algorithm>

#include "addon/farrow_module.h"
#include "tests/addon/content/content_test_support.h"

namespace content_test {

namespace {

constexpr char16_t kFormRows[] = u"select FormUrl from FormInfo order by FormId";
constexpr char16_t kFieldRows[] = u"select FieldName from FieldInfo order by FieldId";

class FormData : public ContentTest {
protected:
    void SetUp() override {
        ContentTest::SetUp();
        ASSERT_TRUE(m_db.OpenDb(_AtlModule.m_strDbPath));
    }
    void TearDown() override {
        m_db.CloseDb();
        ContentTest::TearDown();
    }

    void Save(browser::BrowserWindow& window, const char16_t* control) {
        AddOn(window).SaveFormData(ObjectOf(window, control));
    }
    void Fill(browser::BrowserWindow& window, const char16_t* control) {
        AddOn(window).FillFormData(ObjectOf(window, control));
    }
    std::u16string Value(browser::BrowserWindow& window, const char16_t* selector) {
        CComPtr<IDispatch> object = ObjectOf(window, selector);
        CComBSTR value;
        if (CComQIPtr<IHTMLInputElement> input{object}) input->get_value(&value);
        if (CComQIPtr<IHTMLTextAreaElement> area{object}) area->get_value(&value);
        if (CComQIPtr<IHTMLSelectElement> list{object}) list->get_value(&value);
        return value.m_str ? std::u16string(value.m_str) : std::u16string();
    }
    bool Checked(browser::BrowserWindow& window, const char16_t* selector) {
        CComQIPtr<IHTMLInputElement> input(ObjectOf(window, selector));
        VARIANT_BOOL checked = VARIANT_FALSE;
        if (input) input->get_checked(&checked);
        return checked == VARIANT_TRUE;
    }
    std::vector<std::u16string> Column(const char16_t* sql) {
        std::vector<std::u16string> texts;
        FieldsPtr fields = m_db.OpenRecordset(sql, false);
        while (fields && !m_db.m_pRecordset->GetadoEOF()) {
            CComVariant text;
            const CComVariant value = fields->GetItem(0L)->GetValue();
            VariantChangeType(&text, &value, 0, VT_BSTR);
            texts.push_back(text.vt == VT_BSTR && text.bstrVal ? text.bstrVal : u"");
            m_db.m_pRecordset->MoveNext();
        }
        return texts;
    }

    CAdoDb m_db;
};

TEST_F(FormData, EveryControlKindComesBackAsItWasFilledIn) {
    browser::BrowserWindow& window = Open(DemoWeb("form.html"));
    const std::u16string remarks = u"Two \"quoted\" lines,\r\nand a kestrel \U0001F985 to end";
    window.Type(Element(window, u"#f_name"), u"O'Neil; drop table FormInfo; --");
    window.Type(Element(window, u"#f_secret"), u"p\u00e4ss");
    window.Type(Element(window, u"#f_remarks"), remarks);
    window.SetChecked(Element(window, u"#f_rules"), true);
    window.SetChecked(Element(window, u"#f_expert"), true);
    window.Choose(Element(window, u"#f_region"), {u"coast"});
    window.Choose(Element(window, u"#f_birds"), {u"buzzard", u"hawk"});
    Save(window, u"#f_name");
    EXPECT_EQ((std::vector<std::u16string>{u"name", u"secret", u"news", u"rules", u"level",
                                           u"region", u"birds", u"remarks"}),
              Column(kFieldRows));

    window.Navigate(DemoWeb("form.html"));
    ASSERT_EQ(u"Robin", Value(window, u"#f_name"));
    Fill(window, u"#f_remarks");
    EXPECT_EQ(u"O'Neil; drop table FormInfo; --", Value(window, u"#f_name"));
    EXPECT_EQ(u"p\u00e4ss", Value(window, u"#f_secret"));
    EXPECT_EQ(remarks, Value(window, u"#f_remarks"));
    EXPECT_TRUE(Checked(window, u"#f_rules"));
    EXPECT_TRUE(Checked(window, u"#f_expert"));
    EXPECT_EQ(u"coast", Value(window, u"#f_region"));
    std::vector<std::u16string> selected;
    CComQIPtr<IHTMLSelectElement> list(ObjectOf(window, u"#f_birds"));
    for (long i = 0; i < 4; ++i) {
        CComPtr<IDispatch> item;
        const CComVariant index(static_cast<int>(i));
        list->item(index, index, &item);
        CComQIPtr<IHTMLOptionElement> option(item);
        VARIANT_BOOL on = VARIANT_FALSE;
        CComBSTR value;
        option->get_selected(&on);
        option->get_value(&value);
        if (on) selected.push_back(value.m_str);
    }
    EXPECT_EQ((std::vector<std::u16string>{u"buzzard", u"hawk"}), selected);
}

TEST_F(FormData, ReplacingKeepsOneFormWithOnlyItsNewFields) {
    browser::BrowserWindow& window = Open(DemoWeb("form.html"));
    Save(window, u"#f_name");
    window.Type(Element(window, u"#f_name"), u"Wren");
    Answer(
        u"message \"Kestro - confirmation\" \"There is previously saved data for this form. Do "
        u"you want replace it?\" No");
    Save(window, u"#f_name");
    Answer(
        u"message \"Kestro - confirmation\" \"There is previously saved data for this form. Do "
        u"you want replace it?\" Yes");
    window.Type(Element(window, u"#f_remarks"), u"");
    Save(window, u"#f_name");
    EXPECT_EQ(1u, Column(kFormRows).size());
    const std::vector<std::u16string> fields = Column(kFieldRows);
    EXPECT_EQ(std::count(fields.begin(), fields.end(), u"name"), 1);
    EXPECT_EQ(std::count(fields.begin(), fields.end(), u"remarks"), 0);

    window.Navigate(DemoWeb("form.html"));
    Fill(window, u"#f_name");
    EXPECT_EQ(u"Wren", Value(window, u"#f_name"));
}

TEST_F(FormData, ASaveThatFailsHalfWayLeavesTheStoredFormAsItWas) {
    browser::BrowserWindow& window = Open(DemoWeb("form.html"));
    Save(window, u"#f_name");
    const std::vector<std::u16string> before = Column(kFieldRows);
    ASSERT_TRUE(
        m_db.ExecuteSql(u"create trigger refuse before insert on FieldInfo when "
                        u"NEW.FieldName = 'remarks' begin select raise(abort, 'refused'); end",
                        {}));
    window.Type(Element(window, u"#f_name"), u"Wren");
    Answer(
        u"message \"Kestro - confirmation\" \"There is previously saved data for this form. Do "
        u"you want replace it?\" Yes");
    UiWatch watch;
    std::u16string title;
    watch.answerMessage = [&](const MessageBoxRequest& request) -> std::optional<int> {
        if (request.title.find(u"Database error") == std::u16string::npos) return std::nullopt;
        title = request.title;
        return IDOK;
    };
    Save(window, u"#f_name");
    EXPECT_EQ(u"Kestro - Database error 9", title);
    EXPECT_EQ(1u, Column(kFormRows).size());
    EXPECT_EQ(before, Column(kFieldRows));
}

TEST_F(FormData, FillSaysWhatIsMissingOrUnreadable) {
    AddPage("hidden.html",
            "<form id=f><input type=hidden name=h value=1><input type=submit id=go></form>");
    browser::BrowserWindow& window = Open(PageUrl("hidden.html"));
    Answer(u"message \"Kestro - Error\" \"There is no data saved for this form.\" OK");
    Fill(window, u"#go");
    Save(window, u"#go");
    Answer(
        u"message \"Kestro - Error\" \"There is no field data saved for this form. DB error: \" "
        u"OK");
    Fill(window, u"#go");

    browser::BrowserWindow& form = Open(DemoWeb("form.html"));
    Save(form, u"#f_name");
    ASSERT_TRUE(m_db.ExecuteSql(u"update FieldInfo set FieldValue = ? where FieldName = 'news'",
                                {u"bm90IGEgcHJvdGVjdGVkIHZhbHVl"}));
    form.Type(Element(form, u"#f_name"), u"Wren");
    Answer(u"message \"Kestro - Error\" \"The saved field data is not decryptable.\" OK");
    Fill(form, u"#f_name");
    EXPECT_EQ(u"Robin", Value(form, u"#f_name"));  // fields before it are filled
}

TEST_F(FormData, OnlyTheFormOfTheClickedControlIsKeptUnderAnAddressWithAQuote) {
    AddPage("o'two.html",
            "<form id=a><input name=first value=one id=one></form>"
            "<form id=b><input name=second value=two id=two></form>");
    browser::BrowserWindow& window = Open(PageUrl("o'two.html"));
    Save(window, u"#two");
    EXPECT_EQ((std::vector<std::u16string>{u"second"}), Column(kFieldRows));
    window.Type(Element(window, u"#two"), u"changed");
    Fill(window, u"#two");
    EXPECT_EQ(u"two", Value(window, u"#two"));
}

}  // namespace

}  // namespace content_test
