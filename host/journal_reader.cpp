#include "host/journal_reader.h"

#include <fstream>

#include "platform/win/text.h"

std::u16string UnescapeJournalField(std::string_view field) {
    std::string plain;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            plain += field[i];
            continue;
        }
        switch (field[++i]) {
            case 't':
                plain += '\t';
                break;
            case 'n':
                plain += '\n';
                break;
            case 'r':
                plain += '\r';
                break;
            case '\\':
                plain += '\\';
                break;
            default:  // not written by the journal: kept as it stands
                plain += '\\';
                plain += field[i];
        }
    }
    return Utf8ToUtf16(plain);
}

std::vector<JournalEntry> ReadJournal(const std::string& path) {
    std::vector<JournalEntry> entries;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        entries.push_back({UnescapeJournalField(std::string_view(line).substr(0, tab)),
                           UnescapeJournalField(std::string_view(line).substr(tab + 1))});
    }
    return entries;
}
