// A library with its own UI resources under the same ids as the test
// program's, and a dialog class run from its own code.
#include "platform/ui/atl_dialog.h"
#include "platform/ui/resource_templates.h"

namespace {

constexpr StringResource kStrings[] = {{101, u"Library Kestro"}};
constexpr DialogControl kControls[] = {{IDOK, ControlKind::DefPushButton, u"OK", 8, 8, 50, 14}};
constexpr DialogTemplate kDialog = Dialog(u"Library dialog", 100, 40, kControls);
constexpr MenuTemplateItem kMenu[] = {MenuItem(1, u"Library item")};

constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(RT_STRING_ID, 1, kStrings),
    ResourceEntry(RT_DIALOG_ID, 300, kDialog),
    ResourceEntry(RT_MENU_ID, 400, kMenu),
};

class CLibraryDlg : public CDialogImpl<CLibraryDlg> {
public:
    enum { IDD = 300 };
    BEGIN_MSG_MAP(CLibraryDlg)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    END_MSG_MAP()

private:
    LRESULT OnOK(WORD, WORD id, HWND, BOOL&) {
        EndDialog(id);
        return 0;
    }
};

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)

extern "C" INT_PTR RunLibraryDialog(HWND owner) {
    CLibraryDlg dialog;
    return dialog.DoModal(owner);
}
