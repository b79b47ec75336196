#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace match {

// Mode not 0: the moment n seconds after 1970-01-01 00:00 (no time-zone
// shift), "hh:mm:ss" when the room's match mode is 1, else "MM-DD hh:mm:ss".
// Mode 0: the duration n in seconds ("1天1小时1分1秒", "0秒").
QString TimeNumToStr(int32_t n, int16_t mode, int16_t roomMatchMode);

// The moment (seconds since 1970-01-01) a time text of TimeNumToStr names.
// The texts carry no year ("MM-DD hh:mm:ss") or no date ("hh:mm:ss"), so
// the occurrence nearest to `serverClock` is taken: a start just after
// midnight or New Year lies after one just before it. With no server clock
// yet (0) the text is read in 1970, the day-one reading. Nothing when the
// text is no time text.
std::optional<int64_t> TimeTextMoment(const QString& text, int64_t serverClock);

// True when time text `a` names a later moment than `b`, both read by
// TimeTextMoment; false when either is no time text.
bool TimeTextLater(const QString& a, const QString& b, int64_t serverClock);

// Hours, minutes and seconds of n, two digits each at least ("01:02:05");
// "00:00:00" for 0 or less.
QString StrDuration(int32_t n);

} // namespace match
