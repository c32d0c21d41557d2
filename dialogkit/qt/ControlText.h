// The text of any control the kit creates, read and written the same way everywhere.
#pragma once

#include <QString>

class QWidget;

namespace vorlane::dk {

QString controlText(const QWidget* widget);
void setControlText(QWidget* widget, const QString& text);

}  // namespace vorlane::dk
