#include "rewards/prop_round.h"

#include "app/client.h"

namespace rewards {

void ResetPropRound(Client& c)
{
    GameState& g = c.game;
    if (g.PropRoundReset != 0)
        return;
    g.PropRoundReset = -1;
}

} // namespace rewards
