// The acts and checks of a scenario script, parsed from one split line
// (answer_script.h does the splitting and quoting for every line of a
// script, answers included). SEL is a selector as BrowserWindow takes it
// ("SEL" or "frame N >> SEL"); a selector with blanks is quoted.
//
// Acts:
//   map HOST DIR            open URL               window N
//   type SEL TEXT           check SEL              uncheck SEL
//   choose SEL VALUE...     click SEL [alt]        dblclick SEL [alt]
//   hover SEL               select SEL [FROM TO]   unselect
//   rightclick SEL          close
//   registry set KEY NAME dword|sz VALUE
//   registry delete KEY [NAME]
//   wait speech
// Checks:
//   expect text SEL TEXT    expect value SEL TEXT  expect checked SEL
//   expect unchecked SEL    expect selected SEL VALUE...
//   expect windows N        expect url URL         expect title TEXT
//   expect menu LABEL>LABEL... enabled|disabled|absent
//   expect effect KIND TEXT...                     expect file PATH TEXT
//   expect bytes PATH HEX   expect registry KEY NAME VALUE|absent
//
// A last TEXT, URL, DIR, PATH or VALUE argument may be written unquoted: it
// is then the rest of the line. Words that are lists (VALUE... of choose
// and selected, TEXT... of expect effect, HEX) are one word each.
//
// Registry steps work on the run's hives. KEY is the whole path with its
// root as Windows spells it (HKEY_LOCAL_MACHINE\..., HKEY_CURRENT_USER\...,
// HKEY_CLASSES_ROOT\...), quoted when it holds blanks (inside quotes \n,
// \r, \t and \\ are escapes: write \\ for a backslash before n, r or t).
// NAME @ (or "") is the key's default value. A dword VALUE is decimal or
// 0x hex. registry delete without NAME deletes the whole key. expect
// registry compares a REG_DWORD as a decimal number and a string as text;
// `absent` holds when the value or its key does not exist.
//
// wait speech returns once every speech voice of the process is done, and
// fails after a minute naming the voices still speaking.
#pragma once

#include <cstddef>
#include <cstdint>
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
    RegistrySet,
    RegistryDelete,
    WaitSpeech,
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
    ExpectRegistry,
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
    // registry: KEY; NAME ("" the default value; none: the whole key);
    // set: the type and a dword's value (a string's is `text`); expect:
    // VALUE in `text`, or absent
    std::u16string key;
    std::optional<std::u16string> valueName;
    bool dword = false;
    std::uint32_t number32 = 0;
    bool absent = false;
};

// Checks start with "expect"; they may also stand between answers.
bool IsCheckLine(const ScriptLine& line);
bool IsCheck(StepKind kind);
// False with the expected form when the line is not a well-formed act or
// check.
bool ParseScenarioStep(const ScriptLine& line, ScenarioStep& step, std::string& error);
