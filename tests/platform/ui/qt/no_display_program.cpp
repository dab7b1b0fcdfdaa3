// A program that registers the Qt backend and shows a message box.
#include "platform/ui/message_box.h"
#include "platform/ui/qt/qt_backend.h"

int main() {
    InstallQtBackendFactory();
    return MessageBoxW(nullptr, u"Hello", u"Kestro", MB_OK) == IDOK ? 0 : 1;
}
