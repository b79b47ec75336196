// The table server: one table of four seats on 127.0.0.1, for local play and
// end-to-end tests. See PROTOCOL.md and the README for its options.
#include "match_info_web.h"
#include "server.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <fstream>
#include <sstream>

using tableserver::ServerOptions;
using tableserver::TableServer;

namespace {

bool ReadNumber(const QCommandLineParser& p, const QString& name, qint64 min, qint64 max, qint64& out)
{
    if (!p.isSet(name))
        return true;
    bool ok = false;
    const qint64 v = p.value(name).toLongLong(&ok);
    if (!ok || v < min || v > max) {
        std::fprintf(stderr, "tableserver: --%s wants a number from %lld to %lld\n", qPrintable(name),
                     static_cast<long long>(min), static_cast<long long>(max));
        return false;
    }
    out = v;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tableserver"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("A Mahjong table of four seats on 127.0.0.1."));
    p.addHelpOption();
    p.addOptions({
        {QStringLiteral("port"), QStringLiteral("TCP port on 127.0.0.1 (0: any free port)."), QStringLiteral("N"),
         QStringLiteral("0")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the deals, dice and robots (default: the clock)."),
         QStringLiteral("N")},
        {QStringLiteral("hands"), QStringLiteral("Stop after N hands (0: never)."), QStringLiteral("N"),
         QStringLiteral("0")},
        {QStringLiteral("robot-wait"),
         QStringLiteral("Seconds after the first login before robots take the free seats."),
         QStringLiteral("SECONDS"), QStringLiteral("5")},
        {QStringLiteral("robot-delay"),
         QStringLiteral("Milliseconds a robot thinks before it acts (paces the game)."), QStringLiteral("MS"),
         QStringLiteral("700")},
        {QStringLiteral("countdown"),
         QStringLiteral("Seconds a turn prompt gives a player to decide (2-99)."), QStringLiteral("SECONDS"),
         QStringLiteral("15")},
        {QStringLiteral("preset"),
         QStringLiteral("Play the hands of this preset game first (walls, dice, robot choices; see PROTOCOL.md)."),
         QStringLiteral("FILE")},
        {QStringLiteral("trace"), QStringLiteral("Print every frame both ways, one line each.")},
        {QStringLiteral("match-info"),
         QStringLiteral("Serve this match-info document over HTTP on 127.0.0.1 and announce it after every login."),
         QStringLiteral("FILE")},
        {QStringLiteral("match"),
         QStringLiteral("Run a small match on the table: match type 101 of the document, each session announced "
                        "a minute ahead (see --match-lead) and lasting two hands.")},
        {QStringLiteral("match-lead"), QStringLiteral("Seconds between announcing a match session and its start."),
         QStringLiteral("SECONDS"), QStringLiteral("60")},
        {QStringLiteral("match-auto-sign"),
         QStringLiteral("Tell clients to sign up by themselves this many seconds before a session starts (0: not sent)."),
         QStringLiteral("SECONDS"), QStringLiteral("0")},
        {QStringLiteral("report-fee"), QStringLiteral("Offer every seat to report a cheater in every hand for this fee (0: no offer)."),
         QStringLiteral("COINS"), QStringLiteral("0")},
        {QStringLiteral("goods"),
         QStringLiteral("Players have goods: a bag of cigarettes after login, purchases, bets and prize lists.")},
        {QStringLiteral("cigarette-price"), QStringLiteral("Coins a cigarette costs (with --goods)."),
         QStringLiteral("COINS"), QStringLiteral("20")},
        {QStringLiteral("rewards"),
         QStringLiteral("After every Nth hand give each player a lottery prize of 5000 and a jade reward of 12 "
                        "(0: never)."),
         QStringLiteral("N"), QStringLiteral("0")},
    });
    p.process(app);

    ServerOptions o;
    qint64 port = 0, seed = QDateTime::currentMSecsSinceEpoch() & 0x7FFFFFFF, hands = 0, wait = 5, delay = 700,
           countdown = 15, reportFee = 0, matchLead = 60, cigarettePrice = 20, autoSign = 0, rewards = 0;
    if (!ReadNumber(p, QStringLiteral("port"), 0, 65535, port)
        || !ReadNumber(p, QStringLiteral("seed"), 0, INT64_MAX, seed)
        || !ReadNumber(p, QStringLiteral("hands"), 0, 1000000, hands)
        || !ReadNumber(p, QStringLiteral("robot-wait"), 0, 3600, wait)
        || !ReadNumber(p, QStringLiteral("robot-delay"), 0, 60000, delay)
        || !ReadNumber(p, QStringLiteral("countdown"), 2, 99, countdown)
        || !ReadNumber(p, QStringLiteral("report-fee"), 0, INT64_MAX, reportFee)
        || !ReadNumber(p, QStringLiteral("match-lead"), 1, 86400, matchLead)
        || !ReadNumber(p, QStringLiteral("cigarette-price"), 1, 1000000, cigarettePrice)
        || !ReadNumber(p, QStringLiteral("match-auto-sign"), 0, 86400, autoSign)
        || !ReadNumber(p, QStringLiteral("rewards"), 0, 1000000, rewards))
        return 2;
    o.port = static_cast<quint16>(port);
    o.trace = p.isSet(QStringLiteral("trace"));
    o.table.seed = static_cast<uint64_t>(seed);
    o.table.hands = static_cast<int>(hands);
    o.table.robotWaitMs = static_cast<int>(wait * 1000);
    o.table.robotDelayMs = static_cast<int>(delay);
    o.table.countdownSeconds = static_cast<int>(countdown);
    o.table.reportFee = static_cast<uint64_t>(reportFee);
    o.table.match.on = p.isSet(QStringLiteral("match"));
    o.table.match.signUpSeconds = static_cast<int>(matchLead);
    o.table.match.epochAtZero = QDateTime::currentSecsSinceEpoch();
    o.table.wallet.on = p.isSet(QStringLiteral("goods"));
    o.table.wallet.cigarettePrice = static_cast<int32_t>(cigarettePrice);
    o.table.match.autoSignLead = static_cast<int32_t>(autoSign);
    o.table.rewardsEvery = static_cast<int>(rewards);
    if (p.isSet(QStringLiteral("preset"))) {
        const std::string path = p.value(QStringLiteral("preset")).toStdString();
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        if (in)
            text << in.rdbuf();
        if (!in) {
            std::fprintf(stderr, "tableserver: cannot read the preset %s\n", path.c_str());
            return 2;
        }
        std::string error;
        const auto preset = tableserver::ParsePreset(text.str(), error);
        if (!preset) {
            std::fprintf(stderr, "tableserver: preset %s: %s\n", path.c_str(), error.c_str());
            return 2;
        }
        o.table.preset = *preset;
    }

    // The match-info document: served on a port of its own, announced with
    // its address and MD5 after every accepted login.
    std::unique_ptr<tableserver::MatchInfoWeb> web;
    if (p.isSet(QStringLiteral("match-info"))) {
        const QString path = p.value(QStringLiteral("match-info"));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() > 4 * 1024 * 1024) {
            std::fprintf(stderr, "tableserver: cannot read the match-info document %s (at most 4 MiB)\n",
                         qPrintable(path));
            return 2;
        }
        web = std::make_unique<tableserver::MatchInfoWeb>(QFileInfo(path).fileName(), file.readAll());
        if (!web->Listen()) {
            std::fprintf(stderr, "tableserver: cannot serve the match-info document on 127.0.0.1\n");
            return 1;
        }
        if (o.trace)
            web->SetLog([](const QString& line) {
                std::printf("NOTE seat=- %s\n", qPrintable(line));
                std::fflush(stdout);
            });
        o.table.matchInfo.url = web->Url().toStdString();
        o.table.matchInfo.md5 = web->Md5().toStdString();
    }

    TableServer server(o);
    if (!server.Listen()) {
        std::fprintf(stderr, "tableserver: cannot listen on 127.0.0.1:%u\n", static_cast<unsigned>(o.port));
        return 1;
    }
    std::printf("tableserver listening on 127.0.0.1:%u seed=%lld\n", static_cast<unsigned>(server.Port()),
                static_cast<long long>(seed));
    if (web)
        std::printf("match-info document %s md5=%s\n", qPrintable(web->Url()), qPrintable(web->Md5()));
    std::fflush(stdout);
    QObject::connect(&server, &TableServer::finished, &app, &QCoreApplication::quit);
    return app.exec();
}
