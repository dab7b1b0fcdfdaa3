// The lines of a scenario script, kept whole so that answers and checks
// can be read in the middle of a step, and the folder its relative paths
// resolve against (the script's own folder; the working directory for a
// script read from standard input).
#pragma once

#include <istream>
#include <string>
#include <vector>

struct ScenarioLine {
    int number = 0;    // from 1
    std::string text;  // as written (UTF-8), without the line break
};

struct ScenarioScript {
    std::vector<ScenarioLine> lines;
    std::string folder;  // absolute, without a trailing slash
};

// False when the file cannot be read.
bool LoadScenarioScript(const std::string& path, ScenarioScript& script);
ScenarioScript ReadScenarioScript(std::istream& in, const std::string& folder);

// A path as the script means it: absolute paths stay, others are taken
// from the script's folder.
std::string ResolveScriptPath(const ScenarioScript& script, const std::string& path);
// An address as the script means it: one with a scheme ("http:", "file:",
// "about:") stays, anything else is a path.
std::u16string ResolveScriptAddress(const ScenarioScript& script, const std::u16string& address);
