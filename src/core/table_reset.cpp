#include "core/table_reset.h"

#include "app/client.h"
#include "core/lobby.h"
#include "table/reset.h"

namespace core {

void ClearTableTiles(Client& c)
{
    table::ClearTableTiles(c.Table(), c.game.WatchMode);
    c.game.CapClass.fill(0);
    for (QByteArray& name : c.core.SeatNames)
        name.clear();
}

void ResetTableDisplay(Client& c)
{
    GameState& g = c.game;
    table::ResetTableDisplay(c.Table(), g.WealthMultiplier);
    c.core.Hooks.HideTalkWindow();

    g.SeatFlags4.fill(0);
    g.HandSubtotals.fill(0);
    g.PropResultDue = g.PropRoundState = g.DrawnHandPending = g.PropRoundReset = 0;
    g.ImpeachOffered = 0;
    g.ImpeachDone = 0;
    g.ImpeachSeat = -1;
    g.ImpeachAllowed = 0;
    g.F1Minimized = 0;
    g.TimeoutCount = 0;
}

void ResetPlayerState(Client& c)
{
    GameState& g = c.game;
    table::ResetPlayerState(c.Table());
    for (int v = 0; v < 4; ++v) {
        g.HandResult[static_cast<std::size_t>(v)][16] = 0;
        g.HandAmounts[static_cast<std::size_t>(v)] = 0;
        c.core.SeatNames[static_cast<std::size_t>(v)].clear();
    }
    g.GamePhase = 0;
    for (auto& row : g.RevealedTiles)
        row.fill({});
    g.WinnerView = -1;
    g.ResultFrameCount = 0;
    g.InGame = 0;
    c.core.Hooks.HideJadeTask();
}

void ClearTable(Client& c)
{
    ClearTableTiles(c);
    ResetTableDisplay(c);
    ResetPlayerState(c);
    c.game.TableCleared = -1;
}

void OnDealStarted(Client& c)
{
    PostLobbyMessage(c, LobbyMsgDealStart);

    GameState& g = c.game;
    g.ChoiceTileA.fill(0);
    g.ChoiceTileB.fill(0);
    g.ChoiceKind.fill(0);
    g.ChoiceCount = 0;
    g.ShownWallTiles.fill(0);
    g.ShownWallPos.fill(0);
    g.ChoiceState = 0;
    g.ChoiceSel1 = 0;
    g.ChoiceSel2 = 1;
    g.ShownWallCount = 0;
    // Other seats' concealed kongs of the last hand are forgotten.
    g.ConcealedKongImages.fill(0);
    g.ConcealedKongTiles.fill(0);
    g.ConcealedKongViews.fill(0);
    g.ConcealedKongCount = 0;
}

} // namespace core
