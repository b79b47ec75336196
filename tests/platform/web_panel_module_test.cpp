// The real web panels: the browser-engine module, loaded with a panel's first
// address, and a page served by the test on 127.0.0.1 under the offscreen
// platform. The engine starts once per test program run, so the tests that
// start it are few. A module that is missing or broken fails the pages.
#include "platform/web_panel_module.h"

#include "app/client.h"
#include "support/fake_prop_plugin.h"
#include "support/fakes.h"
#include "support/panel_fakes.h"
#include "support/test_client.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <dlfcn.h>
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

// As the program does in main: the engine, loaded after the application
// exists, needs the application's shared OpenGL context.
const bool kSharedContexts = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return true;
}();

// The browser engine's view inside a panel, found by its class name: the
// test program does not link the engine.
QWidget* EngineViewOf(const QWidget& panel)
{
    for (QWidget* w : panel.findChildren<QWidget*>())
        if (w->inherits("QWebEngineView"))
            return w;
    return nullptr;
}

// Whether the process has loaded the library file at path.
bool ProcessHasLoaded(const QString& path)
{
    void* handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        ::dlclose(handle);
    return handle != nullptr;
}

// Collects the warnings logged while it lives.
class WarningLog {
public:
    WarningLog()
    {
        current_ = this;
        previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtWarningMsg)
                current_->lines << text;
        });
    }
    ~WarningLog()
    {
        qInstallMessageHandler(previous_);
        current_ = nullptr;
    }
    QStringList lines;

private:
    static inline WarningLog* current_ = nullptr;
    QtMessageHandler previous_;
};

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
    platform::ModuleWebPanels web{QStringLiteral(MJ_WEBENGINE_MODULE)};
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
    EXPECT_EQ(EngineViewOf(panel), nullptr) << "no engine before the first page";

    panel.Navigate(server.Url(QStringLiteral("/page")));
    ASSERT_TRUE(WaitFor([&] { return !panel.isHidden(); })) << "the page did not load";
    EXPECT_EQ(panel.pos(), QPoint(938, 682));
    EXPECT_EQ(panel.LocationURL(), server.Url(QStringLiteral("/page")));
    QWidget* view = EngineViewOf(panel);
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
    platform::ModuleWebPanels panels(QStringLiteral(MJ_WEBENGINE_MODULE));
    platform::WebPanel& panel = *panels.Create(&parent, QStringLiteral("WebBrowser1"));
    int errors = 0;
    QObject::connect(&panel, &platform::WebPanel::NavigateError, [&] { ++errors; });
    panel.Navigate(QStringLiteral("http://127.0.0.1:9/page"));
    EXPECT_EQ(errors, 0);
    EXPECT_TRUE(WaitFor([&] { return errors == 1; }, 2000));
    EXPECT_EQ(EngineViewOf(panel), nullptr);
    if (!saved.isEmpty())
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", saved);
}

TEST_F(EnginePanelTest, TheEngineModuleIsLoadedWithTheFirstAddressAndNotBefore)
{
    PageServer server;
    // A copy of the module of its own, so that no other test has loaded it.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString module = platform::WebEngineModulePath(folder.path());
    ASSERT_TRUE(QFile::copy(QStringLiteral(MJ_WEBENGINE_MODULE), module));
    platform::ModuleWebPanels panels(module);
    QWidget window;
    window.resize(400, 300);
    platform::WebPanel& panel = *panels.Create(&window, QStringLiteral("WebBrowser1"));
    panel.setGeometry(10, 10, 82, 80);
    panel.show();
    window.show();
    int completed = 0;
    QObject::connect(&panel, &platform::WebPanel::DocumentComplete, [&] { ++completed; });

    // Shown, painted and given an address that is refused: still no engine.
    panel.Navigate(QStringLiteral("file:///etc/hostname"));
    WaitFor([] { return false; }, 100);
    EXPECT_FALSE(panels.Module().IsLoaded());
    EXPECT_FALSE(ProcessHasLoaded(module));
    EXPECT_EQ(EngineViewOf(panel), nullptr);

    panel.Navigate(server.Url(QStringLiteral("/page")));
    EXPECT_TRUE(panels.Module().IsLoaded());
    EXPECT_TRUE(ProcessHasLoaded(module));
    ASSERT_TRUE(WaitFor([&] { return completed == 1; })) << "the page did not load";
    EXPECT_EQ(panel.LocationURL(), server.Url(QStringLiteral("/page")));
    QWidget* view = EngineViewOf(panel);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->geometry(), panel.rect());
    // The view follows the panel's size.
    panel.resize(200, 120);
    EXPECT_EQ(view->geometry(), QRect(0, 0, 200, 120));
}

// Every page of a panel whose module cannot be used fails the way a page
// that cannot be reached fails, from the event loop; the panel stays empty
// and the reason is logged once.
TEST(ModuleWebPanel, WithoutAUsableModuleEveryPageFailsAndTheReasonIsLoggedOnce)
{
    struct Case {
        const char* name;
        std::function<void(const QString& path)> make;
        const char* logged;
    };
    const Case cases[] = {
        {"missing", [](const QString&) {}, "no browser engine module at"},
        {"not a library",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("not a library");
         },
         "web panels stay empty: "},
        {"a library without the factory",
         [](const QString& path) {
             ASSERT_TRUE(QFile::copy(QStringLiteral(MJ_TEST_PLUGIN_FOLDER "/plugin/tools/Tamsel.so"), path));
         },
         "has no mj_create_web_engine_view"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString module = platform::WebEngineModulePath(folder.path());
        c.make(module);
        WarningLog log;
        platform::ModuleWebPanels panels(module);
        QWidget window;
        platform::WebPanel& panel = *panels.Create(&window, QStringLiteral("WebBrowser2"));
        QList<QPair<QString, int>> errors;
        QObject::connect(&panel, &platform::WebPanel::NavigateError,
                         [&](const QString& url, int status) { errors.append({url, status}); });
        window.show();
        panel.show();

        const QString first = QStringLiteral("http://127.0.0.1:9/show.html");
        panel.Navigate(first);
        EXPECT_TRUE(errors.isEmpty()) << "reported from the event loop, as a page is";
        ASSERT_TRUE(WaitFor([&] { return errors.size() == 1; }, 2000));
        EXPECT_EQ(errors[0], qMakePair(first, -1));
        EXPECT_EQ(panel.LocationURL(), first);

        const QString second = QStringLiteral("https://example.invalid/ad.html");
        panel.Navigate(second);
        ASSERT_TRUE(WaitFor([&] { return errors.size() == 2; }, 2000));
        EXPECT_EQ(errors[1], qMakePair(second, -1));
        EXPECT_FALSE(panels.Module().IsLoaded());
        EXPECT_EQ(EngineViewOf(panel), nullptr);
        ASSERT_EQ(log.lines.size(), 1) << log.lines.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(log.lines[0].contains(QLatin1String(c.logged))) << log.lines[0].toStdString();
    }
}

TEST(ModuleWebPanel, ModuleLiesBesideTheProgram)
{
    EXPECT_EQ(platform::WebEngineModulePath(QStringLiteral("/opt/mj")), QStringLiteral("/opt/mj/mjclient_webengine.so"));
}
