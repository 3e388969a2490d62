#include "navdb/PlaceFinder.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>

namespace navdb {

PlaceFinder::PlaceFinder(QLineEdit* edit, const NavData& data)
    : QObject(edit), m_data(data), m_model(new QStringListModel(edit)),
      m_completer(new QCompleter(m_model, edit)), m_edit(edit) {
    // The database has ranked the places already: the list shows them as they are.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(8);
    // Wide enough for a name and its town, not the width of a small box.
    m_completer->popup()->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 56);
    edit->setCompleter(m_completer);
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { offer(text); });
    connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                if (index.row() >= 0 && index.row() < static_cast<int>(m_offered.size()))
                    emit chosen(m_offered[static_cast<std::size_t>(index.row())]);
            });
}

bool PlaceFinder::listShown() const {
    return m_completer->popup()->isVisible();
}

void PlaceFinder::offerAgain() {
    offer(m_edit->text());
}

void PlaceFinder::offer(const QString& text) {
    m_offered = m_data.search(text, 8, m_near);
    QStringList labels;
    for (const Place& place : m_offered)
        labels << placeLabel(place);
    m_model->setStringList(labels);
    if (!labels.isEmpty())
        m_completer->complete();
}

} // namespace navdb
