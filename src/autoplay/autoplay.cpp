#include "autoplay/autoplay.h"

#include "app/client.h"
#include "table/claims.h"
#include "window/claim_input.h"
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

// Discards the last tile of the local hand, as a click on it would, when
// the hand holds one tile too many.
void DiscardLastIfDue(Client& c)
{
    const table::PlayerRecord& p = c.game.Players[0];
    if (p.HandCount < 2 || (p.HandCount - 2) % 3 != 0)
        return;
    const int slot = p.HandFirst + p.HandCount - 1;
    if (slot < 0 || slot > 17)
        return;
    window::DiscardHandTile(c, p.Slots[static_cast<std::size_t>(slot)].Image);
}

} // namespace

void TimeoutAction(Client& c)
{
    HideChoices(c);
    table::SendPassReply(c.Table());
    DiscardLastIfDue(c);
}

void AutoPlayStep(Client& c)
{
    // Until the automatic player's own judgement is in place it plays as
    // safely as a run-out countdown: pass on claims, discard the last tile.
    TimeoutAction(c);
}

} // namespace autoplay
