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

// A UDP socket whose datagrams the test makes arrive, and which records the
// datagrams sent. Ports in `taken` are held by "other programs": probing
// them reports them in use and binding them fails.
class FakeUdpLink : public platform::UdpLink {
    Q_OBJECT
public:
    bool Bind(int port) override
    {
        ++binds;
        if (allTaken || taken.contains(port) || failBind) {
            bound = false;
            return false;
        }
        localPort = port;
        bound = true;
        return true;
    }
    int LocalPort() const override { return localPort; }
    bool IsBound() const override { return bound; }
    void Close() override { bound = false; }
    QByteArray GetData() override
    {
        QByteArray d = current;
        current.clear();
        ++takes;
        return d;
    }
    void SetRemote(const QString& host, int port) override
    {
        remoteHost = host;
        remotePort = port;
    }
    bool SendData(const QByteArray& datagram) override
    {
        if (!bound)
            return false;
        sent << datagram;
        return true;
    }
    bool FromRemote() const override { return currentFromRemote; }
    bool ProbePortInUse(int port) override
    {
        ++probes;
        return allTaken || taken.contains(port) || (bound && port == localPort);
    }
    // One datagram arrives and raises the arrival event.
    void Arrive(const QByteArray& datagram, bool fromRemote = true)
    {
        current = datagram;
        currentFromRemote = fromRemote;
        emit DataArrival(datagram.size());
        current.clear();
    }

    bool bound = false;
    bool failBind = false;
    bool allTaken = false;
    int localPort = 0;
    int takes = 0;
    int binds = 0;
    int probes = 0;
    QList<int> taken;
    QString remoteHost;
    int remotePort = 0;
    QList<QByteArray> sent;
    QByteArray current;
    bool currentFromRemote = true;
};

} // namespace testing_support
