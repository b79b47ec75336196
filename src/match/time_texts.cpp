#include "match/time_texts.h"

#include <QDateTime>
#include <QTimeZone>

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

QString StrDuration(int32_t n)
{
    if (n <= 0)
        return QStringLiteral("00:00:00");
    const auto two = [](int32_t v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(n / 3600) + QLatin1Char(':') + two(n / 60 % 60) + QLatin1Char(':') + two(n % 60);
}

} // namespace match
