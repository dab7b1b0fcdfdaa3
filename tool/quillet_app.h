// The login data tool's application object: reads the command line, runs
// one modal dialog (or shows the usage text) and ends.
#pragma once

#include "platform/ui/mfc_app.h"

class CQuilletApp : public CWinApp {
public:
    CQuilletApp() = default;

    // Always FALSE: the program ends when its one dialog closes.
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    void ShowUsage();
    void RunTransfer(bool import);
    void RunLoginInput();
};

extern CQuilletApp theApp;
