// libFuzzer harness for the tool's import: the input is a file offered for
// import into a fresh local login database, in a private KESTRO_HOME with a
// scripted UI that holds no answers (the import itself must show nothing).
// Whatever the file holds, the import either completes or ends with its
// message, and when it ends with a message the local database is exactly
// as it was.
#include <sqlite3.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/com/class_factory.h"
#include "platform/ui/scripted_backend.h"
#include "platform/win/text.h"
#include "store/crypt_str.h"
#include "tests/fuzz/fuzz_support.h"
#include "tool/login_import.h"

namespace {

std::string g_freshDatabase;  // the bytes of login.dat as the build makes it

std::string BuildFreshDatabase() {
    const std::string path = fuzzing::PrivateDirectory() + "/fresh.dat";
    const std::string script = fuzzing::ReadFile(KESTRO_LOGIN_SQL);
    sqlite3* db = nullptr;
    const bool built = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                       sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!built) fuzzing::Fault("cannot build the local database", KESTRO_LOGIN_SQL);
    return fuzzing::ReadFile(path);
}

// The file and any journal SQLite would take for it.
void PlaceFile(const std::string& path, std::string_view bytes) {
    for (const char* suffix : {"-journal", "-wal", "-shm"}) unlink((path + suffix).c_str());
    fuzzing::WriteFile(path, bytes);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::UsePrivateKestroHome();
    CoInitialize(nullptr);
    g_freshDatabase = BuildFreshDatabase();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string local = fuzzing::PrivateDirectory() + "/Login.dat";
    const std::string source = fuzzing::PrivateDirectory() + "/export.dat";
    PlaceFile(local, g_freshDatabase);
    PlaceFile(source, std::string_view(reinterpret_cast<const char*>(data), size));

    auto backend = std::make_unique<ScriptedBackend>(std::make_unique<QueuedAnswers>(),
                                                     ScriptedBackend::OnFailure::Record);
    ScriptedBackend& ui = *backend;
    std::unique_ptr<UiBackend> previous = InstallUiBackend(std::move(backend));
    CCryptStr crypt;
    const TransferResult result = ImportLoginData(crypt, Utf8ToUtf16(local), Utf8ToUtf16(source));
    if (!ui.Shown().empty()) fuzzing::Fault("the import showed UI", ui.Failure());
    InstallUiBackend(std::move(previous));

    if (!result.Done() && fuzzing::ReadFile(local) != g_freshDatabase)
        fuzzing::Fault("an import that failed changed the local database",
                       Utf16ToUtf8(result.message));
    return 0;
}
