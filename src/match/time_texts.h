#pragma once

#include <QString>
#include <cstdint>

namespace match {

// Mode not 0: the moment n seconds after 1970-01-01 00:00 (no time-zone
// shift), "hh:mm:ss" when the room's match mode is 1, else "MM-DD hh:mm:ss".
// Mode 0: the duration n in seconds ("1天1小时1分1秒", "0秒").
QString TimeNumToStr(int32_t n, int16_t mode, int16_t roomMatchMode);

// Hours, minutes and seconds of n, two digits each at least ("01:02:05");
// "00:00:00" for 0 or less.
QString StrDuration(int32_t n);

} // namespace match
