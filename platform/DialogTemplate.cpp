#include "platform/DialogTemplate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace platform {
namespace {

// Desktop pixels are smaller than the handheld's: every unit is drawn half as
// large again.
constexpr double kScale = 1.5;
constexpr double kPixelsPerUnitX = 240.0 / 145.0;
constexpr double kPixelsPerUnitY = 320.0 / 162.0;

QRect rectOf(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    if (a.size() != 4)
        return {};
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

int px(double units, double perUnit) {
    return static_cast<int>(std::lround(units * perUnit * kScale));
}

} // namespace

DialogTemplate loadDialogTemplate(int id) {
    DialogTemplate t;
    QFile file(QStringLiteral(":/templates/%1.json").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return t;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    t.id = id;
    t.caption = root.value(QStringLiteral("caption")).toString();
    const QJsonArray size = root.value(QStringLiteral("size")).toArray();
    t.size = QSize(size.at(0).toInt(), size.at(1).toInt());
    for (const QJsonValue& v : root.value(QStringLiteral("controls")).toArray()) {
        const QJsonObject o = v.toObject();
        ControlTemplate c;
        c.kind = o.value(QStringLiteral("kind")).toString();
        c.id = o.value(QStringLiteral("id")).toInt(kNoId);
        c.text = o.value(QStringLiteral("text")).toString();
        c.rect = rectOf(o.value(QStringLiteral("rect")));
        for (const QJsonValue& s : o.value(QStringLiteral("styles")).toArray())
            c.styles << s.toString();
        c.name = o.value(QStringLiteral("name")).toString();
        c.buddy = o.value(QStringLiteral("buddy")).toInt(kNoId);
        t.controls.push_back(c);
    }
    return t;
}

double dialogScale() {
    return kScale;
}

QRect dialogUnitsToPixels(const QRect& u) {
    const int left = px(u.x(), kPixelsPerUnitX);
    const int top = px(u.y(), kPixelsPerUnitY);
    return QRect(left, top, px(u.x() + u.width(), kPixelsPerUnitX) - left,
                 px(u.y() + u.height(), kPixelsPerUnitY) - top);
}

QSize dialogUnitsToPixels(const QSize& u) {
    return QSize(px(u.width(), kPixelsPerUnitX), px(u.height(), kPixelsPerUnitY));
}

} // namespace platform
