#include "platform/ComboBoxes.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>
#include <QValidator>

#include <algorithm>

namespace platform {
namespace {

const char* const kSorted = "sortedList";
const char* const kUpperCase = "upperCaseList";

// Keeps the text of an upper-case combo box in upper case as it is typed.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

// Enter in an editable combo box would make the box select the entry its text
// matches, so a typed identifier would silently become a pick. The key goes to
// the dialog instead, as it does from an edit field.
class EnterToDialog : public QObject {
public:
    EnterToDialog(QWidget* dialog, QObject* parent) : QObject(parent), m_dialog(dialog) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        QCoreApplication::sendEvent(m_dialog, event);
        return true;
    }

private:
    QWidget* m_dialog;
};

} // namespace

void configureComboBox(QComboBox* box, const QStringList& styles, int listRows,
                       QWidget* enterTarget) {
    const bool editable = styles.contains(QLatin1String("dropdown"));
    box->setEditable(editable);
    box->setProperty(kSorted, styles.contains(QLatin1String("sorted")));
    box->setProperty(kUpperCase, styles.contains(QLatin1String("uppercase")));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMaxVisibleItems(std::max(1, listRows));
    if (!styles.contains(QLatin1String("vscroll")))
        box->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (editable) {
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        box->lineEdit()->installEventFilter(new EnterToDialog(enterTarget, box));
        // When its edit field loses the focus (or takes Return) Qt's box looks
        // the typed text up and, on a match, selects that entry and reports
        // it as chosen: a typed identifier would silently become a pick. An
        // entry is chosen only from the list, so the box does not listen.
        QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
        if (styles.contains(QLatin1String("uppercase")))
            box->setValidator(new UpperCaseValidator(box));
    }
    box->setCurrentIndex(-1);
}

void addComboItems(QComboBox* box, const QStringList& items) {
    QStringList all;
    all.reserve(box->count() + items.size());
    for (int i = 0; i < box->count(); ++i)
        all << box->itemText(i);
    const bool upper = box->property(kUpperCase).toBool();
    for (const QString& s : items)
        all << (upper ? s.toUpper() : s);
    if (box->property(kSorted).toBool()) {
        // Case-insensitive order, each key folded once rather than in every
        // comparison: the world's 80,000 airports sort in a few milliseconds.
        std::vector<std::pair<QString, int>> keyed;
        keyed.reserve(static_cast<std::size_t>(all.size()));
        for (int i = 0; i < all.size(); ++i)
            keyed.emplace_back(all[i].toCaseFolded(), i);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QStringList sorted;
        sorted.reserve(all.size());
        for (const auto& entry : keyed)
            sorted << all[entry.second];
        all = std::move(sorted);
    }
    const QString edit = box->isEditable() ? box->currentText() : QString();
    // A plain string list model: filling it costs a copy, where the default
    // model would make an item object per entry. The box deletes the model it
    // owned before.
    box->setModel(new QStringListModel(all, box));
    box->setCurrentIndex(-1);
    if (box->isEditable())
        box->setEditText(edit);
}

int findComboItem(const QComboBox* box, const QString& text) {
    if (text.isEmpty())
        return -1;
    const auto* model = qobject_cast<const QStringListModel*>(box->model());
    if (!model || !box->property(kSorted).toBool())
        return box->findText(text, Qt::MatchFixedString);
    // A sorted list is searched by halves: the first entry equal ignoring case.
    const QStringList& entries = model->stringList();
    const QString key = text.toCaseFolded();
    const auto it = std::lower_bound(
        entries.begin(), entries.end(), key,
        [](const QString& entry, const QString& k) { return entry.toCaseFolded() < k; });
    if (it == entries.end() || it->toCaseFolded() != key)
        return -1;
    return static_cast<int>(it - entries.begin());
}

} // namespace platform
