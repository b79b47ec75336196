#pragma once

#include "match/match_instances.h"
#include "platform/controls.h"

#include <QString>
#include <cstdint>
#include <vector>

class Client;

namespace match {

struct MatchState;

// One text printed on a picture box: its left edge and top in the box's
// pixels, the colour (0x00BBGGRR) and the font size in points.
struct PrintedText {
    float x = 0;
    float y = 0;
    QString text;
    uint32_t color = 0;
    int pointSize = 0;
};

// The persistent drawing of a picture box: texts printed on it, painted
// under the box's controls and over its picture. Clearing the box empties it.
class PrintLayer : public platform::GraphicControl {
public:
    using platform::GraphicControl::GraphicControl;
    // Puts the layer on `box` (once), behind every control, over its whole area.
    void AttachTo(platform::PictureBox& box);
    void Cls();
    void Print(float x, float y, const QString& text, uint32_t color, int pointSize);
    void Paint(QPainter& painter) const override;
    // The height of one text line at this size.
    static double TextHeight(int pointSize);

    std::vector<PrintedText> Lines;
};

// The font the ranking board prints in.
QFont SortBoardFont(int pointSize);

// Prints one page of ten ranking rows from `first` on: a header (名次, 昵称,
// 积分), then per place its number, nickname and points, places 1-3 in their
// own colours. `rows` element p holds place p (element 0 unused). `first`
// is moved to the first place of a page, the last page when it lies beyond
// the rows. `current`, `pages` and `label` ("2/5") get the page texts. True
// when there is more than one page. An empty ranking (upper bound 0) clears
// the board and returns false, touching neither the texts nor `first`.
bool DrawSortList(const MatchState& m, PrintLayer& pic, const std::vector<SortEntry>& rows, QString& current,
                  QString& pages, QString& label, int16_t& first);

// The same on the ranking panel Pic_sortDetail of the table window.
bool DrawSortList(Client& c, const std::vector<SortEntry>& rows, QString& current, QString& pages, QString& label,
                  int16_t& first);

} // namespace match
