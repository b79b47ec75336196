#pragma once

class Client;

namespace rewards {

// The scheduler's step for the VIP badges of the seat panels, while
// PropAniOn: every half second (10 ticks) each shown badge turns to its next
// picture, 896 + 4 x VipLevel + step; a seat without a VIP level 1-6 loses
// its badge.
void SchedVipBadges(Client& c);

} // namespace rewards
