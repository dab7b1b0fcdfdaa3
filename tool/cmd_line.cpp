#include "tool/cmd_line.h"

#include <string_view>

void CCmdLine::ParseParam(const char16_t* param, BOOL isSwitch, BOOL isLast) {
    CCommandLineInfo::ParseParam(param, isSwitch, isLast);
    if (!isSwitch || !param) return;
    const std::u16string_view word(param);
    if (word == u"import") {
        m_bImport = TRUE;
    } else if (word == u"export") {
        m_bExport = TRUE;
    } else if (word == u"?") {
        m_bHelp = TRUE;
    }
}
