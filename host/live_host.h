// kestro-host on the live engine: the browser window on screen, a page
// rendered to a picture, and the engine scenarios run on.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct LiveHostOptions {
    std::vector<std::pair<std::string, std::string>> hosts;  // virtual host, folder
    std::string url;                                         // the first page
    std::string screenshot;                                  // PNG path: render and exit
    // With a screenshot: the element to right-click and the submenus to
    // open, labels separated by > ("-" for the context menu alone).
    std::string menuTarget;
    std::string menuPath;
};

// Runs until the browser window closes (or, with a screenshot path, until
// the picture is written). The exit status: 0, 1 when the page, the menu
// or the picture failed, 2 when the engine cannot start here.
int RunLiveHost(const LiveHostOptions& options);

// The live engine off screen for a scenario; false when it cannot start.
bool StartLiveScenarioEngine();
// Lets the closed windows' views go before the program ends.
void FinishLiveScenarioEngine();
