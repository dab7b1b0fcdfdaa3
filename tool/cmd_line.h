// The tool's command line: "/import", "/export" and "/?" (or the same words
// after "-"), matched exactly and case-sensitively. Anything else is
// ignored.
#pragma once

#include "platform/ui/mfc_app.h"

class CCmdLine : public CCommandLineInfo {
public:
    void ParseParam(const char16_t* param, BOOL isSwitch, BOOL isLast) override;

    BOOL m_bImport = FALSE;
    BOOL m_bExport = FALSE;
    BOOL m_bHelp = FALSE;
};
