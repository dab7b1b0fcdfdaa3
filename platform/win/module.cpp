#include "platform/win/module.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win/last_error.h"
#include "platform/win/path_nocase.h"
#include "platform/win/system_modules.h"
#include "platform/win/text.h"

struct KestroResourceTable;

// One loaded image. 'image' is the dlopen handle when loadCount > 0; for
// the program and for images found by address it is the image's link map,
// which glibc accepts as a handle, so no reference is held on them. A
// system module has neither image nor link map, only its export table.
struct ModuleRecord {
    void* image = nullptr;
    const void* linkMap = nullptr;
    std::u16string path;
    unsigned loadCount = 0;
    bool attached = false;
    bool program = false;
    bool resourcesLooked = false;
    const KestroResourceTable* resources = nullptr;
    const SystemModule* system = nullptr;
};

namespace {

using ResourceTableFunction = const KestroResourceTable* (*)();

struct ModuleTable {
    std::recursive_mutex mutex;
    std::vector<std::unique_ptr<ModuleRecord>> records;
};

void AddSystemRecords(ModuleTable& table) {
    std::size_t count = 0;
    const SystemModule* modules = SystemModules(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto record = std::make_unique<ModuleRecord>();
        record->path = modules[i].name;
        record->attached = true;
        record->resourcesLooked = true;  // it has none
        record->system = &modules[i];
        table.records.push_back(std::move(record));
    }
}

ModuleTable& Table() {
    static ModuleTable* table = [] {
        auto* created = new ModuleTable;  // outlives static destructors
        AddSystemRecords(*created);
        return created;
    }();
    return *table;
}

const void* LinkMapOfHandle(void* handle) {
    struct link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0) return nullptr;
    return map;
}

const void* LinkMapOfAddress(const void* address, std::string* file = nullptr) {
    Dl_info info;
    struct link_map* map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP)) return nullptr;
    if (file && info.dli_fname) *file = info.dli_fname;
    return map;
}

ModuleRecord* FindRecord(ModuleTable& table, const void* linkMap) {
    if (!linkMap) return nullptr;  // system modules have none
    for (const auto& record : table.records) {
        if (record->linkMap == linkMap) return record.get();
    }
    return nullptr;
}

ModuleRecord* KnownRecord(ModuleTable& table, HMODULE module) {
    for (const auto& record : table.records) {
        if (record.get() == module) return module;
    }
    return nullptr;
}

std::u16string ProgramPath() {
    std::error_code ec;
    return Utf8ToUtf16(std::filesystem::read_symlink("/proc/self/exe", ec).string());
}

ModuleRecord* ProgramRecord(ModuleTable& table) {
    for (const auto& record : table.records) {
        if (record->program) return record.get();
    }
    auto record = std::make_unique<ModuleRecord>();
    record->image = dlopen(nullptr, RTLD_NOW);
    record->linkMap = LinkMapOfHandle(record->image);
    record->path = ProgramPath();
    record->attached = true;
    record->program = true;
    table.records.push_back(std::move(record));
    return table.records.back().get();
}

void RemoveRecord(ModuleTable& table, ModuleRecord* record) {
    std::erase_if(table.records, [record](const auto& r) { return r.get() == record; });
}

// A symbol defined by the record's image itself, not by a library it uses.
void* SymbolOfImage(const ModuleRecord& record, const char* name) {
    void* symbol = dlsym(record.image, name);
    if (!symbol || LinkMapOfAddress(symbol) != record.linkMap) return nullptr;
    return symbol;
}

std::u16string FileNameOf(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

// The name as given, and for "x.dll" also "x.so": binaries carry Linux names.
std::vector<std::u16string> NameVariants(std::u16string_view name) {
    std::vector<std::u16string> variants{std::u16string(name)};
    if (name.size() > 4 && WideEqualsNoCase(name.substr(name.size() - 4), u".dll")) {
        variants.push_back(std::u16string(name.substr(0, name.size() - 4)) + u".so");
    }
    return variants;
}

ModuleRecord* FindLoadedByName(ModuleTable& table, std::u16string_view name) {
    for (const std::u16string& variant : NameVariants(name)) {
        for (const auto& record : table.records) {
            if (WideEqualsNoCase(FileNameOf(record->path), variant)) return record.get();
        }
    }
    return nullptr;
}

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::u16string ProgramFolder() {
    const std::u16string program = ProgramPath();
    return program.substr(0, program.rfind(u'/') + 1);
}

// The file a library name refers to, or empty when there is none.
std::string LocateLibrary(std::u16string_view name) {
    std::vector<std::u16string> candidates;
    if (name.find(u'/') != std::u16string_view::npos) {
        candidates = NameVariants(name);
    } else {
        for (const std::u16string& variant : NameVariants(name)) {
            candidates.push_back(ProgramFolder() + variant);
            candidates.push_back(variant);
        }
    }
    for (const std::u16string& candidate : candidates) {
        const std::string path = ResolvePathNoCase(candidate);
        if (IsRegularFile(path)) return path;
    }
    return {};
}

bool IsElfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    return in && magic[0] == 0x7F && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
}

HMODULE FailLoad(DWORD code) {
    SetLastError(code);
    return nullptr;
}

BOOL CallDllMain(ModuleRecord& record, DWORD reason) {
    const auto entry = reinterpret_cast<DllMainFunction>(SymbolOfImage(record, "DllMain"));
    return entry ? entry(&record, reason, nullptr) : TRUE;
}

