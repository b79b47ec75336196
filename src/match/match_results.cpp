#include "match/match_results.h"

#include "app/client.h"
#include "match/match.h"
#include "window/main_form.h"

#include <QFontMetricsF>
#include <QPainter>

namespace match {

QFont SortBoardFont(int pointSize)
{
    QFont font(QStringLiteral("宋体"));
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    font.setPointSize(pointSize);
    return font;
}

void PrintLayer::AttachTo(platform::PictureBox& box)
{
    if (Surface() != &box) {
        box.Add(this);
        ZOrder(1);
    }
    Move(0, 0, static_cast<float>(box.width()), static_cast<float>(box.height()));
}

void PrintLayer::Cls()
{
    Lines.clear();
    Refresh();
}

void PrintLayer::Print(float x, float y, const QString& text, uint32_t color, int pointSize)
{
    Lines.push_back(PrintedText{x, y, text, color, pointSize});
}

double PrintLayer::TextHeight(int pointSize) { return QFontMetricsF(SortBoardFont(pointSize)).height(); }

void PrintLayer::Paint(QPainter& painter) const
{
    for (const PrintedText& t : Lines) {
        const QFont font = SortBoardFont(t.pointSize);
        painter.setFont(font);
        painter.setPen(platform::ColorFromBgr(static_cast<int32_t>(t.color)));
        painter.drawText(QPointF(Left + t.x, Top + t.y + QFontMetricsF(font).ascent()), t.text);
    }
}

bool DrawSortList(const MatchState& m, PrintLayer& pic, const std::vector<SortEntry>& rows, QString& current,
                  QString& pages, QString& label, int16_t& first)
{
    const int u = rows.empty() ? 0 : static_cast<int>(rows.size()) - 1;
    if (u <= 0) {
        pic.Cls();
        return false;
    }
    const int pageCount = u / 10 + (u % 10 != 0 ? 1 : 0);
    pages = QString::number(pageCount);
    const int lastPageFirst = (pageCount - 1) * 10 + 1;
    if (first >= u)
        first = static_cast<int16_t>(lastPageFirst);
    if ((first - 1) % 10 != 0)
        first = static_cast<int16_t>(lastPageFirst);
    const int page = (first - 1) / 10 + 1;
    current = QString::number(page);
    label = current + QLatin1Char('/') + pages;
    const bool result = pageCount > 1;

    pic.Cls();
    double h = PrintLayer::TextHeight(12);
    const float x0 = m.SortLeft;
    const float x1 = x0 + static_cast<float>(m.SortColumnWidths[0]);
    const float x2 = x1 + static_cast<float>(m.SortColumnWidths[1]);
    const float headerY = static_cast<float>(m.SortTop + (m.SortRowHeight - h) / 2);
    pic.Print(x0, headerY, QStringLiteral("名次"), m.SortHeaderColor, 12);
    pic.Print(x1, headerY, QStringLiteral("昵称"), m.SortHeaderColor, 12);
    pic.Print(x2, headerY, QStringLiteral("积分"), m.SortHeaderColor, 12);
    h = PrintLayer::TextHeight(11);
    for (int i = 0; i <= 9; ++i) {
        const int p = first + i;
        if (p > u)
            break; // a first place at or past the last row prints no further
        const uint32_t color = p >= 1 && p <= 3 ? m.SortPlaceColors[static_cast<std::size_t>(p - 1)] : m.SortPlaceColors[3];
        const float y = static_cast<float>(m.SortTop + (i + 1) * m.SortRowHeight + (m.SortRowHeight - h) / 2 + 3);
        const SortEntry& row = rows[static_cast<std::size_t>(p)];
        pic.Print(x0, y, QString::number(p), color, 11);
        pic.Print(x1, y, row.nickname, color, 11);
        pic.Print(x2, y, QString::number(row.points), color, 11);
        if (p == u)
            break;
    }
    pic.Refresh();
    return result;
}

bool DrawSortList(Client& c, const std::vector<SortEntry>& rows, QString& current, QString& pages, QString& label,
                  int16_t& first)
{
    c.match.SortPrint.AttachTo(*c.MainForm->Pic_sortDetail);
    return DrawSortList(c.match, c.match.SortPrint, rows, current, pages, label, first);
}

} // namespace match
