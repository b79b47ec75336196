// The HTTP transfer: only web addresses are fetched, the answer always comes
// from the event loop, and a cancelled or replaced transfer never answers.
#include "platform/http_get.h"

#include "support/processes.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using platform::HttpReply;
using platform::QtHttpGet;

TEST(HttpGet, OnlyHttpAndHttpsAddressesAreFetched)
{
    const char* refused[] = {"ftp://127.0.0.1/m.xml", "file:///etc/hostname", "http:///m.xml", "m.xml",
                             "javascript:alert(1)", ""};
    for (const char* address : refused) {
        QtHttpGet http;
        bool answered = false;
        HttpReply got;
        http.Get(QUrl(QString::fromLatin1(address)), [&](const HttpReply& r) {
            answered = true;
            got = r;
        });
        EXPECT_FALSE(answered) << address << ": never inside Get";
        ASSERT_TRUE(testing_support::WaitFor([&] { return answered; }, 2000)) << address;
        EXPECT_EQ(got.outcome, HttpReply::Outcome::Refused) << address;
        EXPECT_FALSE(http.Busy());
    }
    EXPECT_TRUE(platform::IsWebAddress(QUrl(QStringLiteral("HTTPS://example.org/a"))));
}

TEST(HttpGet, ACancelledOrReplacedTransferNeverAnswers)
{
    // A server that takes connections and never answers.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    const QUrl url(QStringLiteral("http://127.0.0.1:%1/m.xml").arg(silent.serverPort()));

    QtHttpGet http(1024, 300);
    int first = 0, second = 0;
    http.Get(url, [&](const HttpReply&) { ++first; });
    EXPECT_TRUE(http.Busy());
    http.Cancel();
    EXPECT_FALSE(http.Busy());

    http.Get(url, [&](const HttpReply&) { ++first; });
    HttpReply last;
    http.Get(url, [&](const HttpReply& r) {
        ++second;
        last = r;
    });
    ASSERT_TRUE(testing_support::WaitFor([&] { return second > 0; }, 5000));
    testing_support::WaitFor([] { return false; }, 400);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(last.outcome, HttpReply::Outcome::TimedOut);
}
