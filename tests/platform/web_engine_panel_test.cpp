// The real web panels: a page served by the test on 127.0.0.1, loaded by the
// browser engine under the offscreen platform. The engine starts once per
// test program run, so these tests are few.
#include "platform/webengine/web_engine_panel.h"

#include "app/client.h"
#include "support/fake_prop_plugin.h"
#include "support/fakes.h"
#include "support/panel_fakes.h"
#include "support/test_client.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWebEngineView>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace testing_support;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

constexpr int kLoadLimitMs = 20000;

// Lets events run until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& done, int ms = kLoadLimitMs)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

// A web server of one page: /page answers a small HTML page, any other path
// 404 Not Found.
class PageServer {
public:
    PageServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection())
                QObject::connect(s, &QTcpSocket::readyRead, s, [s] { Answer(s); });
        });
    }
    QString Url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }

private:
    static void Answer(QTcpSocket* s)
    {
        const QByteArray request = s->readAll();
        const bool found = request.startsWith("GET /page ");
        const QByteArray body = found ? "<html><body><p>ad</p></body></html>" : "<html><body>none</body></html>";
        s->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                 QByteArray("Content-Type: text/html\r\nConnection: close\r\nContent-Length: ") +
                 QByteArray::number(body.size()) + "\r\n\r\n" + body);
        s->disconnectFromHost();
    }
    QTcpServer server_;
};

// A client like the tests' own, with the real web panels.
struct EngineClient {
    FakeClock clock;
    RecordingProcess process;
    RecordingDialogs dialogs;
    FakeTcpLink tcp;
    FakeLobbyLink lobby;
    platform::InstanceLock instance{TestClient::UniqueLockName()};
    RecordingSoundDevice sound;
    platform::EngineWebPanels web;
    RecordingShell shell;
    FakeUdpLink udp;
    FakePropPluginLoader plugins;
    Client client{{clock, process, dialogs, tcp, lobby, instance, sound, web, shell, udp, plugins}};
};

class EnginePanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (kSanitized)
            GTEST_SKIP() << "the browser engine's own code trips AddressSanitizer";
        // As root the engine runs only without its sandbox.
        if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    }
};

} // namespace

TEST_F(EnginePanelTest, FirstPanelShowsALoadedPageAndHidesOnAnError)
{
    PageServer server;
    EngineClient t;
    window::LayoutPlayControls(t.client);
    window::MainForm& f = *t.client.MainForm;
    f.show();
    platform::WebPanel& panel = *f.WebBrowser1;
    ASSERT_TRUE(panel.isHidden());
    EXPECT_EQ(panel.findChild<QWebEngineView*>(), nullptr) << "no engine before the first page";

    panel.Navigate(server.Url(QStringLiteral("/page")));
    ASSERT_TRUE(WaitFor([&] { return !panel.isHidden(); })) << "the page did not load";
    EXPECT_EQ(panel.pos(), QPoint(938, 682));
    EXPECT_EQ(panel.LocationURL(), server.Url(QStringLiteral("/page")));
    auto* view = panel.findChild<QWebEngineView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_EQ(view->size(), panel.size());

    panel.Navigate(server.Url(QStringLiteral("/missing")));
    ASSERT_TRUE(WaitFor([&] { return t.client.window.WebNavError != 0; })) << "no error for a missing page";
    EXPECT_TRUE(panel.isHidden());
}

TEST_F(EnginePanelTest, SecondPanelHidesWhenTheServerIsNotThere)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    EngineClient t;
    window::MainForm& f = *t.client.MainForm;
    f.show();
    platform::WebPanel& panel = *f.WebBrowser2;
    int errors = 0;
    int status = 0;
    QObject::connect(&panel, &platform::WebPanel::NavigateError, [&](const QString&, int code) {
        ++errors;
        status = code;
    });
    panel.show();
    panel.Navigate(QStringLiteral("http://127.0.0.1:%1/show.html").arg(closedPort));
    ASSERT_TRUE(WaitFor([&] { return errors > 0; })) << "no error for a refused connection";
    EXPECT_LT(status, 0) << "a network error";
    EXPECT_TRUE(panel.isHidden());
}

TEST(EnginePanel, AsRootWithTheSandboxOnAPanelFailsItsPagesInsteadOfEndingTheProcess)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root starts the engine without its sandbox";
    const QByteArray saved = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    QWidget parent;
    platform::EngineWebPanel panel(&parent, QStringLiteral("WebBrowser1"));
    int errors = 0;
    QObject::connect(&panel, &platform::WebPanel::NavigateError, [&] { ++errors; });
    panel.Navigate(QStringLiteral("http://127.0.0.1:9/page"));
    EXPECT_EQ(errors, 0);
    EXPECT_TRUE(WaitFor([&] { return errors == 1; }, 2000));
    EXPECT_EQ(panel.findChild<QWebEngineView*>(), nullptr);
    if (!saved.isEmpty())
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", saved);
}
