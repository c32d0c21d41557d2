#include "dialogkit/win32/FileFilter.h"

#include "dialogkit/Prompts.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

std::wstring systemFileFilter(const std::string& filter) {
    std::wstring result;
    for (const auto& [description, patterns] : filterEntries(filter)) {
        if (patterns.empty()) {
            break;  // an empty string would end the system's list here anyway
        }
        result += widen(description);
        result += L'\0';
        result += widen(patterns);
        result += L'\0';
    }
    result += L'\0';
    return result;
}

}  // namespace vorlane::dk
