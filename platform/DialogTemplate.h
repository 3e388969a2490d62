#pragma once
// Dialog templates: a dialog's caption, size and controls in dialog units,
// kept as JSON resources under :/templates/<id>.json. Template order is
// creation order, and so tab order.

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace platform {

constexpr int kNoId = -1;

struct ControlTemplate {
    QString kind; // label, edit, button, checkbox, timepicker, combo, groupbox, picture, icon
    int id = kNoId;
    QString text; // caption, label text or image name
    QRect rect;   // dialog units
    QStringList
        styles;   // readonly, multiline, vscroll, default, droplist, dropdown, sorted, uppercase
    QString name; // accessible name, when not taken from a label
    int buddy = kNoId; // for labels: the control they name
};

struct DialogTemplate {
    int id = kNoId;
    QString caption;
    QSize size; // dialog units
    std::vector<ControlTemplate> controls;
};

// The template of that id; an empty template (no controls) if there is none.
DialogTemplate loadDialogTemplate(int id);

// Pixels per dialog unit: at scale 1 a 145 by 162 unit dialog fills a
// 240 by 320 pixel screen; the desktop draws at a fixed larger scale.
double dialogScale();
QRect dialogUnitsToPixels(const QRect& units);
QSize dialogUnitsToPixels(const QSize& units);

} // namespace platform
