// GUIDs, BSTRs, VARIANTs and safe arrays as callers rely on them.
#include <gtest/gtest.h>

#include "platform/com/guid.h"
#include "platform/com/safearray.h"
#include "platform/com/variant.h"

namespace {

constexpr GUID kEditHtml = MakeGuid("B5B24C3A-6312-4861-A9A1-A3A1EB0A1916");

TEST(Guid, RegistryFormRoundTrip) {
    EXPECT_EQ(GuidToString(kEditHtml), u"{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}");
    GUID parsed{};
    ASSERT_TRUE(GuidFromString(u"{b5b24c3a-6312-4861-a9a1-a3a1eb0a1916}", &parsed));
    EXPECT_EQ(parsed, kEditHtml);
    EXPECT_TRUE(GuidFromString(u"B5B24C3A-6312-4861-A9A1-A3A1EB0A1916", &parsed));
    EXPECT_FALSE(GuidFromString(u"{B5B24C3A-6312-4861-A9A1-A3A1EB0A191}", &parsed));
    EXPECT_FALSE(GuidFromString(u"{B5B24C3A-6312-4861-A9A1-A3A1EB0A191G}", &parsed));
    EXPECT_FALSE(GuidFromString(u"{B5B24C3A+6312-4861-A9A1-A3A1EB0A1916}", &parsed));
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromString(u"{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}", &clsid), S_OK);
    EXPECT_TRUE(FAILED(CLSIDFromString(u"B5B24C3A-6312-4861-A9A1-A3A1EB0A1916", &clsid)));
    char16_t buffer[39];
    EXPECT_EQ(StringFromGUID2(kEditHtml, buffer, 39), 39);
    EXPECT_EQ(StringFromGUID2(kEditHtml, buffer, 38), 0);
}

TEST(Bstr, LengthPrefixKeepsEmbeddedNulls) {
    const char16_t text[] = {u'a', 0, u'b', 0, u'c'};
    BSTR s = SysAllocStringLen(text, 5);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 5u);
    EXPECT_EQ(SysStringByteLen(s), 10u);
    EXPECT_EQ(s[5], 0);  // terminated after the length
    EXPECT_EQ(std::u16string(s, 5), std::u16string(text, 5));
    SysFreeString(s);

    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    BSTR empty = SysAllocString(u"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);

    BSTR zeroed = SysAllocStringLen(nullptr, 3);
    EXPECT_EQ(SysStringLen(zeroed), 3u);
    EXPECT_EQ(zeroed[0], 0);
    SysFreeString(zeroed);
}

TEST(Bstr, CComBstrCopiesAppendsAndCompares) {
    CComBSTR a(u"Login");
    CComBSTR b = a;
    EXPECT_NE(a.m_str, b.m_str);
    EXPECT_TRUE(a == b);
    b.Append(u" data");
    EXPECT_EQ(b.View(), u"Login data");
    b.ToLower();
    EXPECT_EQ(b.View(), u"login data");
    CComBSTR withNull(std::u16string_view(u"x\0y", 3));
    CComBSTR copy(withNull);
    EXPECT_EQ(copy.Length(), 3u);
    BSTR detached = copy.Detach();
    EXPECT_EQ(copy.m_str, nullptr);
    SysFreeString(detached);
    CComBSTR out;
    EXPECT_EQ(a.CopyTo(&out), S_OK);
    EXPECT_TRUE(out == u"Login");
}

