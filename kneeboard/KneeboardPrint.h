#pragma once
// The kneeboard page on paper or in a PDF, for the nav log window, the plan
// window and `skyvane --plan … --pdf` alike: a header block, then the legs
// in the columns the pilot chose, on the page the pilot chose, a page at a
// time.
//
// Read in a moving cockpit and written on with a pencil: body text 8 pt,
// headings 10 pt and more, rows at least 7 mm high, the write-in columns at
// least 15 mm wide. When the chosen columns do not fit across the page at
// 8 pt a leg takes two lines; what does not fit on two is named on the page.
// Text never gets smaller to fit. Black and white reads: a leg below the
// reserve is shaded and named in words.

#include "kneeboard/Sheet.h"

#include <QByteArray>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QComboBox;
class QPainter;
class QPrinter;
class QPushButton;
class QRectF;
class QWidget;

namespace kneeboard {

constexpr double kBodyPt = 8;
constexpr double kHeadingPt = 10;
constexpr double kTitlePt = 12;
constexpr double kRowMm = 7;
constexpr double kWriteInMm = 15;

// Where the route picture goes: not at all, on a page of its own after the
// log, or beside the header block on the first page.
enum class PicturePlace { None, OwnPage, BesideLog };

struct PrintOptions {
    QStringList columns = defaultColumns(); // keys, see kneeboard::columns()
    PicturePlace picture = PicturePlace::None;
    // Draws the route into a rectangle; without it there is no picture.
    std::function<void(QPainter&, const QRectF&)> drawPicture;
    // Draws the weight and balance picture, under the loading in the header
    // block; without it (a plan without an aircraft) there is none.
    std::function<void(QPainter&, const QRectF&)> drawBalance;
};

// What a page comes to: the columns on each line of a leg, what was left
// out, and how many pages the sheet takes.
struct Layout {
    std::vector<QStringList> lines; // column keys, one list per line of a leg
    QStringList dropped;            // headings of the columns that fit on no line
    int pages = 1;
};
Layout kneeboardLayout(const Sheet& sheet, const QPageLayout& page, const PrintOptions& options);

// The sheet as a PDF document.
QByteArray kneeboardPdf(const Sheet& sheet, const QPageLayout& page, const PrintOptions& options);
// Prints the sheet on the printer as it is set up.
void printKneeboard(QPrinter& printer, const Sheet& sheet, const PrintOptions& options);

// The kneeboard pages a pilot can choose, by the names --page takes: "a5"
// (A5 portrait, the default), "a5-landscape", "half-letter" (5.5 × 8.5 in),
// "a4" and "letter", each with margins of 6 mm at the sides and 8 mm top and
// bottom; and their names as shown.
const QStringList& pageNames();
QString pageTitle(const QString& name);
std::optional<QPageLayout> pageLayout(const QString& name);

// The pilot's choices, remembered across runs: the page, the columns, the
// picture's place ("none", "page", "beside" on the command line).
QString rememberedPage();
void rememberPage(const QString& name);
QPageLayout rememberedPageLayout();
QStringList rememberedColumns();
void rememberColumns(const QStringList& keys);
std::optional<PicturePlace> picturePlace(const QString& name);
PicturePlace rememberedPicture();
void rememberPicture(PicturePlace place);
// The remembered columns and picture place, ready to print with.
PrintOptions rememberedOptions();

// Widgets for the windows that print: a box for the page (accessible name
// "Kneeboard page"), a box for the picture's place ("Route picture"), and a
// button that lets the pilot tick the columns ("Kneeboard columns").
// Each choice is remembered at once.
QComboBox* pageBox(QWidget* parent);
QComboBox* pictureBox(QWidget* parent);
QPushButton* columnsButton(QWidget* parent);
// The column chooser itself; true when the pilot changed the columns.
bool chooseColumns(QWidget* parent);

} // namespace kneeboard
