#include "course/CourseDialog.h"

#include "core/NumberText.h"
#include "core/Text.h"
#include "course/CourseDialogIds.h"
#include "course/GreatCircle.h"
#include "navdb/PlaceFinder.h"
#include "platform/ComboBoxes.h"
#include "platform/MessageBox.h"
#include "store/AirportDatabase.h"
#include "store/Globals.h"
#include "store/Services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

using namespace ids::course;

CCourseDialog::CCourseDialog(const store::Services& services, QWidget* parent)
    : platform::Dialog(kTemplate, parent), m_magneticModel(services.magneticModel()),
      m_navData(services.navData()), m_airports(services.airports()) {
    for (int id : {DEP_LAT, DEP_LON, ARR_LAT, ARR_LON}) {
        if (auto* edit = itemAs<QLineEdit>(id))
            connect(edit, &QLineEdit::textChanged, this, [this] { UpdateVariation(); });
    }
    if (auto* box = itemAs<QComboBox>(ARRIVAL))
        connect(box, qOverload<int>(&QComboBox::activated), this, [this] { OnSelchangeArrival(); });
    onCommand(ADD, [this] { OnAdd(); });
    setUpFinder(FIND_DEP, true);
    setUpFinder(FIND_ARR, false);
    if (auto* box = itemAs<QComboBox>(DEPARTURE))
        connect(box, qOverload<int>(&QComboBox::activated), this,
                [this] { OnSelchangeDeparture(); });
}

void CCourseDialog::DoDataExchange(platform::DataExchange& dx) {
    if (!m_cbDeparture) {
        m_cbDeparture = itemAs<QComboBox>(DEPARTURE);
        m_cbArrival = itemAs<QComboBox>(ARRIVAL);
    }
    dx.number(DEP_LAT, m_dDepLatitude, -360, 360);
    dx.number(DEP_LON, m_dDepLongitude, -360, 360);
    dx.number(ARR_LON, m_dArrLongitude, -360, 360);
    dx.number(ARR_LAT, m_dArrLatitude);
    dx.text(ARRIVAL, m_strArrText);
}

bool CCourseDialog::OnInitDialog() {
    exchangeData(false);
    FillAirportLists();
    SelectSavedAirports();
    exchangeData(false);
    UpdateVariation();
    // A departure found last time (not in the lists) is named where it was found.
    if (auto* find = itemAs<QLineEdit>(FIND_DEP);
        find && m_cbDeparture->currentIndex() < 0 && !m_strDepAirport.isEmpty())
        find->setText(m_strDepAirport);
    if (!m_navData.problem().isEmpty())
        message(m_navData.problem());
    return true;
}

void CCourseDialog::setUpFinder(int id, bool departure) {
    auto* edit = itemAs<QLineEdit>(id);
    if (!edit)
        return;
    edit->setPlaceholderText(departure ? QStringLiteral("From: code or name")
                                       : QStringLiteral("To: code or name"));
    connect(new navdb::PlaceFinder(edit, m_navData), &navdb::PlaceFinder::chosen, this,
            [this, departure](const navdb::Place& place) { OnFound(departure, place); });
}

void CCourseDialog::OnFound(bool bDeparture, const navdb::Place& place) {
    if (bDeparture) {
        m_dDepLatitude = place.position.latitudeDeg;
        m_dDepLongitude = place.position.longitudeDeg;
        m_strDepAirport = place.ident;
        platform::writeNumberField(item(DEP_LAT), m_dDepLatitude);
        platform::writeNumberField(item(DEP_LON), m_dDepLongitude);
    } else {
        m_dArrLatitude = place.position.latitudeDeg;
        m_dArrLongitude = place.position.longitudeDeg;
        m_strArrAirport = place.ident;
        platform::writeNumberField(item(ARR_LAT), m_dArrLatitude);
        platform::writeNumberField(item(ARR_LON), m_dArrLongitude);
    }
}

