#include "platform/ui/mfc_app.h"

#include "platform/ui/string_resource.h"
#include "platform/ui/ui_backend.h"
#include "platform/win/module.h"
#include "platform/win/resource.h"
#include "platform/win/text.h"

namespace {

// The program's application object; the tool is a program, never loaded
// into another image.
CWinApp*& TheApp() {
    static CWinApp* app = nullptr;
    return app;
}

std::u16string ProgramName() {
    char16_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string name(path);
    name = name.substr(name.rfind(u'/') + 1);
    const std::size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

void CCommandLineInfo::ParseParam(const char16_t* param, BOOL isSwitch, BOOL /*isLast*/) {
    if (!isSwitch && m_strFileName.empty() && param) m_strFileName = param;
}

CWinApp::CWinApp(LPCWSTR appName) : m_strAppName(appName ? appName : u"") {
    TheApp() = this;
}

CWinApp::~CWinApp() {
    if (TheApp() == this) TheApp() = nullptr;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        const std::u16string& argument = m_arguments[i];
        const bool isSwitch = !argument.empty() && (argument[0] == u'/' || argument[0] == u'-');
        const std::u16string param = isSwitch ? argument.substr(1) : argument;
        info.ParseParam(param.c_str(), isSwitch ? TRUE : FALSE,
                        i + 1 == m_arguments.size() ? TRUE : FALSE);
    }
}

HICON CWinApp::LoadIcon(UINT id) const {
    return LoadIconW(nullptr, MAKEINTRESOURCEW(id));
}

CWinApp* AfxGetApp() {
    return TheApp();
}

int AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    for (int i = 1; i < argc; ++i) app->m_arguments.push_back(Utf8ToUtf16(argv[i]));
    if (app->m_strAppName.empty()) app->m_strAppName = ProgramName();
    CurrentUiBackend();  // chosen at start: a script's unused answers count even without UI
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT /*helpId*/) {
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    if (!IsWindow(owner)) owner = GetActiveWindow();
    return MessageBoxW(owner, text, app ? app->m_strAppName.c_str() : nullptr, type);
}

void AfxEnableControlContainer() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    return init && init->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}
