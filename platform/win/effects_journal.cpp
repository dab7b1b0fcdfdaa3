#include "platform/win/effects_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "platform/win/text.h"

namespace {

std::mutex& JournalMutex() {
    static std::mutex m;
    return m;
}

void WriteAll(int fd, const std::string& line) {
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

std::string EscapeJournalField(std::u16string_view field) {
    return Utf16ToUtf8(EscapeBackslashed(field, false));
}

void JournalEffect(std::u16string_view kind, std::u16string_view text) {
    const char* path = std::getenv("KESTRO_JOURNAL");
    if (!path || !*path) return;
    const std::string line = EscapeJournalField(kind) + '\t' + EscapeJournalField(text) + '\n';
    std::lock_guard lock(JournalMutex());
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    WriteAll(fd, line);
    ::close(fd);
}