// Runs the first DllMain of a record that LoadLibraryW just took a
// reference on; on refusal undoes the load.
HMODULE AttachLoaded(ModuleTable& table, ModuleRecord* record) {
    if (record->attached) return record;
    record->attached = true;
    if (CallDllMain(*record, DLL_PROCESS_ATTACH)) return record;
    CallDllMain(*record, DLL_PROCESS_DETACH);
    void* image = record->image;
    dlclose(image);
    RemoveRecord(table, record);
    return FailLoad(ERROR_DLL_INIT_FAILED);
}

HMODULE LoadFile(ModuleTable& table, const std::string& path) {
    void* image = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!image) return FailLoad(IsElfFile(path) ? ERROR_MOD_NOT_FOUND : ERROR_BAD_EXE_FORMAT);
    const void* linkMap = LinkMapOfHandle(image);
    if (ModuleRecord* existing = FindRecord(table, linkMap)) {
        if (existing->loadCount++ == 0 && !existing->program) {
            existing->image = image;  // this load's reference becomes the record's
        } else {
            dlclose(image);
        }
        return AttachLoaded(table, existing);
    }
    auto record = std::make_unique<ModuleRecord>();
    record->image = image;
    record->linkMap = linkMap;
    std::error_code ec;
    record->path = Utf8ToUtf16(std::filesystem::canonical(path, ec).string());
    if (ec) record->path = Utf8ToUtf16(path);
    record->loadCount = 1;
    table.records.push_back(std::move(record));
    return AttachLoaded(table, table.records.back().get());
}

DWORD CopyModuleName(const std::u16string& path, LPWSTR buffer, DWORD size) {
    if (size == 0 || !buffer) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() < size) {
        path.copy(buffer, path.size());
        buffer[path.size()] = u'\0';
        return static_cast<DWORD>(path.size());
    }
    path.copy(buffer, size - 1);
    buffer[size - 1] = u'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

}  // namespace

HMODULE LoadLibraryW(LPCWSTR fileName) {
    if (!fileName) return FailLoad(ERROR_INVALID_PARAMETER);
    const std::u16string_view name(fileName);
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (name.find(u'/') == std::u16string_view::npos) {
        ModuleRecord* loaded = FindLoadedByName(table, name);
        if (loaded && loaded->system) return loaded;  // never counted, never unloaded
        if (loaded && loaded->loadCount > 0) {
            ++loaded->loadCount;
            return loaded;
        }
    }
    const std::string path = LocateLibrary(name);
    if (path.empty()) return FailLoad(ERROR_MOD_NOT_FOUND);
    return LoadFile(table, path);
}

BOOL FreeLibrary(HMODULE module) {
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    ModuleRecord* record = KnownRecord(table, module);
    if (!record) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if (record->loadCount == 0 || record->program || --record->loadCount > 0) return TRUE;
    if (record->attached) CallDllMain(*record, DLL_PROCESS_DETACH);
    // The record stays findable while the library's destructors run.
    dlclose(record->image);
    RemoveRecord(table, record);
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    ModuleRecord* record = module ? KnownRecord(table, module) : ProgramRecord(table);
    if (!record) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // Names only: an ordinal (a value below 0x10000) names nothing here.
    FARPROC function = nullptr;
    if (reinterpret_cast<ULONG_PTR>(procName) >= 0x10000) {
        function = record->system ? SystemModuleExport(*record->system, procName)
                                  : reinterpret_cast<FARPROC>(SymbolOfImage(*record, procName));
    }
    if (!function) SetLastError(ERROR_PROC_NOT_FOUND);
    return function;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    ModuleRecord* program = ProgramRecord(table);
    if (!moduleName) return program;
    const std::u16string_view name(moduleName);
    ModuleRecord* found = nullptr;
    if (name.find(u'/') == std::u16string_view::npos) {
        found = FindLoadedByName(table, name);
    } else {
        std::error_code ec;
        const std::u16string path =
            Utf8ToUtf16(std::filesystem::weakly_canonical(ResolvePathNoCase(name), ec).string());
        for (const auto& record : table.records) {
            if (WideEqualsNoCase(record->path, path)) found = record.get();
        }
    }
    if (!found) SetLastError(ERROR_MOD_NOT_FOUND);
    return found;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    ModuleRecord* record = module ? KnownRecord(table, module) : ProgramRecord(table);
    if (!record) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    return CopyModuleName(record->path, fileName, size);
}

HMODULE ModuleFromAddress(const void* address) {
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    ModuleRecord* program = ProgramRecord(table);
    std::string file;
    const void* linkMap = address ? LinkMapOfAddress(address, &file) : nullptr;
    if (!linkMap) return FailLoad(ERROR_MOD_NOT_FOUND);
    if (linkMap == program->linkMap) return program;
    if (ModuleRecord* existing = FindRecord(table, linkMap)) return existing;
    auto record = std::make_unique<ModuleRecord>();
    record->image = const_cast<void*>(linkMap);
    record->linkMap = linkMap;
    std::error_code ec;
    record->path = Utf8ToUtf16(std::filesystem::canonical(file, ec).string());
    if (ec) record->path = Utf8ToUtf16(file);
    table.records.push_back(std::move(record));
    return table.records.back().get();
}

bool ModuleResourceTable(HMODULE module, const KestroResourceTable*& resources) {
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    ModuleRecord* record = module ? KnownRecord(table, module) : ProgramRecord(table);
    if (!record) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return false;
    }
    if (!record->resourcesLooked) {
        const auto function = reinterpret_cast<ResourceTableFunction>(
            SymbolOfImage(*record, "KestroModuleResources"));
        record->resources = function ? function() : nullptr;
        record->resourcesLooked = true;
    }
    resources = record->resources;
    return true;
}
