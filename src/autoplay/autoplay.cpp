#include "autoplay/autoplay.h"

#include "app/client.h"
#include "core/codec.h"
#include "window/main_form.h"

namespace autoplay {
namespace {

void HideChoices(Client& c)
{
    window::MainForm& f = *c.MainForm;
    for (int i = 0; i < f.Operation.Count(); ++i)
        f.Operation[i].SetVisible(false);
    for (int i = 0; i < f.Chi.Count(); ++i)
        f.Chi[i].SetVisible(false);
    for (int i = 0; i < f.Gang.Count(); ++i)
        f.Gang[i].SetVisible(false);
    c.game.ZhahuShown = 0;
}

// Discards the last tile of the local hand when the hand holds one tile
// too many.
void DiscardLastIfDue(Client& c)
{
    const table::PlayerRecord& p = c.game.Players[0];
    if (p.HandCount < 2 || (p.HandCount - 2) % 3 != 0)
        return;
    const int slot = p.HandFirst + p.HandCount - 1;
    if (slot < 0 || slot > 17)
        return;
    const table::TileSlot& s = p.Slots[static_cast<std::size_t>(slot)];
    core::GameCmd cmd;
    cmd.Kind = core::CmdDiscard;
    cmd.Seat = p.SeatBit;
    cmd.Data[1] = s.Image == c.table.LastDrawnImage ? 0 : 1;
    cmd.Data[3] = static_cast<int16_t>((s.TileCode & 0x0FFF) | 0x4000);
    c.table.LastDiscardImage = s.Image;
    c.table.LastDiscardView = 0;
    core::SendMsg(c, cmd);
}

} // namespace

void SendPassOnce(Client& c)
{
    if (c.game.OpSent)
        return;
    core::GameCmd cmd;
    cmd.Kind = core::CmdOperation;
    cmd.Seat = c.game.Players[0].SeatBit;
    cmd.Data[0] = 1;
    core::SendMsg(c, cmd);
    c.game.OpSent = -1;
}

void TimeoutAction(Client& c)
{
    HideChoices(c);
    SendPassOnce(c);
    DiscardLastIfDue(c);
}

void AutoPlayStep(Client& c)
{
    // Until the automatic player's own judgement is in place it plays as
    // safely as a run-out countdown: pass on claims, discard the last tile.
    TimeoutAction(c);
}

} // namespace autoplay
