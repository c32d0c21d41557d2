// Kit-internal: texts between the kit's UTF-8 strings and Qt's.
#pragma once

#include <QString>
#include <string>

namespace vorlane::dk {

inline QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

// The translation of `source` in `context`; empty for a null or empty source.
QString translated(const char* context, const char* source);

}  // namespace vorlane::dk
