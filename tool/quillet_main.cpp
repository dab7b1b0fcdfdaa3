// The program's entry: the on-screen backend when one is built, then the
// application object's run.
#include "platform/ui/mfc_app.h"
#ifdef KESTRO_HAVE_QT_BACKEND
#include "platform/ui/qt/qt_backend.h"
#endif

int main(int argc, char** argv) {
#ifdef KESTRO_HAVE_QT_BACKEND
    InstallQtBackendFactory();
#endif
    return AfxWinMain(argc, argv);
}
