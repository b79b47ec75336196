// The customer-service host: answers the table client's customer-service
// datagrams on 127.0.0.1:4001, for local play and end-to-end tests.
#include "service_desk.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("servicehost"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Answers the client's customer-service datagrams."));
    p.addHelpOption();
    p.addOptions({
        {QStringLiteral("port"), QStringLiteral("UDP port on 127.0.0.1 (the client sends to 4001)."),
         QStringLiteral("N"), QStringLiteral("4001")},
        {QStringLiteral("welcome"), QStringLiteral("The reply every account finds waiting at first (empty: none)."),
         QStringLiteral("TEXT"), QStringLiteral("欢迎来到客服中心！给我们留言，回复会在这里等您。")},
    });
    p.process(app);
    bool ok = false;
    const int port = p.value(QStringLiteral("port")).toInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        std::fprintf(stderr, "servicehost: --port wants a number from 1 to 65535\n");
        return 2;
    }

    QUdpSocket socket;
    if (!socket.bind(QHostAddress::LocalHost, static_cast<quint16>(port), QAbstractSocket::DontShareAddress)) {
        std::fprintf(stderr, "servicehost: cannot listen on 127.0.0.1:%d: %s\n", port,
                     qPrintable(socket.errorString()));
        return 1;
    }
    std::printf("servicehost listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);

    servicehost::ServiceDesk desk(p.value(QStringLiteral("welcome")));
    QObject::connect(&socket, &QUdpSocket::readyRead, [&] {
        while (socket.hasPendingDatagrams()) {
            const QNetworkDatagram d = socket.receiveDatagram();
            QStringList notes;
            for (const QByteArray& answer : desk.Handle(d.data(), notes))
                socket.writeDatagram(answer, d.senderAddress(), static_cast<quint16>(d.senderPort()));
            for (const QString& note : notes)
                std::printf("from port %d: %s\n", d.senderPort(), note.toUtf8().constData());
            std::fflush(stdout);
        }
    });
    return app.exec();
}
