#include "platform/ui/qt/text_fit.h"

#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

#include "platform/ui/control_messages.h"
#include "platform/ui/qt/dialog_view.h"
#include "platform/win/text.h"

namespace {

// Buttons draw their label inside a raised edge and the focus frame.
constexpr int kButtonFrame = 3;
// Group boxes start their title this far from the left edge.
constexpr int kGroupTitleIndent = 8;

struct PlacedControl {
    ControlSnapshot control;
    QWidget* widget = nullptr;
    QString text;     // as drawn, mnemonic marks removed
    QRect room;       // where the text may go, in dialog pixels
    int flags = 0;    // Qt alignment and wrapping of the text
    QRect footprint;  // what the control paints, in dialog pixels
};

bool ShowsText(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static:
        case ControlKind::GroupBox:
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            return true;
        default:
            return false;
    }
}

bool IsTickBox(ControlKind kind) {
    return kind == ControlKind::CheckBox || kind == ControlKind::RadioButton;
}

int TextFlags(const ControlSnapshot& control) {
    switch (control.kind) {
        case ControlKind::Static: {
            const DWORD align = control.style & 0x3;
            return Qt::TextWordWrap | Qt::AlignTop |
                   (align == SS_CENTER ? Qt::AlignHCenter
                    : align == 0x2     ? Qt::AlignRight
                                       : Qt::AlignLeft);
        }
        case ControlKind::GroupBox:
            return Qt::AlignLeft | Qt::AlignTop;
        default: {
            const int wrap = (control.style & BS_MULTILINE) ? Qt::TextWordWrap : 0;
            return wrap | Qt::AlignVCenter |
                   (IsTickBox(control.kind) ? Qt::AlignLeft : Qt::AlignHCenter);
        }
    }
}

// The box of a check box or radio button and the gap after it.
int TickBoxWidth(const QWidget& widget, ControlKind kind) {
    const bool radio = kind == ControlKind::RadioButton;
    QStyle* style = widget.style();
    return style->pixelMetric(
               radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr,
               &widget) +
           style->pixelMetric(
               radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing,
               nullptr, &widget);
}

QRect TextRoom(const ControlSnapshot& control, const QWidget& widget) {
    const QRect place = widget.geometry();
    switch (control.kind) {
        case ControlKind::Static:
            return place;
        case ControlKind::GroupBox:  // the title, on the frame's top line
            return place.adjusted(kGroupTitleIndent, 0, -kGroupTitleIndent, 0);
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            return place.adjusted(TickBoxWidth(widget, control.kind), 0, 0, 0);
        default:
            return place.adjusted(kButtonFrame, kButtonFrame, -kButtonFrame, -kButtonFrame);
    }
}

// Where the text lands in its room, clipped as the control clips it.
QRect TextArea(const PlacedControl& placed) {
    if (placed.text.isEmpty()) return {};
    const QFontMetrics metrics(placed.widget->font());
    return metrics.boundingRect(placed.room, placed.flags, placed.text) & placed.room;
}

QRect Footprint(const PlacedControl& placed) {
    const QRect place = placed.widget->geometry();
    switch (placed.control.kind) {
        case ControlKind::Static:
        case ControlKind::GroupBox:  // its frame is meant to surround others
            return TextArea(placed);
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            return QRect(place.left(), place.top(), placed.room.left() - place.left(),
                         place.height()) |
                   TextArea(placed);
        default:
            return place;
    }
}

std::string Name(const PlacedControl& placed) {
    std::u16string text = placed.text.toStdU16String();
    for (char16_t& c : text)
        if (c == u'\n' || c == u'\r') c = u' ';
    if (text.size() > 40) text = text.substr(0, 37) + u"...";
    return "control " + std::to_string(placed.control.id) + " \"" + Utf16ToUtf8(text) + "\"";
}

std::vector<PlacedControl> VisibleControls(const DialogView& view) {
    std::vector<PlacedControl> placed;
    for (const ControlSnapshot& control : SnapshotDialog(view.handle()).controls) {
        QWidget* widget = view.ControlWidgetOf(control.handle);
        if (!control.visible || !widget) continue;
        PlacedControl entry;
        entry.control = control;
        entry.widget = widget;
        if (ShowsText(control.kind)) {
            entry.text = LabelText(control.text, false);
            entry.room = TextRoom(control, *widget);
            entry.flags = TextFlags(control);
        }
        entry.footprint = Footprint(entry);
        placed.push_back(std::move(entry));
    }
    return placed;
}

// What the text needs beyond its room, or empty.
std::string Shortfall(const PlacedControl& placed) {
    if (placed.text.isEmpty()) return {};
    const QFontMetrics metrics(placed.widget->font());
    const int topFlags = (placed.flags & ~Qt::AlignVertical_Mask) | Qt::AlignTop;
    const QRect unlimited(placed.room.left(), placed.room.top(), placed.room.width(), 1 << 20);
    const QRect needed = metrics.boundingRect(unlimited, topFlags, placed.text);
    if (needed.width() > placed.room.width()) {
        return "needs " + std::to_string(needed.width()) + " px of width, has " +
               std::to_string(placed.room.width());
    }
    if (needed.height() > placed.room.height()) {
        return "needs " + std::to_string(needed.height()) + " px of height, has " +
               std::to_string(placed.room.height());
    }
    return {};
}

}  // namespace

std::vector<std::string> TextThatDoesNotFit(const DialogView& view) {
    std::vector<std::string> findings;
    const std::vector<PlacedControl> controls = VisibleControls(view);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const PlacedControl& one = controls[i];
        if (const std::string shortfall = Shortfall(one); !shortfall.empty())
            findings.push_back(Name(one) + ": the text " + shortfall);
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const PlacedControl& other = controls[j];
            if (one.text.isEmpty() && other.text.isEmpty()) continue;
            if (one.footprint.intersects(other.footprint))
                findings.push_back(Name(one) + " and " + Name(other) + " overlap");
        }
    }
    return findings;
}

bool EveryTextHasRoom(const DialogView& view) {
    for (const PlacedControl& placed : VisibleControls(view)) {
        if (!Shortfall(placed).empty()) return false;
    }
    return true;
}
