// Message boxes, file and folder choosers and the print confirmation as
// Qt's standard dialogs.
#pragma once

#include <QWidget>
#include <string>

#include "platform/ui/ui_backend.h"

// IDOK, IDCANCEL, IDYES or IDNO.
int RunMessageBox(const MessageBoxRequest& request, QWidget* parent);
bool RunFileChooser(const FileChooserRequest& request, QWidget* parent, std::u16string& path);
bool RunFolderChooser(const FolderChooserRequest& request, QWidget* parent, std::u16string& path);
bool RunPrintConfirmation(const std::u16string& documentTitle, QWidget* parent);
