// The control kinds of the dialog manager, made by MakeControl.
#pragma once

#include <memory>

#include "platform/ui/window_record.h"

std::unique_ptr<Control> MakeButtonControl();
std::unique_ptr<Control> MakeEditControl();
std::unique_ptr<Control> MakeComboBoxControl();
std::unique_ptr<Control> MakeListBoxControl();
std::unique_ptr<Control> MakeTrackbarControl();
std::unique_ptr<Control> MakeListViewControl();