void CCourseDialog::UpdateVariation() {
    auto value = [this](int id) {
        const auto* edit = itemAs<QLineEdit>(id);
        return edit ? core::parseNumber(edit->text().toStdString()) : std::nullopt;
    };
    const auto depLat = value(DEP_LAT), depLon = value(DEP_LON);
    const auto arrLat = value(ARR_LAT), arrLon = value(ARR_LON);
    auto* label = itemAs<QLabel>(MAG_VAR);
    auto* use = itemAs<QCheckBox>(USE_VAR);
    if (!label || !use)
        return;
    m_variation = magvar::Variation{};
    QString text = QStringLiteral("Var at midpoint: -");
    if (depLat && depLon && arrLat && arrLon && core::isValidLatitude(*depLat) &&
        core::isValidLatitude(*arrLat)) {
        const core::GeoPoint mid = course::midpoint({*depLat, *depLon}, {*arrLat, *arrLon});
        m_variation = m_magneticModel.at(mid, magvar::decimalYear(QDate::currentDate()));
        switch (m_variation.status) {
        case magvar::VarStatus::Computed:
            text = QStringLiteral("Var at midpoint: %1").arg(magvar::varText(m_variation.varDeg));
            break;
        case magvar::VarStatus::OutsideDates:
            text = QStringLiteral("Var: the model covers 2025 to 2029 only");
            break;
        case magvar::VarStatus::NearPole:
            text = QStringLiteral("Var: unreliable this near a magnetic pole");
            break;
        case magvar::VarStatus::NoModel:
            text = QStringLiteral("Var: no magnetic model installed");
            break;
        }
    }
    label->setText(text);
    const bool offered = m_variation.status == magvar::VarStatus::Computed;
    if (!offered)
        use->setChecked(false);
    use->setEnabled(offered);
}

bool CCourseDialog::VariationChosen(int& nVarDeg) const {
    const auto* use = itemAs<QCheckBox>(USE_VAR);
    if (!use || !use->isChecked() || m_variation.status != magvar::VarStatus::Computed)
        return false;
    nVarDeg = m_variation.varDeg;
    return true;
}

void CCourseDialog::message(const QString& text) {
    platform::showMessage(this, text);
}

void CCourseDialog::FillAirportLists() {
    m_cbArrival->clearEditText();
    m_cbArrival->clear();
    QStringList ids;
    for (const std::string& id : m_airports.listIdentifiers())
        ids << core::fromLatin1(id);
    platform::addComboItems(m_cbArrival, ids);
    platform::addComboItems(m_cbDeparture, ids);
    exchangeData(false);
}

void CCourseDialog::SelectSavedAirports() {
    m_cbDeparture->setCurrentIndex(platform::findComboItem(m_cbDeparture, m_strDepAirport));
    OnSelchangeDeparture();
    m_cbArrival->setCurrentIndex(platform::findComboItem(m_cbArrival, m_strArrAirport));
    OnSelchangeArrival();
}

void CCourseDialog::OnSelchangeDeparture() {
    const int i = m_cbDeparture->currentIndex();
    if (i < 0)
        return;
    const QString id = m_cbDeparture->itemText(i);
    if (const core::GeoPoint* pos = m_airports.find(id)) {
        m_dDepLatitude = pos->latitudeDeg;
        m_dDepLongitude = pos->longitudeDeg;
    }
    m_strDepAirport = id;
    // Only the picked airport's own fields: coordinates typed into the others
    // are the pilot's and stay.
    platform::writeNumberField(item(DEP_LAT), m_dDepLatitude);
    platform::writeNumberField(item(DEP_LON), m_dDepLongitude);
}

void CCourseDialog::OnSelchangeArrival() {
    m_strArrText.clear();
    const int i = m_cbArrival->currentIndex();
    if (i < 0)
        return;
    const QString id = m_cbArrival->itemText(i);
    // The list shows upper case; a lower-case identifier in the file is still
    // found rather than leaving the old position in place.
    if (const core::GeoPoint* pos = m_airports.find(id)) {
        m_dArrLatitude = pos->latitudeDeg;
        m_dArrLongitude = pos->longitudeDeg;
    }
    m_strArrAirport = id;
    platform::writeNumberField(item(ARR_LAT), m_dArrLatitude);
    platform::writeNumberField(item(ARR_LON), m_dArrLongitude);
    m_strArrText = id;
    m_cbArrival->setEditText(id);
}

