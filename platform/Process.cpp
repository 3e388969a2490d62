#include "platform/Process.h"

#include <QProcess>
#include <QStandardPaths>

namespace platform {

bool startFirstProgram(const QStringList& programs) {
    for (const QString& program : programs) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return true;
    }
    return false;
}

} // namespace platform
