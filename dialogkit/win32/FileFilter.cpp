#include "dialogkit/win32/FileFilter.h"

#include <vector>

#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

std::wstring systemFileFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    std::wstring result;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() || parts[i + 1].empty()) {
            break;  // the "||" that ends the list
        }
        result += widen(parts[i]);
        result += L'\0';
        result += widen(parts[i + 1]);
        result += L'\0';
    }
    result += L'\0';
    return result;
}

}  // namespace vorlane::dk