int CCourseDialog::SelectArrivalAirport(const QString& strId) {
    const int i = platform::findComboItem(m_cbArrival, strId);
    m_cbArrival->setCurrentIndex(i);
    OnSelchangeArrival();
    return i;
}

void CCourseDialog::OnOK() {
    // A field that could not be read has been reported: no course from
    // values the pilot did not enter.
    if (!exchangeData(true) || !latitudeIsPlace(DEP_LAT, m_dDepLatitude) ||
        !latitudeIsPlace(ARR_LAT, m_dArrLatitude))
        return;
    const course::CourseAndDistance result = course::calcCourseAndDistance(
        {m_dDepLatitude, m_dDepLongitude}, {m_dArrLatitude, m_dArrLongitude});
    m_dResultCourse = result.trueCourseDeg;
    m_dResultDistance = result.distanceNm;
    if (m_dResultDistance == 0.0) {
        message(QStringLiteral("Distance is zero, enter correct data!"));
        return;
    }
    platform::Dialog::okCommand();
}

bool CCourseDialog::latitudeIsPlace(int fieldId, double latitudeDeg) {
    // The formula would take 91 degrees as an angle and give a course to
    // nowhere; the fields' own limits (-360..360) are wider than the earth.
    if (core::isValidLatitude(latitudeDeg))
        return true;
    message(QStringLiteral("A latitude lies between -90 and 90 degrees!"));
    if (auto* field = itemAs<QLineEdit>(fieldId)) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
    return false;
}

void CCourseDialog::OnCancel() {
    endDialog(QDialog::Rejected);
}

void CCourseDialog::OnAdd() {
    // Storing a position the pilot did not enter would be worse than none.
    if (!exchangeData(true))
        return;
    const QString strId = m_strArrText.toUpper();
    switch (store::airportIdProblem(strId)) {
    case store::IdProblem::WhiteSpace:
        message(QStringLiteral("No spaces allowed!"));
        return;
    case store::IdProblem::Empty:
    case store::IdProblem::NotThreeChars:
        message(QStringLiteral("You must enter 3 alphanumeric symbol of the airport"));
        return;
    case store::IdProblem::Separator:
        // These are the file's separators: such a record would break every
        // later start.
        message(QStringLiteral("No ':', ';' or ',' allowed!"));
        return;
    case store::IdProblem::NotLatin1:
        // The file holds one byte a character; anything else would be stored
        // as a different identifier.
        message(QStringLiteral("This identifier has a character the airports file cannot hold!"));
        return;
    case store::IdProblem::None:
        break;
    }
    // Only a real place is stored: the file would hand it to every later TC.
    if (!latitudeIsPlace(ARR_LAT, m_dArrLatitude))
        return;
    const std::string bytes = *core::toLatin1(strId);
    if (SelectArrivalAirport(strId) >= 0) {
        message(QStringLiteral("Airport %1 already exist in database!\nif you want update or "
                               "remove this airport,\nplease edit the file \"airports.fly\" "
                               "manually.")
                    .arg(m_strArrText));
        return;
    }
    // Only a record that is on disk is reported as added; after a failure the
    // dialog stays open with the pilot's identifier, ready to try again.
    const auto status = m_airports.append(bytes, m_dArrLatitude, m_dArrLongitude);
    if (status != core::WriteStatus::Written) {
        m_strArrText = strId;
        m_cbArrival->setEditText(strId);
        message(QString::fromStdString(core::writeFailureText(status, "airports")));
        return;
    }
    message(QStringLiteral("Airport %1 was added to database!").arg(strId));
    FillAirportLists();
    m_cbArrival->setCurrentIndex(SelectArrivalAirport(strId));
    exchangeData(false);
    endDialog(QDialog::Rejected);
}
