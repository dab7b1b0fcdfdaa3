#include "platform/ui/print_service.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include "platform/ui/qt/qt_application.h"
#include "platform/win/file.h"
#include "platform/win/last_error.h"
#include "platform/win/text.h"

namespace {

bool RenderPdf(const std::u16string& html, const std::u16string& title, QByteArray& pdf) {
    QBuffer buffer(&pdf);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QString::fromStdU16String(title));
        writer.setCreator(QStringLiteral("Kestro"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        QTextDocument document;
        document.setHtml(QString::fromStdU16String(html));
        document.setMetaInformation(QTextDocument::DocumentTitle, QString::fromStdU16String(title));
        document.print(&writer);
    }  // the writer finishes the file when it goes
    return !pdf.isEmpty();
}

HRESULT LastFileError() {
    const DWORD code = GetLastError();
    return HRESULT_FROM_WIN32(code ? code : ERROR_CANTWRITE);
}

HRESULT WritePdfFile(const std::u16string& path, const QByteArray& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastFileError();
    DWORD written = 0;
    const auto size = static_cast<DWORD>(bytes.size());
    const bool complete =
        WriteFile(file, bytes.constData(), size, &written, nullptr) && written == size;
    const HRESULT failure = complete ? S_OK : LastFileError();
    CloseHandle(file);
    return failure;
}

}  // namespace

HRESULT PrintHtmlToPdf(const std::u16string& html, const std::u16string& title,
                       const std::u16string& pdfPath) {
    if (pdfPath.empty()) return E_INVALIDARG;
    if (!EnsureQtApplication(QtPlatformNeed::OffScreenOk)) return E_FAIL;
    QByteArray pdf;
    if (!RenderPdf(html, title, pdf)) return E_FAIL;
    return WritePdfFile(pdfPath, pdf);
}
