// Helper process for the sharing and crash tests, working through CAdoDb:
//   login_db_writer insert DB PREFIX COUNT
//     inserts LoginInput rows PREFIX0, PREFIX1, ... one statement each and
//     writes each domain and a line feed to standard output as soon as its
//     ExecuteSql returned true;
//   login_db_writer count DB
//     writes the number of LoginInput rows.
// Exits 0 on success, 1 with the error text on standard error otherwise.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win/text.h"
#include "store/ado_db.h"
#include "store/login_schema.h"

namespace {

bool WriteAll(const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

int Fail(const std::u16string& error) {
    std::fprintf(stderr, "login_db_writer: %s\n", Utf16ToUtf8(error).c_str());
    return 1;
}

int Insert(CAdoDb& db, const std::string& prefix, long count) {
    for (long i = 0; i < count; ++i) {
        const std::string domain = prefix + std::to_string(i);
        if (!db.ExecuteSql(login_schema::kInsertLoginInput,
                           {u"name", u"password", Utf8ToUtf16(domain)}))
            return Fail(db.m_strError);
        if (!WriteAll(domain + "\n")) return 1;
    }
    return 0;
}

int Count(CAdoDb& db) {
    FieldsPtr fields = db.OpenRecordset(login_schema::kSelectAllLoginInput, false);
    if (!db.m_strError.empty()) return Fail(db.m_strError);
    const long count = fields ? db.m_pRecordset->GetRecordCount() : 0;
    return WriteAll(std::to_string(count) + "\n") ? 0 : 1;
}

int Run(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    CAdoDb db;
    if (mode == "insert" && argc == 5) {
        if (!db.OpenDb(Utf8ToUtf16(argv[2]))) return Fail(db.m_strError);
        return Insert(db, argv[3], std::atol(argv[4]));
    }
    if (mode == "count" && argc == 3) {
        if (!db.OpenDb(Utf8ToUtf16(argv[2]))) return Fail(db.m_strError);
        return Count(db);
    }
    std::fprintf(stderr, "usage: login_db_writer insert DB PREFIX COUNT | count DB\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    CoInitialize(nullptr);
    const int code = Run(argc, argv);
    CoUninitialize();
    return code;
}
