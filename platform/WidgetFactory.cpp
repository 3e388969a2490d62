#include "platform/WidgetFactory.h"

#include "platform/ComboBoxes.h"
#include "platform/Resources.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

QString withoutTrailingMark(QString text) {
    while (text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char('-')))
        text.chop(1);
    return text.trimmed();
}

} // namespace

std::map<int, QWidget*> createControls(QDialog& dialog, const DialogTemplate& t,
                                       const ControlHooks& hooks) {
    std::map<int, QWidget*> items;
    dialog.setWindowTitle(t.caption);
    dialog.setFixedSize(dialogUnitsToPixels(t.size));
    QFont f = dialog.font();
    f.setPixelSize(std::max(9, static_cast<int>(10 * dialogScale())));
    dialog.setFont(f);
    std::vector<std::pair<QLabel*, int>> buddies;
    std::vector<QWidget*> behind;
    for (const ControlTemplate& c : t.controls) {
        QWidget* w = nullptr;
        const QString kind = c.kind;
        if (kind == QLatin1String("label")) {
            auto* label = new QLabel(c.text, &dialog);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            if (c.buddy != kNoId)
                buddies.emplace_back(label, c.buddy);
            w = label;
        } else if (kind == QLatin1String("edit")) {
            if (c.styles.contains(QLatin1String("multiline"))) {
                auto* edit = new QPlainTextEdit(&dialog);
                edit->setReadOnly(c.styles.contains(QLatin1String("readonly")));
                edit->setVerticalScrollBarPolicy(c.styles.contains(QLatin1String("vscroll"))
                                                     ? Qt::ScrollBarAlwaysOn
                                                     : Qt::ScrollBarAsNeeded);
                edit->setTabChangesFocus(true);
                w = edit;
            } else {
                auto* edit = new QLineEdit(&dialog);
                edit->setReadOnly(c.styles.contains(QLatin1String("readonly")));
                w = edit;
            }
        } else if (kind == QLatin1String("button")) {
            auto* button = new QPushButton(c.text, &dialog);
            button->setAutoDefault(false);
            button->setDefault(false);
            const int id = c.id;
            QObject::connect(button, &QPushButton::clicked, &dialog,
                             [clicked = hooks.clicked, id] { clicked(id); });
            if (c.styles.contains(QLatin1String("default")))
                hooks.markDefault(button);
            w = button;
        } else if (kind == QLatin1String("checkbox")) {
            w = new QCheckBox(c.text, &dialog);
        } else if (kind == QLatin1String("timepicker")) {
            auto* picker = new QDateTimeEdit(QDateTime::currentDateTime(), &dialog);
            picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
            picker->setCalendarPopup(false);
            picker->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
            w = picker;
        } else if (kind == QLatin1String("combo")) {
            auto* box = new QComboBox(&dialog);
            configureComboBox(box, c.styles, c.rect.height() / 8, &dialog);
            w = box;
        } else if (kind == QLatin1String("groupbox")) {
            w = new QGroupBox(c.text, &dialog);
            behind.push_back(w);
        } else if (kind == QLatin1String("picture") || kind == QLatin1String("icon")) {
            auto* picture = new QLabel(&dialog);
            const QRect r = dialogUnitsToPixels(c.rect);
            const QPixmap image = loadImage(c.text);
            picture->setPixmap(
                kind == QLatin1String("icon")
                    ? image
                    : image.scaled(r.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
            picture->setAlignment(kind == QLatin1String("icon") ? Qt::AlignLeft | Qt::AlignTop
                                                                : Qt::AlignCenter);
            w = picture;
        }
        if (!w)
            continue;
        if (c.rect.isValid()) {
            // Combo boxes' template heights include their dropped-down list.
            QRect r = dialogUnitsToPixels(c.rect);
            if (kind == QLatin1String("combo"))
                r.setHeight(dialogUnitsToPixels(QRect(0, 0, 1, 12)).height());
            w->setGeometry(r);
        }
        if (!c.name.isEmpty())
            w->setAccessibleName(c.name);
        else if (kind == QLatin1String("button"))
            w->setAccessibleName(c.text);
        if (kind == QLatin1String("combo"))
            w->setAccessibleDescription(c.name);
        if (c.id != kNoId)
            items[c.id] = w;
        w->show();
    }
    for (const auto& [label, id] : buddies) {
        const auto target = items.find(id);
        if (target != items.end()) {
            label->setBuddy(target->second);
            if (target->second->accessibleName().isEmpty())
                target->second->setAccessibleName(withoutTrailingMark(label->text()));
        }
    }
    for (QWidget* w : behind)
        w->lower();
    return items;
}

} // namespace platform
