#include "dialogs/OutputFile.h"

#include "core/Files.h"
#include "platform/MessageBox.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace dialogs {
namespace {

// "pdf" of "PDF (*.pdf)".
QString suffixOf(const QString& filter) {
    static const QRegularExpression suffix(QStringLiteral("\\*\\.(\\w+)"));
    return suffix.match(filter).captured(1);
}

} // namespace

QString askSavePath(QWidget* parent, const QString& caption, const QString& filters,
                    const QString& suggested) {
    QFileDialog dialog(parent, caption, QString(), filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool writeOutput(QWidget* parent, const QString& path, const std::string& bytes, const char* what) {
    const auto status = core::writeFileSafely(QFile::encodeName(path).toStdString(), bytes);
    if (status == core::WriteStatus::Written)
        return true;
    platform::showMessage(parent, QString::fromStdString(core::writeFailureText(status, what)));
    return false;
}

} // namespace dialogs
