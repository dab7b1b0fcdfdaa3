// The acts and checks of a scenario script, parsed from one split line
// (answer_script.h does the splitting and quoting for every line of a
// script, answers included). SEL is a selector as BrowserWindow takes it
// ("SEL" or "frame N >> SEL"); a selector with blanks is quoted.
//
// A last TEXT, URL, DIR or PATH argument may be written unquoted: it is
// then the rest of the line. Words that are lists (VALUE..., TEXT... of
// expect effect, HEX) are one word each.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/answer_script.h"

enum class StepKind {
    // acts
    Map,
    Open,
    Window,
    Type,
    Check,
    Uncheck,
    Choose,
    Click,
    DoubleClick,
    Hover,
    Select,
    Unselect,
    RightClick,
    Close,
    // checks
    ExpectText,
    ExpectValue,
    ExpectChecked,
    ExpectUnchecked,
    ExpectSelected,
    ExpectWindows,
    ExpectUrl,
    ExpectTitle,
    ExpectMenu,
    ExpectEffect,
    ExpectFile,
    ExpectBytes,
};

enum class MenuItemState { Enabled, Disabled, Absent };

struct ScenarioStep {
    StepKind kind = StepKind::Open;
    std::u16string selector;  // SEL
    std::u16string name;      // map: HOST; effect: KIND; file, bytes: PATH
    std::u16string text;      // TEXT, URL, DIR
    // choose, selected: VALUE...; effect: TEXT...; menu: the label path
    std::vector<std::u16string> words;
    std::size_t number = 0;  // window N, windows N
    std::optional<std::size_t> from, to;
    bool alt = false;
    MenuItemState menuState = MenuItemState::Enabled;
    std::string bytes;  // expect bytes
};

// Checks start with "expect"; they may also stand between answers.
bool IsCheckLine(const ScriptLine& line);
bool IsCheck(StepKind kind);
// False with the expected form when the line is not a well-formed act or
// check.
bool ParseScenarioStep(const ScriptLine& line, ScenarioStep& step, std::string& error);
