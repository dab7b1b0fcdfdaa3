// One Qt widget per dialog control, shown as the model has it and turning
// what the user does into the user acts of the model.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/ui_backend.h"

// Runs one user act on a control; the act returns what made it impossible,
// or an empty text.
using ActRunner = std::function<void(HWND control, const std::function<std::string()>& act)>;

class ControlWidget {
public:
    virtual ~ControlWidget() = default;
    virtual QWidget* widget() = 0;
    // Shows the control's text, state and items as the snapshot has them,
    // without reporting anything back as a user act.
    virtual void Show(const ControlSnapshot& control) = 0;
};

struct ControlContext {
    HWND dialog = nullptr;
    HINSTANCE module = nullptr;  // where icon controls find their image
    QWidget* parent = nullptr;
    ActRunner run;
};

std::unique_ptr<ControlWidget> MakeControlWidget(const ControlSnapshot& control,
                                                 const ControlContext& context);

// A Windows label as Qt shows it: "&&" is an ampersand, a single "&" marks
// the mnemonic (kept for buttons, dropped for plain labels).
QString LabelText(const std::u16string& text, bool keepMnemonic);
