// A program that asks one question in a message box and prints the answer;
// run with KESTRO_UI_SCRIPT by the exit status tests.
#include <cstdio>

#include "platform/ui/message_box.h"
#include "platform/ui/ui_backend.h"

int main() {
    CurrentUiBackend();  // chosen at start, so unused answers count even without UI
    const int answer = MessageBoxW(nullptr, u"Do you want to save it?", u"Kestro", MB_YESNO);
    std::printf("answer %d\n", answer);
    return 0;
}
