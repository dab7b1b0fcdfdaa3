// libFuzzer harness for registrar scripts: each input is registered and, when
// that succeeds, unregistered, on empty hives in a private KESTRO_HOME. A
// script the registrar refuses as malformed must not have written anything.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/registrar.h"
#include "platform/win/registry_hive.h"
#include "platform/win/text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr RegistryRoot kRoots[] = {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser,
                                   RegistryRoot::LocalMachine};

void EmptyHives() {
    for (const RegistryRoot root : kRoots) unlink(RegistryHivePath(root).c_str());
}

bool AnyHiveWritten() {
    for (const RegistryRoot root : kRoots)
        if (access(RegistryHivePath(root).c_str(), F_OK) == 0) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::UsePrivateKestroHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string script =
        Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
    EmptyHives();
    CRegObject registrar;
    // A module path with a quote and blanks, as real install paths may have.
    registrar.AddReplacement(u"MODULE", u"/opt/it's mine/Farrow.so");
    registrar.AddReplacement(u"APPID", u"{D1A8E3B0-52C4-4B8A-9E57-2F3C1B7A9E01}");
    const HRESULT hr = registrar.StringRegister(script);
    if (hr == DISP_E_EXCEPTION && AnyHiveWritten())
        fuzzing::Fault("a script refused as malformed changed the registry");
    if (SUCCEEDED(hr)) registrar.StringUnregister(script);
    return 0;
}
