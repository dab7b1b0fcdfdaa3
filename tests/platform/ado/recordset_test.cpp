// Recordset: exact counts, values by position, walking, and writing rows
// back through writable recordsets.
#include <gtest/gtest.h>

#include "ado_test_support.h"
#include "tests/support/temp_home.h"

using namespace ado_test;
using testing_support::TempDir;

namespace {

class AdoRecordset : public testing::Test {
protected:
    void SetUp() override {
        CreateLoginDatabase(m_dir.File("login.dat"));
        RawExec(m_dir.File("login.dat"),
                "insert into LoginInfo (DomainName, ItemNames, AccountName) values"
                " ('a.com', 'user', 'one'), ('a.com', 'user', 'two'), ('b.com', NULL, NULL);"
                "insert into FormInfo (FormUrl, DomainName) values ('http://a.com/f', 'a.com'),"
                " ('http://b.com/f', 'b.com')");
        m_connection = OpenConnection(m_dir.File("login.dat"));
        ASSERT_TRUE(m_connection);
        ASSERT_EQ(m_recordset.CoCreateInstance(__uuidof(Recordset)), S_OK);
    }

    void Open(const char16_t* sql, bool writable) {
        m_recordset->Open(sql, CComVariant(static_cast<IDispatch*>(m_connection)),
                          writable ? adOpenKeyset : adOpenStatic,
                          writable ? adLockOptimistic : adLockReadOnly, adCmdText);
    }

    CComVariant Value(long column) { return m_recordset->GetFields()->GetItem(column)->GetValue(); }

    TempDir m_dir;
    _ConnectionPtr m_connection;
    _RecordsetPtr m_recordset;
};

}  // namespace

TEST_F(AdoRecordset, RecordCountIsExactForStaticAndKeysetCursors) {
    for (bool writable : {false, true}) {
        Open(u"select DomainName from LoginInfo", writable);
        EXPECT_EQ(m_recordset->GetState(), adStateOpen);
        EXPECT_EQ(m_recordset->GetRecordCount(), 3);
        m_recordset->Close();
        Open(u"select DomainName from LoginInfo where DomainName = 'none'", writable);
        EXPECT_EQ(m_recordset->GetRecordCount(), 0);
        EXPECT_TRUE(m_recordset->GetadoEOF());
        m_recordset->Close();
        EXPECT_EQ(m_recordset->GetState(), adStateClosed);
    }
}

TEST_F(AdoRecordset, ValuesByPositionWithTheirTypes) {
    Open(
        u"select LoginInfo.DomainName, ItemNames, FormId from LoginInfo, FormInfo"
        u" where LoginInfo.DomainName = FormInfo.DomainName and ItemNames is null",
        false);
    ASSERT_EQ(m_recordset->GetRecordCount(), 1);
    const CComVariant domain = Value(0);
    ASSERT_EQ(domain.vt, VT_BSTR);
    EXPECT_EQ(std::u16string(domain.bstrVal), u"b.com");
    EXPECT_EQ(Value(1).vt, VT_NULL);
    const CComVariant id = Value(2);
    EXPECT_EQ(id.vt, VT_I4);
    EXPECT_EQ(id.lVal, 2);
    EXPECT_EQ(std::u16string(m_recordset->GetFields()->GetItem(u"formid")->GetName()), u"FormId");
}

TEST_F(AdoRecordset, WalkingPastTheEndAndBadPositionsRaise) {
    Open(u"select FormId from FormInfo order by FormId", false);
    FieldPtr field = m_recordset->GetFields()->GetItem(0);
    EXPECT_EQ(field->GetValue().lVal, 1);
    m_recordset->MoveNext();
    // A Field follows the recordset as it moves.
    EXPECT_EQ(field->GetValue().lVal, 2);
    m_recordset->MoveNext();
    EXPECT_TRUE(m_recordset->GetadoEOF());
    HRESULT code = S_OK;
    ErrorOf([&] { field->GetValue(); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrNoCurrentRecord));
    ErrorOf([&] { m_recordset->MoveNext(); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrNoCurrentRecord));
    ErrorOf([&] { m_recordset->GetFields()->GetItem(1); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrItemNotFound));
    ErrorOf([&] { Open(u"select 1", false); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrObjectOpen));
    m_recordset->Close();
    ErrorOf([&] { m_recordset->GetRecordCount(); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrObjectClosed));
}

