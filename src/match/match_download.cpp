#include "match/match_download.h"

#include "app/client.h"
#include "core/md5.h"
#include "match/match.h"
#include "match/match_list_page.h"
#include "match/match_panel.h"
#include "platform/gbk.h"
#include "platform/http_get.h"
#include "protocol/kinds.h"
#include "window/main_form.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

namespace match {

namespace {

namespace mib = protocol::match_info_byte;

// The bytes of a GBK text from `start` through `last` at most: a NUL where a
// character would start ends it, and a lead byte takes the byte after it even
// past `last`. `next` gets the byte right after the text.
QByteArray ReadText(const protocol::GameFrame& f, int start, int last, int& next)
{
    QByteArray bytes;
    int pos = start;
    while (pos <= last) {
        const uint8_t b = f[static_cast<std::size_t>(pos)];
        if (b == 0)
            break;
        if (b >= 0x80 && pos + 1 < protocol::kFrameSize) {
            bytes.append(static_cast<char>(b));
            bytes.append(static_cast<char>(f[static_cast<std::size_t>(pos + 1)]));
            pos += 2;
        } else {
            bytes.append(static_cast<char>(b));
            ++pos;
        }
    }
    next = pos;
    return bytes;
}

void ClearMatchFlags(MatchState& m) { m.MatchInfoDownloading = m.MatchDataReady = m.MatchPanelReady = 0; }

// The match buttons go off; the panel and download flags keep their values.
void SwitchMatchButtonsOff(Client& c)
{
    c.match.MatchDataReady = 0;
    window::MainForm& f = *c.MainForm;
    for (platform::Image* img : {static_cast<platform::Image*>(&f.ImgShowMatch),
                                 static_cast<platform::Image*>(&f.ImgShowSort), &f.ImgOpenMatchBtn}) {
        img->SetVisible(false);
        img->Enabled = false;
    }
}

// Stops a transfer of an earlier announcement: its answer would be checked
// against this one's MD5.
void DropRunningDownload(Client& c)
{
    if (c.plat.http && c.plat.http->Busy()) {
        c.plat.http->Cancel();
        c.match.MatchInfoDownloading = 0;
    }
}

void Refused(Client& c, const char* why, const QString& what)
{
    qWarning("match-info document refused: %s: %s", why, qUtf8Printable(what.left(80)));
    ClearMatchFlags(c.match);
}

} // namespace

MatchInfoAnnouncement DecodeMatchInfoUrl(const protocol::GameFrame& frame)
{
    MatchInfoAnnouncement a;
    int next = 0;
    a.md5 = platform::gbk::Decode(ReadText(frame, mib::Md5, mib::Md5Last, next));
    a.url = platform::gbk::Decode(ReadText(frame, mib::Url, mib::UrlLast, next));
    a.afterUrl = next;
    // The settings follow the address's NUL; the last of them ends at byte
    // 264 at most (an address through byte 255 whose last byte is a lead).
    a.hasSettings = frame[static_cast<std::size_t>(next)] == 0;
    if (a.hasSettings) {
        a.region = frame[static_cast<std::size_t>(next + mib::RegionAfterUrl)];
        const int r = next + mib::ReserveAfterUrl;
        for (int i = 0; i < 4; ++i)
            a.reserve |= static_cast<uint32_t>(frame[static_cast<std::size_t>(r + i)]) << (8 * i);
    }
    return a;
}

QString MatchFolder(Client& c)
{
    if (c.core.DataPath.isEmpty())
        return QString();
    const QString folder = c.core.DataPath + QStringLiteral("/matches");
    if (!QDir().mkpath(folder))
        return QString();
    return folder;
}

bool IsPlainMatchFileName(const QString& name)
{
    static const QRegularExpression kPlain(QStringLiteral("^[A-Za-z0-9_-][A-Za-z0-9._-]{0,63}$"));
    if (!kPlain.match(name).hasMatch())
        return false;
    // The download target and the files the program keeps itself.
    static const QStringList kOwn = {
        QStringLiteral("tmp.xml"),      QStringLiteral("info.zq"),    QStringLiteral("chat.ini"),
        QStringLiteral("rule.ini"),     QStringLiteral("userinfo.ini"), QStringLiteral("jadetask.xml"),
        QStringLiteral("gm.log.txt"),   QStringLiteral("tamsel.so"),
    };
    return !kOwn.contains(name.toLower());
}

bool GetMatchFileName(Client& c)
{
    MatchState& m = c.match;
    if (m.MatchInfoMd5.isEmpty() || m.MatchInfoUrl.isEmpty()) {
        m.MatchDataReady = m.MatchPanelReady = 0;
        m.MatchInfoFile.clear();
        return false;
    }
    const QString name = m.MatchInfoUrl.section(QLatin1Char('/'), -1).trimmed();
    if (name.isEmpty()) {
        m.MatchInfoFile.clear();
        m.MatchPanelReady = 0;
        return false;
    }
    // The name comes from the server: only a plain name of our own folder,
    // and only from a web address; otherwise the matches stay off.
    if (!IsPlainMatchFileName(name) || !platform::IsWebAddress(QUrl(m.MatchInfoUrl))) {
        qWarning("match-info address refused: %s", qUtf8Printable(m.MatchInfoUrl.left(80)));
        m.MatchInfoFile.clear();
        m.MatchPanelReady = 0;
        SwitchMatchButtonsOff(c);
        return false;
    }
    m.MatchInfoFile = name;
    return true;
}

bool checkMd5(Client& c)
{
    MatchState& m = c.match;
    const QString folder = MatchFolder(c);
    if (m.MatchInfoMd5.isEmpty() || m.MatchInfoFile.isEmpty() || folder.isEmpty()) {
        m.MatchPanelReady = 0;
        return false;
    }
    const QString path = folder + QLatin1Char('/') + m.MatchInfoFile;
    if (!QFileInfo(path).isFile()) {
        m.MatchPanelReady = 0;
        return false;
    }
    return core::FileMD5(path).compare(m.MatchInfoMd5, Qt::CaseInsensitive) == 0;
}

void MsgMatchInfoUrl(Client& c, const protocol::GameFrame& frame)
{
    MatchState& m = c.match;
    m.MatchListReceived = 0;
    m.MatchInstances.assign(1, MatchInstance{});
    DropRunningDownload(c);

    const MatchInfoAnnouncement a = DecodeMatchInfoUrl(frame);
    m.MatchInfoUrl = a.url;
    if (a.hasSettings) {
        m.MatchPanelMode = a.region == 0 ? 2 : a.region;
        m.ReservedMoney = a.reserve == 0 ? 200.0 : static_cast<double>(a.reserve);
    }
    m.MatchInfoUrl = m.MatchInfoUrl.trimmed();
    if (m.MatchInfoUrl.isEmpty()) {
        SwitchMatchButtonsOff(c);
        return;
    }
    m.MatchInfoMd5 = a.md5.trimmed();
    if (m.MatchInfoMd5.isEmpty()) {
        SwitchMatchButtonsOff(c);
        return;
    }
    if (!GetMatchFileName(c))
        return;
    if (checkMd5(c)) {
        BuildMatchPanel(c);
        if (GetAllMatch(c)) {
            m.MatchDataReady = m.MatchInfoLoaded = -1;
        } else {
            m.MatchDataReady = m.MatchPanelReady = 0;
        }
        return;
    }
    m.MatchInfoDownloading = -1;
    if (!c.plat.http) {
        Refused(c, "no transfer", m.MatchInfoUrl);
        return;
    }
    c.plat.http->Get(QUrl(m.MatchInfoUrl), [&c](const platform::HttpReply& reply) { OnMatchInfoFetched(c, reply); });
}

void OnMatchInfoFetched(Client& c, const platform::HttpReply& reply)
{
    MatchState& m = c.match;
    if (reply.outcome != platform::HttpReply::Outcome::Ok) {
        Refused(c, "transfer failed", reply.error);
        return;
    }
    if (m.AppClosing) {
        ClearMatchFlags(m);
        return;
    }
    const QString folder = MatchFolder(c);
    if (folder.isEmpty() || m.MatchInfoFile.isEmpty()) {
        Refused(c, "no folder to keep it in", folder);
        return;
    }
    const QString tmp = folder + QStringLiteral("/tmp.xml");
    const QString path = folder + QLatin1Char('/') + m.MatchInfoFile;
    QFile::remove(tmp);
    {
        QFile out(tmp);
        if (!out.open(QIODevice::WriteOnly) || out.write(reply.body) != reply.body.size() || !out.flush()) {
            QFile::remove(tmp);
            Refused(c, "cannot write", tmp);
            return;
        }
    }
    if (core::FileMD5(tmp).compare(m.MatchInfoMd5, Qt::CaseInsensitive) != 0) {
        QFile::remove(tmp);
        Refused(c, "MD5 differs from the announced one", m.MatchInfoUrl);
        return;
    }
    // rename() replaces the stored copy in one step: a reader sees the old
    // document or the new one, never a part.
    if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(tmp);
        Refused(c, "cannot replace", path);
        return;
    }
    if (!checkMd5(c)) {
        Refused(c, "unreadable document", path);
        return;
    }
    BuildMatchPanel(c);
    if (!GetAllMatch(c)) {
        Refused(c, "unreadable document", path);
        return;
    }
    const bool listReceived = m.MatchListReceived != 0;
    m.MatchDataReady = m.MatchInfoLoaded = -1;
    m.MatchInfoDownloading = 0;
    // Instance states that came before the document: the list and the
    // match buttons follow.
    if (listReceived)
        CompleteMatchPanel(c);
}

} // namespace match
