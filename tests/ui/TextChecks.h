// What a person would see wrong in a dialog's texts: one cut off by its control, one left in
// English in a translated dialog.
#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>

#include "dialogkit/Widgets.h"

namespace vorlane::test {

// Pixels a push button needs around its text, beyond the text's own advance.
inline constexpr int kButtonMargin = 8;

// Texts wider or taller than the room their control gives them.
inline QStringList clippedTexts(QWidget* window) {
    QStringList clipped;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QString text;
        int room = w->width();
        int height = w->height();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            room = label->contentsRect().width();
            height = label->contentsRect().height();
        } else if (auto* box = dynamic_cast<dk::CheckBoxWidget*>(w)) {
            text = box->text();
            room = box->labelRect().width();
            height = box->labelRect().height();
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            text = button->text();
            room -= kButtonMargin;
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            room -= 16;
            height = w->fontMetrics().height();
        }
        if (text.isEmpty()) {
            continue;
        }
        const int needed = w->fontMetrics().horizontalAdvance(text);
        if (needed > room || w->fontMetrics().height() > height) {
            clipped << QStringLiteral("%1 (needs %2 x %3, has %4 x %5)")
                           .arg(text)
                           .arg(needed)
                           .arg(w->fontMetrics().height())
                           .arg(room)
                           .arg(height);
        }
    }
    return clipped;
}

// The window's title and the texts of its labels, buttons and group boxes that are English: no
// Cyrillic letter, and a word that is not one of the names and identifiers every language keeps.
inline QStringList englishTexts(QWidget* window) {
    static const QStringList kept{"OK",  "NTSC", "PAL", "BIOS", "Vorlane", "ID",  "PCI",
                                  "KiB", "ROM",  "VGA", "PNG",  "ATI",     "MHz", "Radeon"};
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    QStringList texts{window->windowTitle()};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            texts << label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            texts << button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            texts << group->title();
        }
    }
    QStringList english;
    for (const QString& text : texts) {
        if (text.contains(cyrillic)) {
            continue;
        }
        for (const QRegularExpressionMatch& m : word.globalMatch(text)) {
            if (!kept.contains(m.captured())) {
                english << text;
                break;
            }
        }
    }
    return english;
}

}  // namespace vorlane::test
