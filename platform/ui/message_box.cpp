#include "platform/ui/message_box.h"

#include "platform/ui/ui_backend.h"
#include "platform/ui/window.h"
#include "platform/win/last_error.h"

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR title, UINT type) {
    if (owner && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    MessageBoxRequest request;
    request.owner = owner;
    request.text = text ? text : u"";
    request.title = title ? title : u"Error";
    request.type = type;
    return CurrentUiBackend().ShowMessageBox(request);
}
