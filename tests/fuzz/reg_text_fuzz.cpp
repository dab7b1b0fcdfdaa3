// libFuzzer harness for the hive text reader: any text is either refused or
// read into a tree that is written out and read back to the same text, the
// promise every hive write relies on. The text is read as each of the
// hives, so the sections of any root can be taken.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/win/registry_reg_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr std::u16string_view kRoots[] = {u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_USER",
                                          u"HKEY_LOCAL_MACHINE"};

void CheckRoundTrip(std::string_view text, std::u16string_view root) {
    const auto tree = ParseRegText(text, root);
    if (!tree) return;
    const std::string written = FormatRegText(*tree, root);
    const auto reread = ParseRegText(written, root);
    if (!reread) fuzzing::Fault("a written hive is refused when read back", written);
    const std::string rewritten = FormatRegText(*reread, root);
    if (rewritten != written)
        fuzzing::Fault("a written hive reads back different", written + "\n----\n" + rewritten);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::u16string_view root : kRoots) CheckRoundTrip(text, root);
    return 0;
}
