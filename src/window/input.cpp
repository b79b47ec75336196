#include "window/input.h"

#include "app/client.h"
#include "protocol/tile_code.h"
#include "table/claims.h"
#include "table/tiles.h"
#include "window/claim_input.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <algorithm>

namespace window {

namespace {

bool IsImage(int image) { return image >= 0 && image < table::kTileImages; }

// The face of a tile in a view's group of pictures, -1 for a code that is
// no tile or a view outside 0-4 (ShowTileImage then does nothing).
int FacePicture(int view, int code)
{
    const int tile = code & 0xFF;
    if (view < 0 || view > table::kLargeFaceGroup || !protocol::IsTileCode(tile))
        return -1;
    return table::TilePicIndex(view, tile);
}

// Puts image `x` where image `y` lies, keeping its size.
void MoveOnto(window::MainForm& f, int x, int y)
{
    if (!IsImage(x) || !IsImage(y))
        return;
    f.MJ_Image[x].Move(f.MJ_Image[y].Left, f.MJ_Image[y].Top);
}

void SendToBack(window::MainForm& f, int x)
{
    if (IsImage(x))
        f.MJ_Image[x].ZOrder(1);
}

// The wall closes up around shown wall tile `i` (image k) before it leaves
// for the middle of the table: the indicator tile lying on the tail, the
// tail and the tile before a head tile take the places left free. Sides are
// image \ 34; side 2 lies in front, so what moves onto it goes to the back.
void RestackWall(Client& c, int k, int i)
{
    window::MainForm& f = *c.MainForm;
    const GameState& g = c.game;
    const int t = c.table.WallTail;
    const int p = c.table.PiZiImage;
    const int h = c.table.WallHead;
    const bool oddT = t % 2 != 0;
    const bool oddK = k % 2 != 0;
    auto headNeighbour = [&] {
        if (h != k && g.ShownWallPos[static_cast<std::size_t>(i - 1)] > 0) {
            const int before = (k + 135) % 136;
            MoveOnto(f, before, k);
            if (k / 34 == 2)
                SendToBack(f, before);
        }
    };
    if (oddT && oddK) {
        if (i <= 1) {
            MoveOnto(f, p, t);
            if (t / 34 == 2)
                SendToBack(f, p);
        } else {
            headNeighbour();
        }
    } else if (!oddT && oddK) {
        if (i >= 2) {
            headNeighbour();
        } else if (g.ShownWallPos[0] > 0) {
            MoveOnto(f, p, t);
            MoveOnto(f, t, (t + 1) % 136);
            if (t / 34 == 2)
                SendToBack(f, t);
        } else {
            MoveOnto(f, p, k);
            if (k / 34 == 2)
                SendToBack(f, p);
        }
    } else if (!oddT && !oddK && i <= 1) {
        MoveOnto(f, p, t);
    }
}

// After a win: turns up the clicked face-down tile once, a concealed kong's
// hidden tile in its seat's view, or a wall tile shown at the end of the
// hand, which goes to the row in the middle of the table. Every step checks
// its own tables and images.
void TurnUpTile(Client& c, int k)
{
    GameState& g = c.game;
    if (g.WinnerView < 0 || g.WinnerView > 3)
        return;
    const int kongs = std::min<int>(g.ConcealedKongCount, static_cast<int>(g.ConcealedKongImages.size()));
    for (int i = 0; i < kongs; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (g.ConcealedKongImages[at] != k)
            continue;
        table::ShowTileImage(c.Table(), k, FacePicture(g.ConcealedKongViews[at], g.ConcealedKongTiles[at]));
        g.ConcealedKongImages[at] = -1;
        return;
    }

    const int shown = std::min<int>(g.ShownWallCount, static_cast<int>(g.ShownWallPos.size()));
    int i = 0;
    while (i < shown && g.ShownWallPos[static_cast<std::size_t>(i)] != k)
        ++i;
    if (i == shown)
        return;
    RestackWall(c, k, i);
    table::ShowTileImage(c.Table(), k, FacePicture(0, g.ShownWallTiles[static_cast<std::size_t>(i)]));
    const float sx = g.ScaleX;
    const float sy = g.ScaleY;
    c.MainForm->MJ_Image[k].Move((400.0f + 45.0f * static_cast<float>(i)) * sx, 340 * sy, 45 * sx, 60 * sy);
    g.ShownWallPos[static_cast<std::size_t>(i)] = -1;
}

// Keeps the table picture's pointer in step with the tile under it; tracks
// where a press began so that a release after a press on the bare table
// reaches pic1_MouseUp. The surface itself hands the events to the
// controls afterwards.
class TablePointerFilter : public QObject {
public:
    TablePointerFilter(Client& c, QObject* parent) : QObject(parent), c_(c) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Only mouse events, and the table picture is this filter's parent:
        // the table window may be half destroyed when its last events pass.
        const QEvent::Type type = event->type();
        if (watched != parent() ||
            (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease))
            return false;
        window::MainForm& f = *c_.MainForm;
        switch (type) {
        case QEvent::MouseMove: {
            const QPointF pos = static_cast<QMouseEvent*>(event)->position();
            ShowTilePointer(c_, TileAt(pos));
            break;
        }
        case QEvent::MouseButtonPress: {
            const QPointF pos = static_cast<QMouseEvent*>(event)->position();
            barePress_ = f.pic1->ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y())) == nullptr;
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (!barePress_)
                break;
            barePress_ = false;
            const int16_t button = e->button() == Qt::RightButton ? 2 : e->button() == Qt::MiddleButton ? 4 : 1;
            const QPointF pos = e->position();
            Client* client = &c_;
            RunInputHandler(c_, [&] {
                pic1_MouseUp(*client, button, 0, static_cast<float>(pos.x()), static_cast<float>(pos.y()));
            });
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    // The tile image that would take a mouse event at `pos`, -1 when none.
    int16_t TileAt(QPointF pos) const
    {
        window::MainForm& f = *c_.MainForm;
        const platform::GraphicControl* hit =
            f.pic1->ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y()));
        if (!hit || !IsImage(hit->Index) || hit != &f.MJ_Image[hit->Index])
            return -1;
        return static_cast<int16_t>(hit->Index);
    }

