#include "platform/webengine/live_input.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWebEngineScript>
#include <algorithm>

#include "platform/browser/form_controls.h"
#include "platform/browser/rendered_text.h"
#include "platform/browser/selection.h"
#include "platform/browser/tag_names.h"
#include "platform/webengine/bridge_script.h"
#include "platform/webengine/event_wait.h"
#include "platform/webengine/live_engine.h"
#include "platform/webengine/live_tab.h"
#include "platform/win/text.h"

namespace webengine {

namespace {

constexpr char kClosed[] = "the window is closed";

bool IsWhite(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == 0xA0;
}

// White space runs as one space, none at the ends: text as the bridge
// compares it.
std::u16string Collapsed(std::u16string_view text) {
    std::u16string out;
    bool space = true;
    for (char16_t c : text) {
        if (IsWhite(c)) {
            if (!space) out.push_back(u' ');
            space = true;
        } else {
            out.push_back(c);
            space = false;
        }
    }
    if (!out.empty() && out.back() == u' ') out.pop_back();
    return out;
}

// The length `prefix` has in the collapsed text of what it starts.
std::size_t CollapsedLength(std::u16string_view prefix) {
    std::size_t length = 0;
    bool space = true;
    for (char16_t c : prefix) {
        if (IsWhite(c)) {
            if (!space) ++length;
            space = true;
        } else {
            ++length;
            space = false;
        }
    }
    return length;
}

std::string Quoted(const QString& text) {
    return "\"" + text.toStdString() + "\"";
}

// Event times in milliseconds. The engine counts presses close in time and
// place as one double-click: each act's pointer starts a double-click
// interval after the last one's, so two acts never make one, without
// waiting for it.
ulong EventTime(bool newGesture) {
    static QElapsedTimer clock;
    static ulong skipped = 0;
    if (!clock.isValid()) clock.start();
    if (newGesture)
        skipped +=
            static_cast<ulong>(QGuiApplication::styleHints()->mouseDoubleClickInterval()) + 1;
    return static_cast<ulong>(clock.elapsed()) + skipped;
}

}  // namespace

LiveInput::LiveInput(LiveTab& tab) : m_tab(&tab) {}

std::string LiveInput::Settle() {
    const auto keep = shared_from_this();
    LiveEngine* engine = LiveEngine::Instance();
    return engine ? engine->Settle() : std::string();
}

std::string LiveInput::Call(const char* function, const QJsonArray& arguments, QJsonValue& result) {
    if (!m_tab) return kClosed;
    auto answer = std::make_shared<std::optional<QString>>();
    m_tab->Page()->runJavaScript(BridgeCallScript(function, arguments),
                                 QWebEngineScript::ApplicationWorld,
                                 [answer](const QVariant& value) { *answer = value.toString(); });
    if (!WaitUntil([&] { return answer->has_value() || !m_tab; }))
        return "the page did not answer within 20 seconds";
    if (!m_tab) return kClosed;
    // The bridge's JSON may be a bare value: read it as a list's item.
    const QJsonDocument parsed =
        QJsonDocument::fromJson(QStringLiteral("[%1]").arg(answer->value_or(QString())).toUtf8());
    result = parsed.isArray() && !parsed.array().isEmpty() ? parsed.array().at(0) : QJsonValue();
    return {};
}

std::string LiveInput::IdOf(const browser::PageElement& target, NodeId& id) const {
    if (!m_tab) return kClosed;
    const PageMirror* mirror = target.document ? m_tab->MirrorOf(*target.document) : nullptr;
    id = mirror && target.element ? mirror->IdOf(*target.element) : 0;
    if (!id)
        return "the element is not in the live page (a frame of another site, or a page "
               "an add-on wrote)";
    return {};
}

std::string LiveInput::AwaitPainted() {
    QElapsedTimer clock;
    clock.start();
    // Each question is a round trip: the page answers between its frames.
    while (true) {
        QJsonValue painted;
        if (std::string error = Call("painted", {}, painted); !error.empty()) return error;
        if (painted.toBool()) return {};
        if (clock.elapsed() > kWaitLimit.count())
            return "the page showed nothing within 20 seconds";
    }
}

std::string LiveInput::PointOf(const browser::PageElement& target, QPointF& point,
                               bool onSelection) {
    NodeId id = 0;
    if (std::string error = IdOf(target, id); !error.empty()) return error;
    if (std::string error = AwaitPainted(); !error.empty()) return error;
    QJsonValue at;
    if (std::string error = Call("pointAt", {static_cast<double>(id), onSelection}, at);
        !error.empty())
        return error;
    const QJsonArray pair = at.toArray();
    if (pair.size() != 2) return "the element is not shown on the page (it has no box)";
    point = QPointF(pair[0].toDouble(), pair[1].toDouble());
    return {};
}

std::string LiveInput::Mouse(QEvent::Type type, QPointF at, Qt::MouseButton button,
                             Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                             bool newGesture) {
    if (!m_tab) return kClosed;
    QWidget* surface = m_tab->View()->focusProxy();
    if (!surface) return "the page's view has nothing to click yet";
    const qreal zoom = m_tab->Page()->zoomFactor();
    const QPointF local(at.x() * zoom, at.y() * zoom);
    QMouseEvent event(type, local, surface->mapToGlobal(local), button, buttons, modifiers);
    event.setTimestamp(EventTime(newGesture));
    QCoreApplication::sendEvent(surface, &event);
    return {};
}

std::string LiveInput::Press(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                             int clicks) {
    // No move first: the add-ons hear of a click alone, as on the embedded
    // engine (a hover is an act of its own).
    std::string error;
    for (int i = 0; i < clicks && error.empty(); ++i) {
        error = Mouse(QEvent::MouseButtonPress, at, button, button, modifiers, i == 0);
        if (error.empty())
            error = Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton, modifiers);
    }
    return error;
}

