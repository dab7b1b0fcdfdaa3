// A user's acts on a live tab (page_input.h), through its view: the
// pointer and the keyboard go to Chromium as a person's would, at the
// place the bridge finds for the element, so the page's own handlers, the
// add-ons' events and the default actions follow as on screen. Each act
// waits for the page to report its pointer event, then for everything it
// started (LiveEngine::Settle).
//
// Choosing options of a list, a control's own selection and clearing the
// selection go through the page's DOM instead (the bridge), with the
// events a page sees for them.
#pragma once

#include <QEvent>
#include <QJsonArray>
#include <QJsonValue>
#include <QPointF>
#include <QPointer>
#include <memory>

#include "platform/browser/page_input.h"
#include "platform/webengine/page_mirror.h"

namespace webengine {

class LiveTab;

class LiveInput final : public browser::PageInput, public std::enable_shared_from_this<LiveInput> {
public:
    explicit LiveInput(LiveTab& tab);

    std::string Type(const browser::PageElement& target, std::u16string_view text) override;
    std::string SetChecked(const browser::PageElement& target, bool checked) override;
    std::string Choose(const browser::PageElement& target,
                       const std::vector<std::u16string>& values) override;
    std::string Click(const browser::PageElement& target, bool alt) override;
    std::string DoubleClick(const browser::PageElement& target, bool alt) override;
    std::string Hover(const browser::PageElement& target) override;
    std::string Select(const browser::PageElement& target, std::optional<std::size_t> from,
                       std::optional<std::size_t> to) override;
    std::string Unselect() override;
    std::string RightClick(const browser::PageElement& target) override;
    std::string Settle() override;

private:
    // The bridge's answer to a call; an error text when it gave none.
    std::string Call(const char* function, const QJsonArray& arguments, QJsonValue& result);
    std::string IdOf(const browser::PageElement& target, NodeId& id) const;
    // Waits until the page has shown a frame: Chromium drops a new page's
    // input before that.
    std::string AwaitPainted();
    // Where the pointer goes for the element, in the top viewport; with
    // onSelection over the text selected in it, if any.
    std::string PointOf(const browser::PageElement& target, QPointF& point,
                        bool onSelection = false);
    // newGesture: the first event of an act's pointer (see EventTime).
    std::string Mouse(QEvent::Type type, QPointF at, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                      bool newGesture = false);
    // A press and release; `clicks` of them in a row.
    std::string Press(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                      int clicks);
    // Waits until the page has reported a pointer event of this kind
    // after the first `before` (or the tab has closed).
    std::string AwaitPointer(std::size_t before, const std::string& kind);
    std::string Key(int key, const QString& text);
    std::string ControlState(NodeId id, QString& value, bool& on);

    QPointer<LiveTab> m_tab;
};

}  // namespace webengine
