#pragma once
// Combo boxes as the dialog templates describe them: a list that keeps
// itself sorted or in upper case, and an edit field whose Enter belongs to
// the dialog.

#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

namespace platform {

// Sets a new combo box up from its template styles: "dropdown" gives it an
// edit field ("droplist", the default, none), "sorted" keeps its entries in
// case-insensitive order, "uppercase" converts entries and typed text, and
// "vscroll" lets its list scroll (without it the list shows listRows entries
// and no scroll bar). Enter in the edit field goes to enterTarget.
void configureComboBox(QComboBox* box, const QStringList& styles, int listRows,
                       QWidget* enterTarget);

// Adds entries to a combo box. A "sorted" box keeps its entries in
// case-insensitive order, an "uppercase" one converts them. One call sorts
// once, so filling a long list is n log n.
void addComboItems(QComboBox* box, const QStringList& items);
// The index of the entry equal to text ignoring case, or -1.
int findComboItem(const QComboBox* box, const QString& text);

} // namespace platform