TEST_F(AdoRecordset, UpdateWritesAssignedValuesToTheRowsTheyCameFrom) {
    Open(u"SELECT DomainName, ItemValues, AccountName FROM LoginInfo where DomainName = 'a.com'",
         true);
    while (!m_recordset->GetadoEOF()) {
        FieldsPtr fields = m_recordset->GetFields();
        CComVariant account = fields->GetItem(2)->GetValue();
        fields->GetItem(1)->PutValue(CComVariant(u"clear " + std::u16string(account.bstrVal)));
        EXPECT_EQ(std::u16string(fields->GetItem(1)->GetValue().bstrVal),
                  u"clear " + std::u16string(account.bstrVal));
        m_recordset->Update();
        m_recordset->MoveNext();
    }
    m_recordset->Close();
    EXPECT_EQ(Query(m_connection, u"select AccountName, ItemValues from LoginInfo order by rowid"),
              (Rows{{u"one", u"clear one"}, {u"two", u"clear two"}, {u"<null>", u"<null>"}}));
}

TEST_F(AdoRecordset, MovingOffAnEditedRowWritesItAndCloseDropsAnEdit) {
    Open(u"select ItemNames from LoginInfo where AccountName = 'one'", true);
    m_recordset->GetFields()->GetItem(0)->PutValue(CComVariant(u"moved"));
    m_recordset->MoveNext();
    m_recordset->Close();
    Open(u"select ItemNames from LoginInfo where AccountName = 'two'", true);
    m_recordset->GetFields()->GetItem(0)->PutValue(CComVariant(u"dropped"));
    m_recordset->Close();
    EXPECT_EQ(Query(m_connection, u"select ItemNames from LoginInfo where ItemNames is not null"),
              (Rows{{u"moved"}, {u"user"}}));
}

TEST_F(AdoRecordset, DeleteRemovesOnlyTheCurrentRow) {
    Open(u"select formid from forminfo where formurl ='HTTP://B.COM/F'", true);
    ASSERT_EQ(m_recordset->GetRecordCount(), 1);
    m_recordset->Delete(adAffectCurrent);
    HRESULT code = S_OK;
    ErrorOf([&] { Value(0); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrNoCurrentRecord));
    EXPECT_EQ(Query(m_connection, u"select FormUrl from FormInfo"), Rows{{u"http://a.com/f"}});
}

TEST_F(AdoRecordset, ReadOnlyAndJoinedRecordsetsRefuseWrites) {
    Open(u"select DomainName from LoginInfo", false);
    HRESULT code = S_OK;
    ErrorOf([&] { m_recordset->GetFields()->GetItem(0)->PutValue(CComVariant(u"x")); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrFeatureNotAvailable));
    ErrorOf([&] { m_recordset->Delete(adAffectCurrent); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrFeatureNotAvailable));
    m_recordset->Close();
    for (const char16_t* sql : {u"select distinct DomainName from LoginInfo",
                                u"select LoginInfo.DomainName from LoginInfo, FormInfo where"
                                u" LoginInfo.DomainName = FormInfo.DomainName"}) {
        Open(sql, true);
        ErrorOf([&] { m_recordset->Delete(adAffectCurrent); }, &code);
        EXPECT_EQ(code, AdoErrorHresult(adErrFeatureNotAvailable));
        m_recordset->Close();
    }
    EXPECT_EQ(RawScalar(m_dir.File("login.dat"), "select count(*) from LoginInfo"), "3");
}

TEST_F(AdoRecordset, RowWritesFailWhenTheRowIsGone) {
    Open(u"select FormUrl from FormInfo where FormId = 1", true);
    RawExec(m_dir.File("login.dat"), "delete from FormInfo where FormId = 1");
    m_recordset->GetFields()->GetItem(0)->PutValue(CComVariant(u"x"));
    EXPECT_NE(ErrorOf([&] { m_recordset->Update(); }).find(u"Row cannot be located"),
              std::u16string::npos);
    EXPECT_EQ(RawScalar(m_dir.File("login.dat"), "select count(*) from FormInfo"), "1");
}
