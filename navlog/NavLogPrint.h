#pragma once
// The kneeboard nav log on paper or in a PDF: A5 portrait unless the printer
// says otherwise, up to 20 legs a page, each page with the trip's date,
// route, TAS and fuel at start, the last with the totals; two empty columns,
// "ATA" and "Fuel act.", for the pilot to fill in flight. Black and white
// reads: a leg below the reserve is shaded and marked in words.

#include "navlog/TripLog.h"

#include <QPageLayout>

#include <QByteArray>

#include <QString>
#include <QStringList>
#include <optional>

class QComboBox;
class QPrinter;
class QWidget;

namespace navlog {

constexpr int kLegsPerPage = 20;

// The kneeboard pages a pilot can choose, by the names --page takes: "a5"
// (A5 portrait, the default), "a5-landscape", "half-letter" (5.5 × 8.5 in),
// "a4" and "letter", each with 8 mm margins; and their names as shown.
const QStringList& kneeboardPageNames();
QString kneeboardPageTitle(const QString& name);
std::optional<QPageLayout> kneeboardPageLayout(const QString& name);
// The page last chosen (remembered across runs), and choosing one.
QString rememberedKneeboardPage();
void rememberKneeboardPage(const QString& name);
// The remembered page's layout.
QPageLayout kneeboardPageLayout();
// A box to choose the page by (accessible name "Kneeboard page"); a choice is
// remembered at once.
QComboBox* kneeboardPageBox(QWidget* parent);

// The pages as rich text, one document a page; notes (a plan's fuel verdict
// and decision points) are lines under the last page's table.
QStringList navLogPages(const Trip& trip, int reserveMin, const QStringList& notes = {});

// Prints the trip on the printer as it is set up.
void printNavLog(QPrinter& printer, const Trip& trip, int reserveMin,
                 const QStringList& notes = {});

// The trip as a PDF document on the page given, else the remembered one.
QByteArray navLogPdf(const Trip& trip, int reserveMin, const QStringList& notes = {},
                     const std::optional<QPageLayout>& page = std::nullopt);

} // namespace navlog
