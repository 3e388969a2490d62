#include "platform/Resources.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace platform {

QString loadString(int id) {
    static const QJsonObject table = [] {
        QFile file(QStringLiteral(":/strings.json"));
        if (!file.open(QIODevice::ReadOnly))
            return QJsonObject();
        return QJsonDocument::fromJson(file.readAll()).object();
    }();
    return table.value(QString::number(id)).toString();
}

QIcon applicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/art/icon32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/art/icon16.png"), QSize(16, 16));
    return icon;
}

QPixmap loadImage(const QString& name) {
    if (name == QLatin1String("icon"))
        return QPixmap(QStringLiteral(":/art/icon32.png"));
    return QPixmap(QStringLiteral(":/art/") + name);
}

} // namespace platform
