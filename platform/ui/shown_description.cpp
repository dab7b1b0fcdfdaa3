// Texts describing what the scripted backend showed, in the words of the
// answer script (labels, control ids, quoted texts).
#include <string>

#include "platform/ui/message_box.h"
#include "platform/ui/scripted_backend.h"
#include "platform/win/text.h"

namespace {

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Window:
            return "window";
        case ControlKind::Static:
            return "static";
        case ControlKind::GroupBox:
            return "group box";
        case ControlKind::Icon:
            return "icon";
        case ControlKind::PushButton:
            return "push button";
        case ControlKind::DefPushButton:
            return "default push button";
        case ControlKind::CheckBox:
            return "check box";
        case ControlKind::RadioButton:
            return "radio button";
        case ControlKind::Edit:
            return "edit";
        case ControlKind::ComboBox:
            return "combo box";
        case ControlKind::ListBox:
            return "list box";
        case ControlKind::Trackbar:
            return "trackbar";
        case ControlKind::ListView:
            return "list view";
    }
    return "control";
}

std::string QuotedList(const std::vector<std::u16string>& texts, const char* separator) {
    std::string joined;
    for (const std::u16string& text : texts) {
        if (!joined.empty()) joined += separator;
        joined += QuoteForScript(text);
    }
    return joined;
}

std::string DescribeControl(const ControlSnapshot& control) {
    std::string line = "  " +
                       (control.id == IDC_STATIC ? std::string("-") : std::to_string(control.id)) +
                       " " + KindName(control.kind) + " " + QuoteForScript(control.text);
    if ((control.kind == ControlKind::CheckBox || control.kind == ControlKind::RadioButton) &&
        control.check) {
        line += " ticked";
    }
    if (!control.enabled) line += " disabled";
    if (!control.visible) line += " hidden";
    if (control.kind == ControlKind::ComboBox || control.kind == ControlKind::ListBox) {
        line += " items [" + QuotedList(control.items, ", ") + "] selected " +
                std::to_string(control.selected);
    }
    if (control.kind == ControlKind::Trackbar) {
        line += " at " + std::to_string(control.position) + " of " +
                std::to_string(control.rangeMin) + ".." + std::to_string(control.rangeMax);
    }
    if (control.kind == ControlKind::ListView) {
        line += " columns [" + QuotedList(control.columns, ", ") + "] selected " +
                std::to_string(control.selected);
        for (std::size_t i = 0; i < control.rows.size(); ++i) {
            line += "\n    row " + std::to_string(i) + ": " + QuotedList(control.rows[i], " | ");
        }
    }
    return line + "\n";
}

void DescribeMenuItems(const std::vector<MenuItemSnapshot>& items, const std::string& indent,
                       std::string& text) {
    for (const MenuItemSnapshot& item : items) {
        if (item.separator) {
            text += indent + "----\n";
            continue;
        }
        text += indent + QuoteForScript(item.label);
        if (!item.popup) text += " (" + std::to_string(item.id) + ")";
        if (!item.enabled) text += " disabled";
        if (item.checked) text += " checked";
        text += "\n";
        if (item.popup) DescribeMenuItems(item.submenu, indent + "  ", text);
    }
}

const char* IconName(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            return " error icon";
        case MB_ICONQUESTION:
            return " question icon";
        case MB_ICONEXCLAMATION:
            return " exclamation icon";
        case MB_ICONINFORMATION:
            return " information icon";
        default:
            return "";
    }
}

const char* ButtonNames(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return "OK Cancel";
        case MB_YESNOCANCEL:
            return "Yes No Cancel";
        case MB_YESNO:
            return "Yes No";
        default:
            return "OK";
    }
}

}  // namespace

std::string DescribeDialog(const DialogSnapshot& dialog) {
    std::string text = "dialog " + QuoteForScript(dialog.title) + "\n";
    for (const ControlSnapshot& control : dialog.controls) text += DescribeControl(control);
    return text;
}

std::string DescribeMenu(const std::vector<MenuItemSnapshot>& menu) {
    std::string text = "menu\n";
    DescribeMenuItems(menu, "  ", text);
    return text;
}

std::string DescribeShown(const ShownThing& shown) {
    switch (shown.kind) {
        case ShownThing::Kind::Dialog:
            return DescribeDialog(shown.dialog);
        case ShownThing::Kind::MessageBox:
            return "message " + QuoteForScript(shown.message.title) + " " +
                   QuoteForScript(shown.message.text) + " buttons " +
                   ButtonNames(shown.message.type) + IconName(shown.message.type) + "\n";
        case ShownThing::Kind::Menu:
            return DescribeMenu(shown.menu);
        case ShownThing::Kind::FileChooser:
            return std::string(shown.file.save ? "save" : "open") + " file chooser " +
                   QuoteForScript(shown.file.title) + " at " +
                   QuoteForScript(shown.file.initialPath) + "\n";
        case ShownThing::Kind::FolderChooser:
            return "folder chooser " + QuoteForScript(shown.folder.title) + "\n";
        case ShownThing::Kind::Print:
            return "print dialog for " + QuoteForScript(shown.printTitle) + "\n";
    }
    return {};
}
