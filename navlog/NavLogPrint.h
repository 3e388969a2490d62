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

class QPrinter;

namespace navlog {

constexpr int kLegsPerPage = 20;

// The kneeboard page: A5 portrait with 8 mm margins.
QPageLayout kneeboardPageLayout();

// The pages as rich text, one document a page; notes (a plan's fuel verdict
// and decision points) are lines under the last page's table.
QStringList navLogPages(const Trip& trip, int reserveMin, const QStringList& notes = {});

// Prints the trip on the printer as it is set up.
void printNavLog(QPrinter& printer, const Trip& trip, int reserveMin,
                 const QStringList& notes = {});

// The trip as an A5 portrait PDF document.
QByteArray navLogPdf(const Trip& trip, int reserveMin, const QStringList& notes = {});

} // namespace navlog