    Client& c_;
    bool barePress_ = false;
};

const QCursor& TileCursor()
{
    static const QCursor cursor = [] {
        const platform::Picture picture = LoadGifPicture(kTilePointerPicture, QStringLiteral("GIF"));
        if (picture.isNull())
            return QCursor(Qt::PointingHandCursor);
        return QCursor(QPixmap::fromImage(picture.image), 2, 2);
    }();
    return cursor;
}

} // namespace

void ShowTilePointer(Client& c, int16_t index)
{
    window::MainForm& f = *c.MainForm;
    const bool own = IsImage(index) && c.window.TileMousePointer[static_cast<std::size_t>(index)] == kTilePointer;
    if (own)
        f.pic1->setCursor(TileCursor());
    else if (f.pic1->testAttribute(Qt::WA_SetCursor))
        f.pic1->unsetCursor();
}

void MJ_Image_MouseMove(Client& c, int16_t index, int16_t, int16_t, float, float)
{
    if (!IsImage(index))
        return;
    const GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const table::PlayerRecord& p = g.Players[0];
    platform::Image& tile = f.MJ_Image[index];
    int16_t& pointer = c.window.TileMousePointer[static_cast<std::size_t>(index)];
    const float handY = p.HandY;
    const bool applies = tile.Top >= handY - 10 && !g.WatchMode && g.AnNiuPressed[2] != 0;
    if (!applies || !table::HandHasTile(c.Table(), index)) {
        if (pointer != 0) {
            pointer = 0;
            ShowTilePointer(c, index);
        }
        return;
    }
    if (pointer != kTilePointer) {
        pointer = kTilePointer;
        ShowTilePointer(c, index);
    }
    if (tile.Top != handY)
        return;
    // Lower the tile raised before; the hand's own bounds, never the model's
    // count, limit the loop.
    const int first = std::max<int>(p.HandFirst, 0);
    const int end = std::min<int>(p.HandFirst + p.HandCount, static_cast<int>(p.Slots.size()));
    for (int i = first; i < end; ++i) {
        const int image = p.Slots[static_cast<std::size_t>(i)].Image;
        if (IsImage(image) && f.MJ_Image[image].Top == handY - 10)
            f.MJ_Image[image].Move(f.MJ_Image[image].Left, handY);
    }
    tile.Move(tile.Left, handY - 10);
}

void MJ_Image_MouseDown(Client& c, int16_t index, int16_t button, int16_t, float, float)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    window::MainForm& f = *c.MainForm;
    if (g.TurnPhase == 3)
        return;
    if (g.ZhahuShown) {
        c.frmZhahu->Hide();
        g.ZhahuShown = 0;
    }
    if (!g.InputEnabled || !IsImage(index))
        return;
    const bool dueByCount = (g.Players[0].HandCount - 2) % 3 == 0;

    if (table::HandHasTile(c.Table(), index) && t.DiscardDue) {
        g.TimeoutCount = 0;
        g.TurnPhase = 2;
        t.DiscardDue = 0;
        table::StopDecisionCountdown(c.Table());
        table::SendPassReply(c.Table());
        for (int k = 0; k < 5; ++k) {
            f.Operation[k].SetVisible(false);
            SetClaimButtonIdle(c, k);
        }
        if (dueByCount)
            DiscardHandTile(c, index);
    } else if (button == 2 && !table::HandHasTile(c.Table(), index) && f.Operation[4].Visible) {
        for (int k = 0; k < 5; ++k)
            f.Operation[k].SetVisible(false);
        if (!dueByCount)
            table::StopDecisionCountdown(c.Table());
        table::SendPassReply(c.Table());
        for (int k = 0; k < 5; ++k)
            SetClaimButtonIdle(c, k);
    }
    TurnUpTile(c, index);
}

void WireTileInput(Client& c)
{
    window::MainForm& f = *c.MainForm;
    Client* client = &c;
    for (int i = 0; i < f.MJ_Image.Count(); ++i) {
        const auto index = static_cast<int16_t>(i);
        f.MJ_Image[i].MouseDown = [client, index](int16_t button, int16_t shift, float x, float y) {
            RunInputHandler(*client, [&] { MJ_Image_MouseDown(*client, index, button, shift, x, y); });
        };
        f.MJ_Image[i].MouseMove = [client, index](int16_t button, int16_t shift, float x, float y) {
            RunInputHandler(*client, [&] { MJ_Image_MouseMove(*client, index, button, shift, x, y); });
        };
    }
    f.pic1->installEventFilter(new TablePointerFilter(c, f.pic1));
}

} // namespace window
