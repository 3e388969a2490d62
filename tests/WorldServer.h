#pragma once
// A web server on the loopback address for the tests of the world data
// update: nothing in the tests reaches outside the machine.

#include "TestData.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

#include <map>

namespace testing {

inline QByteArray worldTestFile(const char* name) {
    QFile f(QStringLiteral(SKYVANE_TEST_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Serves OurAirports' four files from the test data under /good/; under
// another first folder one file misbehaves as the folder says:
// /missing/ (navaids.csv: 404), /cut/ (runways.csv: half its bytes, then the
// connection closes), /bad/ (airports.csv: a quote never closed), /slow/
// (airport-frequencies.csv: never answered).
class FileServer : public QObject {
public:
    FileServer() {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString base(const char* folder) const {
        return QStringLiteral("http://127.0.0.1:%1/%2/").arg(m_server.serverPort()).arg(folder);
    }

private:
    void answer(QTcpSocket* socket) {
        const QByteArray request = socket->readAll();
        const QList<QByteArray> path = request.split(' ').value(1).split('/');
        const QByteArray folder = path.value(1), file = path.value(2);
        const std::map<QByteArray, const char*> data = {
            {"airports.csv", "ourairports-sample.csv"},
            {"navaids.csv", "ourairports-navaids.csv"},
            {"runways.csv", "ourairports-runways.csv"},
            {"airport-frequencies.csv", "ourairports-frequencies.csv"}};
        if (folder == "slow" && file == "airport-frequencies.csv")
            return; // never a word
        QByteArray body = data.count(file) ? worldTestFile(data.at(file)) : QByteArray();
        if ((folder == "missing" && file == "navaids.csv") || body.isEmpty()) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        if (folder == "bad" && file == "airports.csv")
            body += "\"99\",\"XX\",\"small_airport\",\"never closed,1,2\n";
        const qsizetype length = body.size();
        if (folder == "cut" && file == "runways.csv")
            body.truncate(body.size() / 2);
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/csv\r\nContent-Length: " +
                      QByteArray::number(length) + "\r\n\r\n" + body);
        if (folder == "cut")
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
};

} // namespace testing
