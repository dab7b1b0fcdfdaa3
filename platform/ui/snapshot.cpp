// Snapshots of dialogs and controls for the backends.
#include "platform/ui/ui_backend.h"
#include "platform/ui/window_record.h"

ControlSnapshot SnapshotControl(HWND control) {
    ControlSnapshot snapshot;
    const WindowRecord* record = FindWindowRecord(control);
    if (!record) return snapshot;
    snapshot.handle = control;
    snapshot.id = record->id;
    snapshot.kind = record->kind;
    snapshot.text = record->text;
    snapshot.style = record->style;
    snapshot.dialogUnits = record->dialogUnits;
    snapshot.enabled = record->enabled;
    snapshot.visible = record->visible;
    if (record->control) record->control->Describe(snapshot);
    return snapshot;
}

DialogSnapshot SnapshotDialog(HWND dialog) {
    DialogSnapshot snapshot;
    const WindowRecord* record = FindWindowRecord(dialog);
    if (!record) return snapshot;
    snapshot.handle = dialog;
    snapshot.title = record->text;
    snapshot.dialogUnits = {record->dialogUnits.right, record->dialogUnits.bottom};
    snapshot.centred = record->centred || (record->style & DS_CENTER);
    if (record->dialog && record->dialog->dialogTemplate) {
        const DialogTemplate& dialogTemplate = *record->dialog->dialogTemplate;
        snapshot.font = dialogTemplate.font ? dialogTemplate.font : u"";
        snapshot.pointSize = dialogTemplate.pointSize;
        snapshot.source = &dialogTemplate;
    }
    for (HWND child : record->children) snapshot.controls.push_back(SnapshotControl(child));
    return snapshot;
}