std::string LiveInput::AwaitPointer(std::size_t before, const std::string& kind) {
    const bool reported = WaitUntil([&] {
        return !m_tab || m_tab->IsClosed() ||
               (m_tab->PointerMessages() > before && m_tab->LastPointerKind() == kind);
    });
    if (!reported) return "the page did not report the " + kind + " within 20 seconds";
    return {};
}

std::string LiveInput::Key(int key, const QString& text) {
    if (!m_tab) return kClosed;
    QWidget* surface = m_tab->View()->focusProxy();
    if (!surface) return "the page's view takes no keys yet";
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(surface, &press);
    QCoreApplication::sendEvent(surface, &release);
    return {};
}

std::string LiveInput::ControlState(NodeId id, QString& value, bool& on) {
    QJsonValue state;
    if (std::string error = Call("control", {static_cast<double>(id)}, state); !error.empty())
        return error;
    const QJsonArray pair = state.toArray();
    if (pair.size() != 2) return "the element is no longer in the page";
    value = pair[0].toString();
    on = pair[1].toInt() != 0;
    return {};
}

std::string LiveInput::Click(const browser::PageElement& target, bool alt) {
    const auto keep = shared_from_this();
    QPointF at;
    if (std::string error = PointOf(target, at); !error.empty()) return error;
    const std::size_t before = m_tab->PointerMessages();
    const Qt::KeyboardModifiers modifiers = alt ? Qt::AltModifier : Qt::NoModifier;
    if (std::string error = Press(at, Qt::LeftButton, modifiers, 1); !error.empty()) return error;
    if (std::string error = AwaitPointer(before, "click"); !error.empty()) return error;
    return Settle();
}

std::string LiveInput::DoubleClick(const browser::PageElement& target, bool alt) {
    const auto keep = shared_from_this();
    QPointF at;
    if (std::string error = PointOf(target, at); !error.empty()) return error;
    const std::size_t before = m_tab->PointerMessages();
    const Qt::KeyboardModifiers modifiers = alt ? Qt::AltModifier : Qt::NoModifier;
    if (std::string error = Press(at, Qt::LeftButton, modifiers, 2); !error.empty()) return error;
    if (std::string error = AwaitPointer(before, "dblclick"); !error.empty()) return error;
    return Settle();
}

std::string LiveInput::RightClick(const browser::PageElement& target) {
    const auto keep = shared_from_this();
    QPointF at;
    if (std::string error = PointOf(target, at, true); !error.empty()) return error;
    const std::size_t before = m_tab->PointerMessages();
    if (std::string error = Press(at, Qt::RightButton, Qt::NoModifier, 1); !error.empty())
        return error;
    // The menu was shown and its command carried out inside the report.
    if (std::string error = AwaitPointer(before, "contextmenu"); !error.empty()) return error;
    return Settle();
}

std::string LiveInput::Hover(const browser::PageElement& target) {
    const auto keep = shared_from_this();
    QPointF at;
    if (std::string error = PointOf(target, at); !error.empty()) return error;
    if (std::string error =
            Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier, true);
        !error.empty())
        return error;
    return Settle();
}

