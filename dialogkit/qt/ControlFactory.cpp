#include "dialogkit/qt/ControlFactory.h"
#include "dialogkit/qt/QtIcon.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "dialogkit/IconRegistry.h"
#include "dialogkit/Translation.h"
#include "dialogkit/qt/DialogWindow.h"
#include "dialogkit/qt/QtText.h"
#include "dialogkit/qt/Widgets.h"

namespace vorlane::dk {

namespace {

// A template text as the user reads it: in their language when the program has it.
QString qtext(const char* text) {
    return translated(kTemplateContext, text);
}

QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

bool hasStyle(const ControlTemplate& c, ControlStyle s) {
    return (c.style & s) != 0;
}

Qt::Alignment horizontalAlignment(const ControlTemplate& c) {
    if (hasStyle(c, kCentre)) {
        return Qt::AlignHCenter;
    }
    return hasStyle(c, kRight) ? Qt::AlignRight : Qt::AlignLeft;
}

// A widget for one control; may adjust `rect` and the focus policy the control gets without a
// tab stop.
QWidget* createWidget(DialogWindow& w, const ControlTemplate& c, QRect& rect,
                      Qt::FocusPolicy& focus) {
    const QString text = qtext(c.text);
    const int id = c.id;
    switch (c.kind) {
        case ControlKind::PushButton:
        case ControlKind::DefPushButton: {
            auto* button = new QPushButton(text, &w);
            // Enter is handled by the window, not by Qt's default-button juggling.
            button->setAutoDefault(false);
            button->setDefault(c.kind == ControlKind::DefPushButton);
            QObject::connect(button, &QPushButton::clicked, &w,
                             [&w, id] { w.send(Message::Command, id); });
            return button;
        }
        case ControlKind::AutoCheckBox: {
            auto* box = new CheckBoxWidget(text, &w);
            box->setLeftText(hasStyle(c, kLeftText));
            box->setTextAlignment(horizontalAlignment(c) | Qt::AlignVCenter);
            box->setEdge(hasStyle(c, kStaticEdge));
            QObject::connect(box, &QCheckBox::clicked, &w,
                             [&w, id] { w.send(Message::Command, id); });
            return box;
        }
        case ControlKind::Edit: {
            if (hasStyle(c, kMultiLine)) {
                auto* text = new MultiLineEditWidget(&w);
                text->setReadOnly(hasStyle(c, kReadOnly));
                text->setFixedPitch(hasStyle(c, kFixedPitch));
                if (!hasStyle(c, kStaticEdge)) {
                    text->setFrameStyle(QFrame::NoFrame);
                }
                return text;
            }
            auto* edit = new EditWidget(&w);
            edit->setReadOnly(hasStyle(c, kReadOnly));
            edit->setAlignment(horizontalAlignment(c) | Qt::AlignVCenter);
            edit->setUpperCase(hasStyle(c, kUpperCase));
            edit->setFrame(hasStyle(c, kStaticEdge));
            edit->setTextMargins(0, 0, 0, 0);
            return edit;
        }
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(&w);
            combo->setInsertPolicy(QComboBox::InsertAtBottom);
            combo->setEditable(false);
            rect.setHeight(std::min(rect.height(), combo->sizeHint().height()));
            QObject::connect(combo, &QComboBox::activated, &w,
                             [&w, id](int) { w.send(Message::SelChange, id); });
            return combo;
        }
        case ControlKind::GroupBox: {
            auto* group = new GroupBoxWidget(text, &w);
            group->setAlignment(hasStyle(c, kCentreTitle) ? Qt::AlignHCenter : Qt::AlignLeft);
            focus = Qt::NoFocus;
            return group;
        }
        case ControlKind::Static: {
            auto* label = new QLabel(text, &w);
            label->setAlignment(horizontalAlignment(c) | Qt::AlignTop);
            if (hasStyle(c, kStaticEdge)) {
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                label->setLineWidth(1);
            }
            focus = Qt::NoFocus;
            return label;
        }
        case ControlKind::StaticFrame: {
            auto* frame = new QFrame(&w);
            frame->setFrameStyle(QFrame::Box | QFrame::Plain);
            frame->setLineWidth(1);
            if (hasStyle(c, kWhiteFrame)) {
                QPalette palette = frame->palette();
                palette.setColor(QPalette::WindowText, Qt::white);
                frame->setPalette(palette);
            }
            frame->setAttribute(Qt::WA_TransparentForMouseEvents, hasStyle(c, kTransparent));
            focus = Qt::NoFocus;
            return frame;
        }
        case ControlKind::Icon: {
            auto* label = new QLabel(&w);
            const Icon icon = LoadIcon(c.iconId);
            if (!icon.isNull()) {
                label->setPixmap(qtPixmap(icon, 32));
            }
            // Like the classic icon control, it takes the icon's own size.
            rect.setSize(QSize(32, 32));
            focus = Qt::NoFocus;
            return label;
        }
        case ControlKind::UpDown: {
            auto* spin = new UpDownWidget(&w);
            spin->setHorizontal(hasStyle(c, kHorz));
            spin->setArrowKeys(hasStyle(c, kArrowKeys));
            if (hasStyle(c, kAutoBuddy) && !w.items.empty()) {
                spin->setBuddy(dynamic_cast<QLineEdit*>(w.items.back().widget),
                               hasStyle(c, kSetBuddyInt));
            }
            spin->onScroll = [&w, id] {
                MessageArgs args;
                args.value = id;
                w.send(Message::HScroll, id, args);
            };
            return spin;
        }
        case ControlKind::BitGrid: {
            auto* grid = new BitGridWidget(&w);
            grid->onChange = [&w, id] { w.send(Message::Change, id); };
            return grid;
        }
    }
    return nullptr;
}

}  // namespace

void createControls(DialogWindow& w, std::span<const ControlTemplate> controls) {
    for (const ControlTemplate& c : controls) {
        QRect rect(dluToPixelsX(c.x), dluToPixelsY(c.y), dluToPixelsX(c.cx), dluToPixelsY(c.cy));
        Qt::FocusPolicy focus = Qt::ClickFocus;
        QWidget* widget = createWidget(w, c, rect, focus);
        if (widget == nullptr) {
            continue;
        }
        QString accessibleName = withoutMnemonic(qtext(c.text));
        if (c.kind == ControlKind::Edit || c.kind == ControlKind::ComboBox ||
            c.kind == ControlKind::UpDown || accessibleName.isEmpty()) {
            if (const ControlTemplate* label = labelFor(c, controls)) {
                accessibleName = withoutMnemonic(qtext(label->text));
            }
        }
        widget->setAccessibleName(accessibleName);
        widget->setObjectName(c.id == IDC_STATIC ? QString()
                                                 : QStringLiteral("control-%1").arg(c.id));
        widget->setGeometry(rect);
        widget->setFocusPolicy(hasStyle(c, kTabStop) ? Qt::StrongFocus : focus);
        w.items.push_back({&c, widget});
    }
    // Group boxes are drawn behind what they surround, whatever their place in the order.
    for (const DialogWindow::Item& i : w.items) {
        if (i.control->kind == ControlKind::GroupBox) {
            i.widget->lower();
        }
    }
}

}  // namespace vorlane::dk
