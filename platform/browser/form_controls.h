// Form controls: their kinds, owners and live state (values, checked
// states, selected options), changed only through these functions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/browser/document_tree.h"

namespace browser {

// Gives every control its state from its attributes, as a fresh page does.
void InitialiseControls(DocumentTree& tree);

bool IsFormControl(const Node& element);  // input, button, select, textarea...
// The type as the classic browser reports it: lower case, "text" for
// missing or unknown input types; "select-one"/"select-multiple";
// "textarea"; "submit"/"button"/"reset" for buttons.
std::u16string ControlType(const Node& element);
std::u16string ControlName(const Node& element);

// The form a control belongs to: its form="" attribute's form, else the
// nearest enclosing FORM; nullptr when none.
Node* FormOwner(const Node& control, const DocumentTree& tree);
// The form's listed controls in document order (its "elements").
std::vector<Node*> FormElements(const Node& form, const DocumentTree& tree);
// Elements of the form with the tag name ("*" for all) in document order.
std::vector<Node*> FormElementsByTag(const Node& form, const DocumentTree& tree,
                                     std::u16string_view tagName);

// Value of an input, option, select (first selected option) or text area.
std::u16string ControlValue(const Node& element);
// Sets an input's or text area's value; for a select, selects the first
// option with that value (none when no option has it).
void SetControlValue(Node& element, std::u16string_view value);

bool IsChecked(const Node& input);
// Checking a radio button unchecks the others of its group.
void SetChecked(Node& input, bool checked, const DocumentTree& tree);

std::vector<Node*> SelectOptions(const Node& select);
bool IsMultipleSelect(const Node& select);
bool IsSelected(const Node& option);
// In a single-choice list selecting one option deselects the others.
void SetSelected(Node& option, bool selected);
Node* EnclosingSelect(const Node& option);

}  // namespace browser
