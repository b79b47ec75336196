#pragma once

#include "platform/shell.h"
#include "platform/udp_link.h"
#include "platform/web_panel.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

namespace testing_support {

// A web panel that loads nothing: it records the pages asked for, and the
// test ends each load as it likes.
class FakeWebPanel : public platform::WebPanel {
    Q_OBJECT
public:
    using WebPanel::WebPanel;
    QString LocationURL() const override { return location.toString(); }

    // The page being loaded finishes, or fails with a status.
    void Complete() { emit DocumentComplete(location.toString()); }
    void Fail(int status = 404) { emit NavigateError(location.toString(), status); }

    QUrl location;
    QList<QUrl> loads;

protected:
    void Load(const QUrl& url) override
    {
        location = url;
        loads << url;
    }
};

class FakeWebPanels : public platform::WebPanels {
public:
    platform::WebPanel* Create(QWidget* parent, const QString& name) override
    {
        auto* panel = new FakeWebPanel(parent, name);
        made.push_back(panel);
        return panel;
    }
    std::vector<FakeWebPanel*> made; // owned by their windows
};

// A shell that records the addresses it was asked to open.
class RecordingShell : public platform::Shell {
public:
    bool OpenUrl(const QUrl& url) override
    {
        opened << url;
        return opens;
    }
    bool opens = true;
    QList<QUrl> opened;
};

// A UDP socket whose datagrams the test makes arrive.
class FakeUdpLink : public platform::UdpLink {
    Q_OBJECT
public:
    bool Bind(int port) override
    {
        localPort = port;
        bound = true;
        return true;
    }
    int LocalPort() const override { return localPort; }
    void Close() override { bound = false; }
    QByteArray GetData() override
    {
        QByteArray d = current;
        current.clear();
        ++takes;
        return d;
    }
    // One datagram arrives and raises the arrival event.
    void Arrive(const QByteArray& datagram)
    {
        current = datagram;
        emit DataArrival(datagram.size());
        current.clear();
    }

    bool bound = false;
    int localPort = 0;
    int takes = 0;
    QByteArray current;
};

} // namespace testing_support
