#include "dialogkit/Controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <cstdint>

#include "dialogkit/qt/ControlText.h"
#include "dialogkit/qt/QtHandle.h"
#include "dialogkit/qt/Widgets.h"

namespace vorlane::dk {

QString controlText(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text();
    }
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget)) {
        return text->toPlainText();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->title();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->currentText();
    }
    return widget != nullptr ? widget->windowTitle() : QString();
}

void setControlText(QWidget* widget, const QString& text) {
    if (auto* edit = dynamic_cast<EditWidget*>(widget)) {
        edit->setControlText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(text);
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
        lines->setPlainText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(combo->findText(text));
    } else if (widget != nullptr) {
        widget->setWindowTitle(text);
    }
}

struct CWnd::Native {
    QPointer<QWidget> widget;
};

CWnd::CWnd() = default;

CWnd::~CWnd() = default;

void CWnd::Attach(WindowHandle window) {
    if (!native_) {
        native_ = std::make_unique<Native>();
    }
    native_->widget = toWidget(window);
}

WindowHandle CWnd::GetSafeHwnd() const {
    return native_ ? toHandle(native_->widget.data()) : nullptr;
}

int CButton::GetCheck() const {
    const auto* button = qobject_cast<const QAbstractButton*>(toWidget(GetSafeHwnd()));
    return button != nullptr && button->isChecked() ? 1 : 0;
}

void CButton::SetCheck(int check) {
    if (auto* button = qobject_cast<QAbstractButton*>(toWidget(GetSafeHwnd()))) {
        button->setChecked(check != 0);
    }
}

void CButton::Click() {
    if (auto* button = qobject_cast<QAbstractButton*>(toWidget(GetSafeHwnd()))) {
        button->click();
    }
}

void CEdit::SetReadOnly(bool readOnly) {
    if (auto* edit = qobject_cast<QLineEdit*>(toWidget(GetSafeHwnd()))) {
        edit->setReadOnly(readOnly);
    }
}

int CComboBox::AddString(const std::string& text) {
    auto* combo = qobject_cast<QComboBox*>(toWidget(GetSafeHwnd()));
    if (combo == nullptr) {
        return -1;
    }
    combo->addItem(QString::fromStdString(text));
    // Qt selects the first item added; the classic list starts with no selection.
    if (combo->count() == 1) {
        combo->setCurrentIndex(-1);
    }
    return combo->count() - 1;
}

int CComboBox::GetCurSel() const {
    const auto* combo = qobject_cast<const QComboBox*>(toWidget(GetSafeHwnd()));
    return combo != nullptr ? combo->currentIndex() : -1;
}

int CComboBox::SetCurSel(int index) {
    auto* combo = qobject_cast<QComboBox*>(toWidget(GetSafeHwnd()));
    if (combo == nullptr) {
        return -1;
    }
    if (index < 0 || index >= combo->count()) {
        combo->setCurrentIndex(-1);
        return -1;
    }
    combo->setCurrentIndex(index);
    return index;
}

void CSpinButtonCtrl::SetRange(int lower, int upper) {
    if (auto* spin = dynamic_cast<UpDownWidget*>(toWidget(GetSafeHwnd()))) {
        spin->setRange(static_cast<int16_t>(lower), static_cast<int16_t>(upper));
    }
}

int CSpinButtonCtrl::SetPos(int position) {
    auto* spin = dynamic_cast<UpDownWidget*>(toWidget(GetSafeHwnd()));
    return spin != nullptr ? spin->setPosition(static_cast<int16_t>(position)) : 0;
}

int CSpinButtonCtrl::GetPos() const {
    const auto* spin = dynamic_cast<const UpDownWidget*>(toWidget(GetSafeHwnd()));
    return spin != nullptr ? spin->position() : 0;
}

void CBitGrid::SetRows(std::span<const uint8_t> rows) {
    if (auto* grid = dynamic_cast<BitGridWidget*>(toWidget(GetSafeHwnd()))) {
        grid->setRows(std::vector<uint8_t>(rows.begin(), rows.end()));
    }
}

std::vector<uint8_t> CBitGrid::GetRows() const {
    const auto* grid = dynamic_cast<const BitGridWidget*>(toWidget(GetSafeHwnd()));
    return grid != nullptr ? grid->rows() : std::vector<uint8_t>{};
}

void CBitGrid::SetColours(Rgb lit, Rgb unlit) {
    if (auto* grid = dynamic_cast<BitGridWidget*>(toWidget(GetSafeHwnd()))) {
        grid->setColours(lit, unlit);
    }
}

Point CBitGrid::GetCursor() const {
    const auto* grid = dynamic_cast<const BitGridWidget*>(toWidget(GetSafeHwnd()));
    return grid != nullptr ? Point{grid->cursor().x(), grid->cursor().y()} : Point{};
}

}  // namespace vorlane::dk
