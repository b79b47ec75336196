#include "match/match_panel_text.h"

#include "core/numeric.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <limits>

namespace match {

void AutoSize(platform::Label& label)
{
    QFont font = QGuiApplication::font();
    font.setPointSizeF(std::max(1.0f, label.FontSize));
    font.setBold(label.FontBold);
    const QFontMetricsF metrics(font);
    const float w = static_cast<float>(std::ceil(metrics.horizontalAdvance(label.Caption)));
    const float h = static_cast<float>(std::ceil(metrics.height()));
    label.Move(label.Left, label.Top, w, h);
}

void SetAutoCaption(platform::Label& label, const QString& caption)
{
    label.SetCaption(caption);
    AutoSize(label);
}

int32_t TagNumber(const QString& tag)
{
    const double v = core::LeadingNumber(tag);
    if (!(v == v))
        return 0;
    return static_cast<int32_t>(std::clamp(v, static_cast<double>(std::numeric_limits<int32_t>::min()),
                                           static_cast<double>(std::numeric_limits<int32_t>::max())));
}

int16_t TagRow(const QString& tag)
{
    const int32_t v = TagNumber(tag);
    return v > 0 && v <= std::numeric_limits<int16_t>::max() ? static_cast<int16_t>(v) : 0;
}

} // namespace match
