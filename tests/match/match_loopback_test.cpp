// The download over a real HTTP transfer against a small server on loopback:
// only a 200 answer with the announced MD5 replaces the stored copy; error
// statuses, oversized bodies, a wrong body and a silent server leave it.
#include "match_fixture.h"

#include "platform/http_get.h"
#include "support/processes.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

using namespace match_testing;
using namespace testing_support;

namespace {

// Answers every request with one fixed response (or not at all) and records
// the request lines.
class LoopbackWeb {
public:
    explicit LoopbackWeb(QByteArray response, bool answer = true) : response_(std::move(response)), answer_(answer)
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    buffers_[s] += s->readAll();
                    if (!buffers_[s].contains("\r\n\r\n") || !answer_)
                        return;
                    requests << QString::fromLatin1(buffers_[s].left(buffers_[s].indexOf("\r\n")));
                    s->write(response_);
                    s->disconnectFromHost();
                });
            }
        });
    }
    QString Url(const QString& name) const
    {
        return QStringLiteral("http://127.0.0.1:%1/files/%2").arg(server_.serverPort()).arg(name);
    }
    QStringList requests;

private:
    QTcpServer server_;
    QByteArray response_;
    bool answer_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

QByteArray Response(const QByteArray& statusLine, const QByteArray& body, bool withLength = true)
{
    QByteArray r = "HTTP/1.1 " + statusLine + "\r\nContent-Type: text/xml\r\nConnection: close\r\n";
    if (withLength)
        r += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return r + "\r\n" + body;
}

struct MatchLoopback : MatchFixture {
    platform::QtHttpGet http{16 * 1024, 1500};
    MatchLoopback() { c.plat.http = &http; }

    // Announces the sample document at the server's address and waits for
    // the transfer to end.
    void FetchFrom(LoopbackWeb& web, const QByteArray& announced)
    {
        Announce(Md5Of(announced), web.Url(QStringLiteral("m.xml")));
        ASSERT_EQ(c.match.MatchInfoDownloading, -1);
        ASSERT_TRUE(WaitFor([&] { return c.match.MatchInfoDownloading == 0; }, 10000));
    }
};

} // namespace

TEST_F(MatchLoopback, A200AnswerWithTheAnnouncedDocumentIsStoredAndLoaded)
{
    const QByteArray doc = SampleDocument();
    LoopbackWeb web(Response("200 OK", doc));
    FetchFrom(web, doc);
    EXPECT_EQ(web.requests, QStringList{QStringLiteral("GET /files/m.xml HTTP/1.1")});
    EXPECT_EQ(Read(QStringLiteral("m.xml")), doc);
    EXPECT_EQ(AllFiles(), QStringList{QStringLiteral("data/matches/m.xml")});
    EXPECT_EQ(c.match.MatchDataReady, -1);
    EXPECT_EQ(c.match.tables.MatchTypes[1].na, QStringLiteral("周赛"));

    // The same announcement again loads the stored copy without a request.
    Announce(Md5Of(doc), web.Url(QStringLiteral("m.xml")));
    EXPECT_EQ(c.match.MatchInfoDownloading, 0);
    EXPECT_EQ(web.requests.size(), 1);
}

TEST_F(MatchLoopback, AnythingButTheAnnouncedDocumentLeavesTheStoredCopy)
{
    const QByteArray doc = SampleDocument();
    const QByteArray old = SampleDocument(QStringLiteral("旧赛"));
    const QByteArray big(20 * 1024, 'x');
    const struct {
        const char* what;
        QByteArray response;
    } cases[] = {
        {"404", Response("404 Not Found", doc)},
        {"500", Response("500 Internal Server Error", doc)},
        {"a redirect to nowhere", Response("302 Found", QByteArray()) .replace("\r\n\r\n", "\r\nLocation: ftp://h/m\r\n\r\n")},
        {"oversized, announced", Response("200 OK", big)},
        {"oversized, unannounced", Response("200 OK", big, false)},
        {"another document", Response("200 OK", SampleDocument(QStringLiteral("假赛")))},
        {"a cut-off body", Response("200 OK", doc).chopped(10)},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        Store(QStringLiteral("m.xml"), old);
        c.match.MatchPanelReady = -1;
        LoopbackWeb web(k.response);
        FetchFrom(web, doc);
        EXPECT_EQ(web.requests.size(), 1);
        EXPECT_EQ(Read(QStringLiteral("m.xml")), old);
        EXPECT_EQ(AllFiles(), QStringList{QStringLiteral("data/matches/m.xml")});
        EXPECT_EQ(c.match.MatchDataReady, 0);
        EXPECT_EQ(c.match.MatchPanelReady, 0);
    }
}

TEST_F(MatchLoopback, ASilentServerTimesOut)
{
    const QByteArray doc = SampleDocument();
    LoopbackWeb web(Response("200 OK", doc), false);
    QElapsedTimer clock;
    clock.start();
    FetchFrom(web, doc);
    EXPECT_GE(clock.elapsed(), 1400);
    EXPECT_TRUE(AllFiles().isEmpty());
    EXPECT_EQ(c.match.MatchDataReady, 0);
}

TEST_F(MatchLoopback, TheTransferRunsWhileTheEventLoopDoesOtherWork)
{
    const QByteArray doc = SampleDocument();
    LoopbackWeb web(Response("200 OK", doc));
    Announce(Md5Of(doc), web.Url(QStringLiteral("m.xml")));
    // Announce returned at once; the answer comes from the event loop.
    EXPECT_EQ(c.match.MatchInfoDownloading, -1);
    EXPECT_TRUE(AllFiles().isEmpty());
    ASSERT_TRUE(WaitFor([&] { return c.match.MatchDataReady == -1; }, 10000));
}
