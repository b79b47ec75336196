#include "match/time_texts.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>

#include <cstdlib>

namespace match {

namespace {

// Minutes and seconds of s (0 < s < 3600): "1分1秒", "1分", "59秒".
QString MinutesSeconds(int32_t s)
{
    QString t;
    if (s >= 60)
        t += QString::number(s / 60) + QStringLiteral("分");
    if (s % 60 > 0)
        t += QString::number(s % 60) + QStringLiteral("秒");
    return t;
}

} // namespace

QString TimeNumToStr(int32_t n, int16_t mode, int16_t roomMatchMode)
{
    if (mode != 0) {
        const QDateTime moment = QDateTime::fromSecsSinceEpoch(n, QTimeZone::utc());
        return moment.toString(roomMatchMode == 1 ? QStringLiteral("hh:mm:ss") : QStringLiteral("MM-dd hh:mm:ss"));
    }
    const int32_t days = n / 86400;
    const int32_t s = n % 86400;
    QString t;
    if (s <= 0)
        t = QStringLiteral("0秒");
    else if (s < 3600)
        t = MinutesSeconds(s);
    else
        t = QString::number(s / 3600) + QStringLiteral("小时") + MinutesSeconds(s % 3600);
    if (days > 0)
        t = QString::number(days) + QStringLiteral("天") + t;
    return t;
}

std::optional<int64_t> TimeTextMoment(const QString& text, int64_t serverClock)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:(\\d\\d)-(\\d\\d) )?(\\d\\d):(\\d\\d):(\\d\\d)$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime time(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(5).toInt());
    if (!time.isValid())
        return std::nullopt;
    const QDateTime clock = QDateTime::fromSecsSinceEpoch(serverClock > 0 ? serverClock : 0, QTimeZone::utc());
    const auto nearest = [serverClock](int64_t best, int64_t candidate) {
        if (serverClock <= 0)
            return best; // no clock: the first reading stands
        return std::llabs(candidate - serverClock) < std::llabs(best - serverClock) ? candidate : best;
    };
    std::optional<int64_t> best;
    if (m.captured(1).isEmpty()) {
        // A time of day: yesterday, today or tomorrow of the clock.
        for (int d = -1; d <= 1; ++d) {
            const QDate day = clock.date().addDays(serverClock > 0 ? d : 0);
            const int64_t t = QDateTime(day, time, QTimeZone::utc()).toSecsSinceEpoch();
            best = best ? nearest(*best, t) : t;
        }
        return best;
    }
    const int month = m.captured(1).toInt();
    const int dayOfMonth = m.captured(2).toInt();
    // A date without its year: the nearest year that has this day (a 29th
    // of February only every fourth year).
    const int year = clock.date().year();
    for (int y = year - 4; y <= year + 4; ++y) {
        const QDate day(serverClock > 0 ? y : 1970, month, dayOfMonth);
        if (!day.isValid())
            continue;
        const int64_t t = QDateTime(day, time, QTimeZone::utc()).toSecsSinceEpoch();
        best = best ? nearest(*best, t) : t;
    }
    if (!best && QDate(1972, month, dayOfMonth).isValid())
        best = QDateTime(QDate(1972, month, dayOfMonth), time, QTimeZone::utc()).toSecsSinceEpoch();
    return best;
}

bool TimeTextLater(const QString& a, const QString& b, int64_t serverClock)
{
    const std::optional<int64_t> ta = TimeTextMoment(a, serverClock);
    const std::optional<int64_t> tb = TimeTextMoment(b, serverClock);
    return ta && tb && *ta > *tb;
}

QString StrDuration(int32_t n)
{
    if (n <= 0)
        return QStringLiteral("00:00:00");
    const auto two = [](int32_t v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(n / 3600) + QLatin1Char(':') + two(n / 60 % 60) + QLatin1Char(':') + two(n % 60);
}

} // namespace match
