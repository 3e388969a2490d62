#pragma once
// The plan window's briefing: the zone of the plan's times, the METAR and
// TAF of each airport pasted or opened, a winds-aloft bulletin taken into
// the winds table, and the briefing read back (weather decoded, runway
// wind, density altitude, daylight, night legs).

#include <QGroupBox>
#include <QUrl>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace navdb {
class NavData;
}

namespace plan {

class PlanEditor;

class BriefingPanel : public QGroupBox {
    Q_OBJECT
public:
    // weatherBase: where Fetch weather asks.
    BriefingPanel(PlanEditor& editor, const navdb::NavData& navData, QUrl weatherBase,
                  QWidget* parent = nullptr);
    // Shows the plan's weather and its briefing, without making changes.
    void fill();

private:
    void typed(int airport, bool taf);
    void surfaceWindTyped(int airport);
    void openReports();
    void openBulletin();
    void takeBulletin(const QString& text);
    void fetchWeather();

    PlanEditor& m_editor;
    const navdb::NavData& m_navData;
    QUrl m_weatherBase;
    bool m_filling = false;
    QComboBox* m_zone = nullptr;
    std::array<QPlainTextEdit*, 3> m_metar{}, m_taf{};
    std::array<QLineEdit*, 3> m_wind{};
    QLabel* m_read = nullptr;
};

} // namespace plan
