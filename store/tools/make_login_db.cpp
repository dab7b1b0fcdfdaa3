// Build step: runs the schema script into a fresh database file.
//   make_login_db SCRIPT OUTPUT
// The file is built beside OUTPUT under a temporary name and renamed over it
// only when complete, so an interrupted build never leaves a partial file.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool ReadScript(const char* path, std::string& script) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    script = text.str();
    return true;
}

bool RunScript(const std::string& script, const std::string& databasePath) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(databasePath.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    char* message = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK)
        std::fprintf(stderr, "make_login_db: %s\n", message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return sqlite3_close(db) == SQLITE_OK && rc == SQLITE_OK;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_login_db SCRIPT OUTPUT\n");
        return 2;
    }
    std::string script;
    if (!ReadScript(argv[1], script)) {
        std::fprintf(stderr, "make_login_db: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string output = argv[2];
    const std::string partial = output + ".partial";
    std::remove(partial.c_str());
    std::remove((partial + "-journal").c_str());
    if (!RunScript(script, partial) || std::rename(partial.c_str(), output.c_str()) != 0) {
        std::remove(partial.c_str());
        std::fprintf(stderr, "make_login_db: cannot build %s\n", output.c_str());
        return 1;
    }
    return 0;
}
