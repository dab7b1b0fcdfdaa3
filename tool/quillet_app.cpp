#include "tool/quillet_app.h"

#include "platform/com/class_factory.h"
#include "platform/ui/string_resource.h"
#include "tool/cmd_line.h"
#include "tool/quillet_dlg.h"
#include "tool/resources/resource_ids.h"
#include "tool/trans_login.h"

CQuilletApp theApp;

BOOL CQuilletApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    CoInitialize(nullptr);

    CCmdLine commandLine;
    ParseCommandLine(commandLine);
    if (commandLine.m_bHelp) {
        ShowUsage();
    } else if (commandLine.m_bImport) {
        RunTransfer(true);
    } else if (commandLine.m_bExport) {
        RunTransfer(false);
    } else {
        RunLoginInput();
    }
    return FALSE;
}

int CQuilletApp::ExitInstance() {
    CoUninitialize();
    return CWinApp::ExitInstance();
}

void CQuilletApp::ShowUsage() {
    LPCWSTR usage = nullptr;
    LoadStringW(nullptr, IDS_USAGE, reinterpret_cast<LPWSTR>(&usage), 0);
    AfxMessageBox(usage ? usage : u"", MB_OK | MB_ICONEXCLAMATION);
}

void CQuilletApp::RunTransfer(bool import) {
    CTransLogin dlg;
    dlg.m_bImport = import;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
}

void CQuilletApp::RunLoginInput() {
    CQuilletDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
}
