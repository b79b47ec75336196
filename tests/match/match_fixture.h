#pragma once

#include "app/client.h"
#include "match/match.h"
#include "match/match_download.h"
#include "platform/gbk.h"
#include "support/frame_builder.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace match_testing {

// A small GBK match-info document with one match type (id 7, 周赛).
inline QByteArray SampleDocument(const QString& matchName = QStringLiteral("周赛"))
{
    return platform::gbk::Encode(
        QStringLiteral("<?xml version=\"1.0\" encoding=\"GBK\"?>\n<info>"
                       "<item n=\"1\"><g1 id=\"15\" na=\"香烟\" des=\"\" un=\"包\" sid=\"1\" price=\"20\" pricenorth=\"18\"/></item>"
                       "<room_chip n=\"1\"><roomchipnum1 id=\"other\" num=\"800\"/></room_chip>"
                       "<matchinfo n=\"1\"><m1 id=\"7\" na=\"%1\" rm=\"\" mtype=\"2\" ex=\"g:500;15:1\" ut=\"64\" "
                       "utl=\"8\" des=\"\" rl=\"\" pz=\"1;g:1000\"/></matchinfo></info>")
            .arg(matchName));
}

inline QString Md5Of(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

// A kind-80 frame: the MD5 at 16, the address from 48 (GBK), its NUL, then
// session, region, VIP and the reserve (little-endian).
inline protocol::GameFrame Announcement(const QString& md5, const QString& url, int region = 1,
                                        uint32_t reserve = 0)
{
    protocol::GameFrame f = testing_support::ServerFrame(protocol::MsgMatchInfoUrl);
    const QByteArray m = platform::gbk::Encode(md5).left(32);
    std::copy(m.begin(), m.end(), f.begin() + 16);
    const QByteArray u = platform::gbk::Encode(url).left(208);
    std::copy(u.begin(), u.end(), f.begin() + 48);
    const int nul = 48 + static_cast<int>(u.size());
    if (nul + 7 < protocol::kFrameSize) {
        f[static_cast<std::size_t>(nul + 2)] = static_cast<uint8_t>(region);
        for (int i = 0; i < 4; ++i)
            f[static_cast<std::size_t>(nul + 4 + i)] = static_cast<uint8_t>(reserve >> (8 * i));
    }
    return f;
}

// A client with a data folder of its own.
struct MatchFixture : ::testing::Test {
    QTemporaryDir root;
    testing_support::TestClient t;
    Client& c = t.client;

    MatchFixture()
    {
        c.core.DataPath = root.path() + QStringLiteral("/data");
        QDir().mkpath(c.core.DataPath);
        match::InitMatch(c);
    }

    QString Folder() const { return root.path() + QStringLiteral("/data/matches"); }
    QString Stored(const QString& name) const { return Folder() + QLatin1Char('/') + name; }

    void Store(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(Folder());
        QFile f(Stored(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Read(const QString& name) const
    {
        QFile f(Stored(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Every file under the temporary root, relative to it.
    QStringList AllFiles() const
    {
        QStringList out;
        QDirIterator it(root.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << QDir(root.path()).relativeFilePath(it.next());
        out.sort();
        return out;
    }

    void Announce(const QString& md5, const QString& url, int region = 1, uint32_t reserve = 0)
    {
        match::HandleMatchFrame(c, Announcement(md5, url, region, reserve));
    }

    bool ButtonsOff()
    {
        window::MainForm& f = *c.MainForm;
        return !f.ImgShowMatch.Visible && !f.ImgShowMatch.Enabled && !f.ImgShowSort.Visible &&
               !f.ImgShowSort.Enabled && !f.ImgOpenMatchBtn.Visible && !f.ImgOpenMatchBtn.Enabled;
    }
    void ButtonsOn()
    {
        window::MainForm& f = *c.MainForm;
        for (platform::Image* img : {static_cast<platform::Image*>(&f.ImgShowMatch),
                                     static_cast<platform::Image*>(&f.ImgShowSort), &f.ImgOpenMatchBtn}) {
            img->SetVisible(true);
            img->Enabled = true;
        }
    }
};

} // namespace match_testing