TEST(Variant, ChangeTypeToText) {
    CComVariant five(5);
    EXPECT_EQ(five.vt, VT_I4);
    CComVariant text;
    ASSERT_EQ(VariantChangeType(&text, &five, 0, VT_BSTR), S_OK);
    EXPECT_EQ(text.vt, VT_BSTR);
    EXPECT_EQ(std::u16string(text.bstrVal), u"5");

    CComVariant negative(-42, VT_INT);
    ASSERT_EQ(negative.ChangeType(VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string(negative.bstrVal), u"-42");

    CComVariant flag(true);
    ASSERT_EQ(VariantChangeType(&text, &flag, 0, VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string(text.bstrVal), u"-1");
    ASSERT_EQ(VariantChangeType(&text, &flag, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string(text.bstrVal), u"True");

    CComVariant real(2.5);
    ASSERT_EQ(VariantChangeType(&text, &real, 0, VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string(text.bstrVal), u"2.5");

    CComVariant empty;
    ASSERT_EQ(VariantChangeType(&text, &empty, 0, VT_BSTR), S_OK);
    EXPECT_EQ(SysStringLen(text.bstrVal), 0u);
}

TEST(Variant, NullDoesNotBecomeTextAndLeavesTheTargetAlone) {
    CComVariant null;
    null.vt = VT_NULL;
    CComVariant target(u"kept");
    EXPECT_EQ(VariantChangeType(&target, &null, 0, VT_BSTR), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(target.vt, VT_BSTR);
    EXPECT_EQ(std::u16string(target.bstrVal), u"kept");
    CComVariant nullCopy;
    EXPECT_EQ(VariantChangeType(&nullCopy, &null, 0, VT_NULL), S_OK);
    EXPECT_EQ(nullCopy.vt, VT_NULL);
}

TEST(Variant, TextToNumbersAndRanges) {
    CComVariant n;
    CComVariant digits(u" 12 ");
    ASSERT_EQ(VariantChangeType(&n, &digits, 0, VT_I4), S_OK);
    EXPECT_EQ(n.lVal, 12);
    CComVariant word(u"x");
    EXPECT_EQ(VariantChangeType(&n, &word, 0, VT_I4), DISP_E_TYPEMISMATCH);
    CComVariant huge(u"99999999999");
    EXPECT_EQ(VariantChangeType(&n, &huge, 0, VT_I4), DISP_E_OVERFLOW);
    CComVariant big(static_cast<long long>(1) << 40);
    EXPECT_EQ(VariantChangeType(&n, &big, 0, VT_I4), DISP_E_OVERFLOW);
    ASSERT_EQ(VariantChangeType(&n, &big, 0, VT_INT_PTR), S_OK);
    EXPECT_EQ(n.llVal, static_cast<long long>(1) << 40);
}

TEST(Variant, ByRefValuesAreReadThrough) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT byref;
    VariantInit(&byref);
    byref.vt = VT_BYREF | VT_BOOL;
    byref.pboolVal = &cancel;
    CComVariant text;
    cancel = VARIANT_TRUE;
    ASSERT_EQ(VariantChangeType(&text, &byref, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string(text.bstrVal), u"True");
    EXPECT_EQ(VariantClear(&byref), S_OK);  // does not free what it points at
    EXPECT_EQ(cancel, VARIANT_TRUE);

    CComVariant url(u"http://example.com/");
    VARIANT wrapped;
    VariantInit(&wrapped);
    wrapped.vt = VT_BYREF | VT_VARIANT;
    wrapped.pvarVal = &url;
    CComVariant copy;
    ASSERT_EQ(VariantCopyInd(&copy, &wrapped), S_OK);
    EXPECT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, url.bstrVal);
    EXPECT_TRUE(copy == url);
}

TEST(Variant, VarBstrCmpIsExactWithoutFlags) {
    CComBSTR a(u"A"), lower(u"a"), empty(u"");
    EXPECT_EQ(VarBstrCmp(a, a, LOCALE_USER_DEFAULT, 0), VARCMP_EQ);
    EXPECT_NE(VarBstrCmp(a, lower, LOCALE_USER_DEFAULT, 0), VARCMP_EQ);
    EXPECT_EQ(VarBstrCmp(a, lower, LOCALE_USER_DEFAULT, NORM_IGNORECASE), VARCMP_EQ);
    EXPECT_EQ(VarBstrCmp(nullptr, empty, LOCALE_USER_DEFAULT, 0), VARCMP_EQ);
    EXPECT_EQ(VarBstrCmp(nullptr, a, LOCALE_USER_DEFAULT, 0), VARCMP_LT);
    CComBSTR withNull(std::u16string_view(u"A\0b", 3));
    EXPECT_EQ(VarBstrCmp(withNull, a, LOCALE_USER_DEFAULT, 0), VARCMP_GT);
}

TEST(SafeArray, VectorOfVariantsOwnsItsElements) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    ASSERT_NE(array, nullptr);
    VARIANT* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array, reinterpret_cast<void**>(&data)), S_OK);
    EXPECT_EQ(data[0].vt, VT_EMPTY);
    data[0].vt = VT_BSTR;
    data[0].bstrVal = SysAllocString(u"<P>html</P>");
    EXPECT_EQ(SafeArrayDestroy(array), DISP_E_ARRAYISLOCKED);
    ASSERT_EQ(SafeArrayUnaccessData(array), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(array), E_UNEXPECTED);
    LONG lower = -1, upper = -1;
    EXPECT_EQ(SafeArrayGetLBound(array, 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(array, 1, &upper), S_OK);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 0);
    VARTYPE vt = 0;
    EXPECT_EQ(SafeArrayGetVartype(array, &vt), S_OK);
    EXPECT_EQ(vt, VT_VARIANT);
    // The string is freed with the array; the sanitizer build sees a leak otherwise.
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);
    EXPECT_EQ(SafeArrayCreateVector(VT_NULL, 0, 1), nullptr);
}

}  // namespace
