#pragma once
// A weather service on the loopback address for the tests of Fetch
// weather: nothing in the tests reaches outside the machine.

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

namespace testing {

inline const char* kMetars = "METAR LSZH 081150Z 24012KT 9999 FEW040 08/05 Q1008\n"
                             "METAR LSGG 081150Z 22008KT 9999 BKN030 09/04 Q1010\n";
inline const char* kTafs = "TAF LSZH 081100Z 0812/0918 24010KT 9999 SCT030\n";
inline const char* kWinds = "FT  3000    6000    9000\nZUE 2415 2520+02 2625-04\n";

// /good/ answers all three; /missing/ has no TAFs (404); /slow/ never
// answers the winds aloft. A request without the plan's airports is a 400.
class WeatherServer : public QObject {
public:
    WeatherServer() {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl base(const char* folder) const {
        return QUrl(
            QStringLiteral("http://127.0.0.1:%1/%2/").arg(m_server.serverPort()).arg(folder));
    }
    QStringList asked;

private:
    void answer(QTcpSocket* socket) {
        const QUrl url(QString::fromLatin1(socket->readAll().split(' ').value(1)));
        asked << url.path();
        const QString folder = url.path().section('/', 1, 1), what = url.path().section('/', -1);
        const QString ids = QUrlQuery(url).queryItemValue("ids");
        QByteArray body;
        if (what == "metar" && ids == "LSZH,LSGG")
            body = kMetars;
        else if (what == "taf" && ids == "LSZH,LSGG" && folder != "missing")
            body = kTafs;
        else if (what == "windtemp" && QUrlQuery(url).queryItemValue("level") == "low")
            body = kWinds;
        if (folder == "slow" && what == "windtemp")
            return;
        if (body.isEmpty()) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
    QTcpServer m_server;
};

} // namespace testing
