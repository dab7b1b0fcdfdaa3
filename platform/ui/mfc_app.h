// MFC's application object and command line, for a program whose main is
//
//     int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
//
// and which has one global CWinApp-derived object.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/mfc_wnd.h"

class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;
    // One argument; for a switch, without its leading "/" or "-". The first
    // plain argument becomes the file name.
    virtual void ParseParam(const char16_t* param, BOOL isSwitch, BOOL isLast);

    std::u16string m_strFileName;
};

class CWinApp {
public:
    // The application's name defaults to the program's file name without
    // its extension.
    explicit CWinApp(LPCWSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // Ends at once: the tool's work is done in InitInstance.
    virtual int Run() { return ExitInstance(); }
    // Hands each argument after the program name to ParseParam.
    void ParseCommandLine(CCommandLineInfo& info);
    HICON LoadIcon(UINT id) const;

    CWnd* m_pMainWnd = nullptr;
    std::u16string m_strAppName;
    std::vector<std::u16string> m_arguments;  // without the program name
};

CWinApp* AfxGetApp();
// Starts the UI, runs InitInstance, and ExitInstance when it returns FALSE
// (Run otherwise); the result is the program's exit status.
int AfxWinMain(int argc, char** argv);
// A message box titled with the application's name, owned by the main
// window when it is open, else by the active window.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
void AfxEnableControlContainer();

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
constexpr DWORD ICC_WIN95_CLASSES = 0xFF;
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
