#include "platform/ui/qt/dialog_font.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include "platform/win/text.h"

namespace {

bool IsWindowsDialogFace(const std::u16string& face) {
    return face.empty() || WideEqualsNoCase(face, u"MS Shell Dlg") ||
           WideEqualsNoCase(face, u"MS Shell Dlg 2") || WideEqualsNoCase(face, u"MS Sans Serif") ||
           WideEqualsNoCase(face, u"Tahoma") || WideEqualsNoCase(face, u"Segoe UI");
}

}  // namespace

QFont DialogFont(const std::u16string& face, WORD pointSize) {
    QFont font = IsWindowsDialogFace(face) ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                           : QFont(QString::fromStdU16String(face));
    if (IsWindowsDialogFace(face)) font.setStyleHint(QFont::SansSerif);
    const int points = pointSize ? pointSize : 8;
    font.setPixelSize((points * 96 + 36) / 72);
    return font;
}

SIZE DialogBaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return {std::max(1, average), std::max(1, metrics.height())};
}
