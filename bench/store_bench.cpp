// The login store against the raw engines beneath it, in one run:
// - protected text: CCryptStr::EncryptStrW + DecryptStrW of a 20-character
//   value against libsodium's XChaCha20-Poly1305 encrypt + decrypt of the
//   same 40 bytes;
// - CAdoDb::ExecuteSql single-row inserts, each committed, against raw
//   SQLite (prepared insert, one transaction per row, rollback journal,
//   synchronous=FULL, as the provider sets them), in turns in one loop;
// - OpenRecordset over 10,000 rows, materialised and walked;
// - the disk's own write+fsync rate, the ceiling of every commit.
// Files live in a fresh directory under the working directory (a real disk)
// and the data protection key in a fresh KESTRO_HOME inside it. The ratios
// are printed after the table.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sodium.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/win/text.h"
#include "store/ado_db.h"
#include "store/crypt_str.h"
#include "store/login_schema.h"

namespace {

std::string g_directory;

std::string BenchFile(const std::string& name) {
    return g_directory + "/" + name;
}

// A fresh copy of the shipped database.
std::string FreshDatabase(const std::string& name) {
    const std::string path = BenchFile(name);
    std::filesystem::copy_file(KESTRO_LOGIN_DAT, path,
                               std::filesystem::copy_options::overwrite_existing);
    return path;
}

const std::u16string kValue20 = u"correct horse batter";
// As long as the protected text of a short password.
const std::u16string kProtected(300, u'Q');

std::u16string Domain(long row) {
    return u"site" + Utf8ToUtf16(std::to_string(row)) + u".example.com";
}

void BM_CryptStrRoundTrip(benchmark::State& state) {
    CCryptStr crypt;
    std::string text;
    std::u16string plain;
    for (auto _ : state) {
        if (!crypt.EncryptStrW(kValue20, text) || !crypt.DecryptStrW(text, plain)) {
            state.SkipWithError("CCryptStr failed");
            break;
        }
        benchmark::DoNotOptimize(plain);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RawXChaChaRoundTrip(benchmark::State& state) {
    unsigned char key[crypto_aead_xchacha20poly1305_ietf_KEYBYTES];
    crypto_aead_xchacha20poly1305_ietf_keygen(key);
    const unsigned char entropy[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const auto* bytes = reinterpret_cast<const unsigned char*>(kValue20.data());
    const std::size_t size = kValue20.size() * sizeof(char16_t);
    unsigned char nonce[crypto_aead_xchacha20poly1305_ietf_NPUBBYTES];
    unsigned char sealed[64 + crypto_aead_xchacha20poly1305_ietf_ABYTES];
    unsigned char opened[64];
    for (auto _ : state) {
        randombytes_buf(nonce, sizeof nonce);
        unsigned long long sealedSize = 0, openedSize = 0;
        crypto_aead_xchacha20poly1305_ietf_encrypt(sealed, &sealedSize, bytes, size, entropy,
                                                   sizeof entropy, nullptr, nonce, key);
        if (crypto_aead_xchacha20poly1305_ietf_decrypt(opened, &openedSize, nullptr, sealed,
                                                       sealedSize, entropy, sizeof entropy, nonce,
                                                       key) != 0) {
            state.SkipWithError("decrypt failed");
            break;
        }
        benchmark::DoNotOptimize(opened);
    }
    state.SetItemsProcessed(state.iterations());
}

// Raw SQLite as the provider sets it up: rollback journal, synchronous=FULL,
// a busy timeout, one immediate transaction per row.
class RawInserter {
public:
    explicit RawInserter(const std::string& path) {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 10000);
        sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr,
                     nullptr);
        sqlite3_prepare_v2(m_db,
                           "insert into logininput (LoginName, LoginPassword, DomainName) "
                           "values (?, ?, ?)",
                           -1, &m_insert, nullptr);
    }
    ~RawInserter() {
        sqlite3_finalize(m_insert);
        sqlite3_close(m_db);
    }
    RawInserter(const RawInserter&) = delete;
    RawInserter& operator=(const RawInserter&) = delete;

    bool Insert(const std::u16string& name, const std::u16string& password,
                const std::u16string& domain) {
        if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
            return false;
        Bind(1, name);
        Bind(2, password);
        Bind(3, domain);
        const int rc = sqlite3_step(m_insert);
        sqlite3_reset(m_insert);
        if (rc != SQLITE_DONE) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
        return sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    }

private:
    void Bind(int index, const std::u16string& text) {
        sqlite3_bind_text16(m_insert, index, text.data(), static_cast<int>(text.size() * 2),
                            SQLITE_TRANSIENT);
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
};

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Both sides insert in turns within one loop, so a busy moment of the shared
// disk falls on both alike; the order alternates row by row.
void BM_InsertCommit(benchmark::State& state) {
    CAdoDb db;
    if (!db.OpenDb(Utf8ToUtf16(FreshDatabase("ado-insert.dat")))) {
        state.SkipWithError("OpenDb failed");
        return;
    }
    RawInserter raw(FreshDatabase("raw-insert.dat"));
    using Clock = std::chrono::steady_clock;
    Clock::duration adoTime{}, rawTime{};
    long row = 0;
    for (auto _ : state) {
        const std::u16string domain = Domain(row);
        bool ok = true;
        for (int turn = 0; turn < 2; ++turn) {
            const auto start = Clock::now();
            if ((turn + row) % 2 == 0) {
                ok &= db.ExecuteSql(login_schema::kInsertLoginInput,
                                    {kProtected, kProtected, domain});
                adoTime += Clock::now() - start;
            } else {
                ok &= raw.Insert(kProtected, kProtected, domain);
                rawTime += Clock::now() - start;
            }
        }
        ++row;
        if (!ok) {
            state.SkipWithError("insert failed");
            break;
        }
    }
    const double adoRate = row / Seconds(adoTime);
    const double rawRate = row / Seconds(rawTime);
    state.counters["ado_rows/s"] = adoRate;
    state.counters["raw_rows/s"] = rawRate;
    state.counters["ado/raw"] = adoRate / rawRate;
}

constexpr long kReadRows = 10000;

// 10,000 captured logins, written in one transaction.
std::string DatabaseWithLogins() {
    const std::string path = FreshDatabase("read.dat");
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into LoginInfo values (?, 'user\npass', ?, 'https://example.com/"
                       "login', 'pass', ?, ?, NULL)",
                       -1, &insert, nullptr);
    const std::string value(300, 'Q');
    for (long row = 0; row < kReadRows; ++row) {
        const std::string domain = Utf16ToUtf8(Domain(row));
        sqlite3_bind_text(insert, 1, domain.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, value.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, value.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, "account", -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

// The callers' pattern: RecordCount rows, each column by position to text.
void BM_AdoDbOpenRecordsetWalk(benchmark::State& state) {
    CAdoDb db;
    if (!db.OpenDb(Utf8ToUtf16(DatabaseWithLogins()))) {
        state.SkipWithError("OpenDb failed");
        return;
    }
    for (auto _ : state) {
        FieldsPtr fields = db.OpenRecordset(login_schema::kSelectAllLoginInfo, false);
        const long count = fields ? db.m_pRecordset->GetRecordCount() : 0;
        if (count != kReadRows) {
            state.SkipWithError("wrong row count");
            break;
        }
        std::size_t characters = 0;
        for (long row = 0; row < count; ++row) {
            for (int column = 0; column < 7; ++column) {
                CComVariant value = fields->GetItem(CComVariant(column))->GetValue();
                if (value.vt != VT_BSTR && value.vt != VT_NULL) value.ChangeType(VT_BSTR);
                if (value.vt == VT_BSTR) characters += SysStringLen(value.bstrVal);
            }
            db.m_pRecordset->MoveNext();
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * kReadRows);
}

void BM_RawFsync(benchmark::State& state) {
    const std::string path = BenchFile("fsync.bin");
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    char block[4096] = {};
    for (auto _ : state) {
        if (pwrite(fd, block, sizeof block, 0) != sizeof block || fsync(fd) != 0) {
            state.SkipWithError("write or fsync failed");
            break;
        }
    }
    close(fd);
    state.SetItemsProcessed(state.iterations());
}

// Repeated and run interleaved, so that a busy moment of the disk or the
// processor falls on both sides of a ratio alike; ratios use medians.
BENCHMARK(BM_RawFsync)->MinTime(1.0)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_CryptStrRoundTrip)->MinTime(0.5)->Repetitions(5);
BENCHMARK(BM_RawXChaChaRoundTrip)->MinTime(0.5)->Repetitions(5);
BENCHMARK(BM_InsertCommit)->MinTime(3.0)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_AdoDbOpenRecordsetWalk)->MinTime(1.0)->Unit(benchmark::kMillisecond)->Repetitions(5);

// Prints the table as usual and, at the end, each pair's ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.benchmark_name();
            const std::string family = name.substr(0, name.find('/'));
            for (const char* counter : {"items_per_second", "ado_rows/s", "raw_rows/s"}) {
                const auto found = run.counters.find(counter);
                if (found != run.counters.end())
                    m_rates[family + ":" + counter].push_back(found->second.value);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        PrintRatio("CCryptStr round trip / raw XChaCha20-Poly1305",
                   "BM_CryptStrRoundTrip:items_per_second",
                   "BM_RawXChaChaRoundTrip:items_per_second");
        PrintRatio("CAdoDb insert+commit / raw SQLite insert+commit", "BM_InsertCommit:ado_rows/s",
                   "BM_InsertCommit:raw_rows/s");
        PrintRatio("raw SQLite commits / raw fsyncs", "BM_InsertCommit:raw_rows/s",
                   "BM_RawFsync:items_per_second");
    }

private:
    void PrintRatio(const char* label, const std::string& part, const std::string& whole) {
        const double a = Median(part);
        const double b = Median(whole);
        if (a == 0 || b == 0) return;
        std::printf("%-50s %.3f  (median %.0f/s vs %.0f/s)\n", label, a / b, a, b);
    }

    double Median(const std::string& name) {
        std::vector<double>& rates = m_rates[name];
        if (rates.empty()) return 0;
        std::sort(rates.begin(), rates.end());
        return rates[rates.size() / 2];
    }

    std::map<std::string, std::vector<double>> m_rates;
};

}  // namespace

int main(int argc, char** argv) {
    std::string pattern = (std::filesystem::current_path() / "store-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    g_directory = pattern;
    setenv("KESTRO_HOME", BenchFile("home").c_str(), 1);
    if (sodium_init() < 0 || FAILED(CoInitialize(nullptr))) return 1;

    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    CoUninitialize();
    std::error_code ignored;
    std::filesystem::remove_all(g_directory, ignored);
    return 0;
}