std::string LiveInput::Type(const browser::PageElement& target, std::u16string_view text) {
    const auto keep = shared_from_this();
    NodeId id = 0;
    if (std::string error = IdOf(target, id); !error.empty()) return error;
    if (std::string error = AwaitPainted(); !error.empty()) return error;
    QJsonValue focused;
    if (std::string error = Call("focusControl", {static_cast<double>(id)}, focused);
        !error.empty())
        return error;
    if (!focused.toBool()) return "the element does not take the keyboard";
    // The keyboard goes to the focused view, as when a person clicked into it.
    m_tab->View()->activateWindow();
    m_tab->View()->setFocus(Qt::OtherFocusReason);
    const bool lines = target.element->Is(GUMBO_TAG_TEXTAREA);
    QString expected;
    // Typing replaces the control's text, which focusing selected.
    std::string error = text.empty() ? Key(Qt::Key_Backspace, {}) : std::string();
    for (std::size_t i = 0; i < text.size() && error.empty(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
            if (!lines) continue;  // a text box takes no line breaks
            error = Key(Qt::Key_Return, QStringLiteral("\r"));
            expected += QLatin1Char('\n');
            continue;
        }
        QString typed{QChar(c)};
        if (QChar::isHighSurrogate(c) && i + 1 < text.size()) typed += QChar(text[++i]);
        error = Key(0, typed);
        expected += typed;
    }
    if (!error.empty()) return error;
    // Keys and the bridge's answers travel apart: ask until the page has
    // taken every key.
    QString value;
    bool on = false;
    const bool typed = WaitUntil([&] {
        error = ControlState(id, value, on);
        return !error.empty() || value == expected;
    });
    if (!error.empty()) return error;
    if (!typed) return "the page's value is " + Quoted(value) + " after typing " + Quoted(expected);
    return Settle();
}

std::string LiveInput::SetChecked(const browser::PageElement& target, bool checked) {
    const auto keep = shared_from_this();
    NodeId id = 0;
    if (std::string error = IdOf(target, id); !error.empty()) return error;
    QString value;
    bool on = false;
    if (std::string error = ControlState(id, value, on); !error.empty()) return error;
    if (on == checked) return Settle();
    if (!checked && browser::ControlType(*target.element) == u"radio")
        return "a radio button is unchecked by checking another of its group";
    QPointF at;
    if (std::string error = PointOf(target, at); !error.empty()) return error;
    const std::size_t before = m_tab->PointerMessages();
    if (std::string error = Press(at, Qt::LeftButton, Qt::NoModifier, 1); !error.empty())
        return error;
    if (std::string error = AwaitPointer(before, "click"); !error.empty()) return error;
    if (std::string error = ControlState(id, value, on); !error.empty()) return error;
    if (on != checked) return "the page kept the box as it was";
    return Settle();
}

std::string LiveInput::Choose(const browser::PageElement& target,
                              const std::vector<std::u16string>& values) {
    const auto keep = shared_from_this();
    NodeId id = 0;
    if (std::string error = IdOf(target, id); !error.empty()) return error;
    QJsonArray wanted;
    for (const std::u16string& value : values) wanted.append(QString::fromStdU16String(value));
    QJsonValue chosen;
    if (std::string error = Call("choose", {static_cast<double>(id), wanted}, chosen);
        !error.empty())
        return error;
    if (!chosen.toBool()) return "the list is no longer in the page";
    return Settle();
}

std::string LiveInput::Select(const browser::PageElement& target, std::optional<std::size_t> from,
                              std::optional<std::size_t> to) {
    const auto keep = shared_from_this();
    NodeId id = 0;
    if (std::string error = IdOf(target, id); !error.empty()) return error;
    if (!from && !to && browser::IsSelectableControl(*target.element)) {
        QJsonValue focused;
        if (std::string error = Call("focusControl", {static_cast<double>(id)}, focused);
            !error.empty())
            return error;
        return Settle();
    }
    // The text a person drags over: as the model counts it.
    const std::u16string whole = browser::RenderedText(*target.element);
    std::size_t first = std::min(from.value_or(0), whole.size());
    std::size_t last = std::min(to.value_or(whole.size()), whole.size());
    if (first > last) std::swap(first, last);
    const std::u16string wanted = Collapsed(std::u16string_view(whole).substr(first, last - first));
    if (wanted.empty()) return Unselect();
    if (std::string error = AwaitPainted(); !error.empty()) return error;
    QJsonValue ends;
    const QJsonArray arguments{static_cast<double>(id), QString::fromStdU16String(wanted),
                               static_cast<double>(CollapsedLength(whole.substr(0, first)))};
    if (std::string error = Call("dragOver", arguments, ends); !error.empty()) return error;
    const QJsonArray points = ends.toArray();
    if (points.size() != 4) return "the text is not shown on the page";
    const QPointF start(points[0].toDouble(), points[1].toDouble());
    const QPointF end(points[2].toDouble(), points[3].toDouble());
    std::string error = Mouse(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton, {}, true);
    if (error.empty())
        error = Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton, {});
    if (error.empty()) error = Mouse(QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton, {});
    if (error.empty())
        error = Mouse(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton, {});
    if (!error.empty()) return error;
    QJsonValue selected;
    const QString expected = QString::fromStdU16String(wanted);
    const bool done = WaitUntil([&] {
        error = Call("selectedText", {}, selected);
        return !error.empty() || selected.toString() == expected;
    });
    if (!error.empty()) return error;
    if (!done)
        return "the page selected " + Quoted(selected.toString()) + " instead of " +
               Quoted(expected);
    return Settle();
}

std::string LiveInput::Unselect() {
    const auto keep = shared_from_this();
    QJsonValue done;
    if (std::string error = Call("unselect", {}, done); !error.empty()) return error;
    return Settle();
}

}  // namespace webengine
