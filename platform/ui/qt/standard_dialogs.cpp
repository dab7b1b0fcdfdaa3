#include "platform/ui/qt/standard_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/ui/file_chooser.h"
#include "platform/ui/message_box.h"

namespace {

QString ToQt(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MB_YESNOCANCEL:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MB_YESNO:
            return QMessageBox::Yes | QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

int ResultOf(QMessageBox::StandardButton button, UINT type) {
    switch (button) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Cancel:
            return IDCANCEL;
        default:  // closed without a button: what Escape means for this box
            return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
    }
}

// "Text files" + "*.txt;*.htm" as Qt writes a filter: "Text files (*.txt *.htm)".
QString NameFilter(const std::pair<std::u16string, std::u16string>& filter) {
    QString patterns = ToQt(filter.second);
    patterns.replace(u';', u' ');
    return ToQt(filter.first) + " (" + patterns + ")";
}

// Qt's file dialog checks an existing file (ExistingFile mode) and asks
// before replacing one (unless DontConfirmOverwrite), with the chooser's
// own texts; it does not check the folder of a file that need not exist,
// which OFN_PATHMUSTEXIST asks for, so that check is added here.
class ChooserDialog final : public QFileDialog {
public:
    ChooserDialog(const FileChooserRequest& request, QWidget* parent)
        : QFileDialog(parent, ToQt(request.title)), m_request(request) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            if (const auto refusal =
                    MissingPathRefusal(m_request, files.first().toStdU16String())) {
                RunMessageBox(*refusal, this);
                return;  // the chooser stays open
            }
        }
        QFileDialog::accept();
    }

private:
    const FileChooserRequest& m_request;
};

}  // namespace

int RunMessageBox(const MessageBoxRequest& request, QWidget* parent) {
    QMessageBox box(IconOf(request.type), ToQt(request.title), ToQt(request.text),
                    ButtonsOf(request.type), parent);
    box.exec();
    return ResultOf(box.standardButton(box.clickedButton()), request.type);
}

bool RunFileChooser(const FileChooserRequest& request, QWidget* parent, std::u16string& path) {
    ChooserDialog chooser(request, parent);
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(!request.save && (request.flags & OFN_FILEMUSTEXIST)
                            ? QFileDialog::ExistingFile
                            : QFileDialog::AnyFile);
    chooser.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & OFN_OVERWRITEPROMPT));
    QStringList filters;
    for (const auto& filter : request.filters) filters << NameFilter(filter);
    if (!filters.isEmpty()) {
        chooser.setNameFilters(filters);
        const int index = std::clamp(request.filterIndex, 1, static_cast<int>(filters.size()));
        chooser.selectNameFilter(filters[index - 1]);
    }
    if (!request.defaultExtension.empty()) chooser.setDefaultSuffix(ToQt(request.defaultExtension));
    if (!request.initialPath.empty()) chooser.selectFile(ToQt(request.initialPath));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return false;
    path = chooser.selectedFiles().first().toStdU16String();
    return true;
}

bool RunFolderChooser(const FolderChooserRequest& request, QWidget* parent, std::u16string& path) {
    QFileDialog chooser(parent, ToQt(request.title));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return false;
    path = chooser.selectedFiles().first().toStdU16String();
    return true;
}

bool RunPrintConfirmation(const std::u16string& documentTitle, QWidget* parent) {
    QMessageBox box(QMessageBox::Question, QObject::tr("Print"),
                    QObject::tr("Print \"%1\"?").arg(ToQt(documentTitle)), QMessageBox::Cancel,
                    parent);
    QPushButton* print = box.addButton(QObject::tr("Print"), QMessageBox::AcceptRole);
    box.setDefaultButton(print);
    box.exec();
    return box.clickedButton() == print;
}
