// Text in the ANSI code page, as the text files of the add-on hold it when
// they are not UTF-16.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

// Bytes of text in the ANSI code page.
class AnsiBytes {
public:
    AnsiBytes(std::unique_ptr<char[]> data, std::size_t size)
        : m_data(std::move(data)), m_size(size) {}
    std::string_view View() const { return {m_data.get(), m_size}; }

private:
    std::unique_ptr<char[]> m_data;
    std::size_t m_size;
};

// The text's bytes in the ANSI code page when the whole text converts to
// them and back unchanged; nothing when a character does not survive (it
// would be saved as the code page's default character) and for an empty
// text, which needs UTF-16 to be saved at all.
std::optional<AnsiBytes> AnsiBytesOf(std::u16string_view text);
