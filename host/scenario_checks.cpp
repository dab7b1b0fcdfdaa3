// The checks of a scenario. Each returns an empty text when it holds, or
// what was found instead.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "host/journal_reader.h"
#include "host/page_reads.h"
#include "host/registry_steps.h"
#include "host/scenario_runner.h"
#include "platform/browser/browser_session.h"
#include "platform/browser/url.h"
#include "platform/win/text.h"

namespace {

std::string Quoted(std::u16string_view text) {
    return QuoteForScript(text);
}

std::string QuotedList(const std::vector<std::u16string>& values) {
    if (values.empty()) return "nothing selected";
    std::string list;
    for (const std::u16string& value : values) list += (list.empty() ? "" : " ") + Quoted(value);
    return list;
}

// The item a label path leads to in a menu as it was shown; null when
// there is no such item.
const MenuItemSnapshot* FindMenuItem(const std::vector<MenuItemSnapshot>& menu,
                                     const std::vector<std::u16string>& path) {
    const std::vector<MenuItemSnapshot>* items = &menu;
    const MenuItemSnapshot* found = nullptr;
    for (const std::u16string& label : path) {
        if (found && !found->popup) return nullptr;
        const auto item = std::find_if(items->begin(), items->end(), [&](const auto& candidate) {
            return !candidate.separator && PlainMenuLabel(candidate.label) == label;
        });
        if (item == items->end()) return nullptr;
        found = &*item;
        items = &found->submenu;
    }
    return found;
}

// Whether the text holds each word, in this order, without overlaps.
bool HoldsInOrder(std::u16string_view text, const std::vector<std::u16string>& words) {
    std::size_t at = 0;
    for (const std::u16string& word : words) {
        const std::size_t found = text.find(word, at);
        if (found == std::u16string_view::npos) return false;
        at = found + word.size();
    }
    return true;
}

bool ReadFile(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string Hex(const std::string& bytes) {
    constexpr std::size_t kShown = 64;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < bytes.size() && i < kShown; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    if (bytes.size() > kShown) hex += "... (" + std::to_string(bytes.size()) + " bytes)";
    return hex.empty() ? "an empty file" : hex;
}

}  // namespace

std::string ScenarioRunner::Check(const ScenarioStep& step) {
    switch (step.kind) {
        case StepKind::ExpectWindows: {
            const std::size_t open = browser::BrowserSession::Instance().WindowCount();
            return open == step.number ? "" : std::to_string(open) + " window(s) open";
        }
        case StepKind::ExpectUrl:
        case StepKind::ExpectTitle:
            return CheckAddress(step);
        case StepKind::ExpectMenu:
            return CheckMenu(step);
        case StepKind::ExpectEffect:
            return CheckEffect(step);
        case StepKind::ExpectFile:
        case StepKind::ExpectBytes:
            return CheckFile(step);
        case StepKind::ExpectRegistry:
            return CheckRegistryValue(step);
        default:
            break;
    }
    browser::PageElement element;
    if (std::string error = FindElement(step.selector, element); !error.empty()) return error;
    std::u16string text;
    bool checked = false;
    std::vector<std::u16string> values;
    std::string error;
    switch (step.kind) {
        case StepKind::ExpectText:
            error = ReadInnerText(element, text);
            if (error.empty() && text != step.text) error = Quoted(text);
            return error;
        case StepKind::ExpectValue:
            error = ReadValue(element, text);
            if (error.empty() && text != step.text) error = Quoted(text);
            return error;
        case StepKind::ExpectChecked:
        case StepKind::ExpectUnchecked:
            error = ReadChecked(element, checked);
            if (error.empty() && checked != (step.kind == StepKind::ExpectChecked))
                error = checked ? "checked" : "unchecked";
            return error;
        case StepKind::ExpectSelected: {
            error = ReadSelectedValues(element, values);
            if (!error.empty()) return error;
            std::vector<std::u16string> expected = step.words;
            std::vector<std::u16string> selected = values;
            std::sort(expected.begin(), expected.end());
            std::sort(selected.begin(), selected.end());
            return expected == selected ? "" : QuotedList(values);
        }
        default:
            return "not a check";
    }
}

std::string ScenarioRunner::CheckAddress(const ScenarioStep& step) const {
    if (!m_window) return "no window is open yet";
    if (!m_window->IsOpen()) return "the window is closed";
    if (step.kind == StepKind::ExpectTitle) {
        const std::u16string title = m_window->Title();
        return title == step.text ? "" : Quoted(title);
    }
    // A path names the file: URL the browser gives it.
    std::u16string expected = ResolveScriptAddress(m_script, step.text);
    if (expected != step.text || step.text.starts_with(u"/"))
        expected = browser::ParseUrl(expected).ToString();
    const std::u16string url = m_window->Url();
    return url == expected ? "" : Quoted(url);
}

std::string ScenarioRunner::CheckMenu(const ScenarioStep& step) const {
    const std::vector<MenuItemSnapshot>* menu = m_ui ? m_ui->LastMenu() : nullptr;
    if (!menu) return "no menu was shown";
    const MenuItemSnapshot* item = FindMenuItem(*menu, step.words);
    const MenuItemState state = !item           ? MenuItemState::Absent
                                : item->enabled ? MenuItemState::Enabled
                                                : MenuItemState::Disabled;
    if (state == step.menuState) return {};
    const char* names[] = {"enabled", "disabled", "absent"};
    return std::string("the item is ") + names[static_cast<int>(state)] +
           "; the last menu shown:\n" + DescribeMenu(*menu);
}

std::string ScenarioRunner::CheckEffect(const ScenarioStep& step) {
    const std::vector<JournalEntry> entries = ReadJournal(m_journalPath);
    for (std::size_t i = m_journalCursor; i < entries.size(); ++i) {
        if (entries[i].kind == step.name && HoldsInOrder(entries[i].text, step.words)) {
            m_journalCursor = i + 1;
            return {};
        }
    }
    std::string found = "no such entry";
    if (m_journalCursor >= entries.size()) return found + " (no entries after the last match)";
    found += "; the entries after the last match:";
    for (std::size_t i = m_journalCursor; i < entries.size(); ++i)
        found += "\n" + Utf16ToUtf8(entries[i].kind) + " " + Quoted(entries[i].text);
    return found;
}

std::string ScenarioRunner::CheckFile(const ScenarioStep& step) const {
    const std::string path = ResolveScriptPath(m_script, Utf16ToUtf8(step.name));
    std::string content;
    if (!ReadFile(path, content)) return "no file " + path;
    if (step.kind == StepKind::ExpectBytes) return content == step.bytes ? "" : Hex(content);
    const std::u16string text = Utf8ToUtf16(content);
    return text == step.text ? "" : Quoted(text);
}
