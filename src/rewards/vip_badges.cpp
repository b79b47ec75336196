#include "rewards/vip_badges.h"

#include "app/client.h"
#include "window/main_form.h"
#include "window/pictures.h"

namespace rewards {

namespace {
constexpr int kBadgeTicks = 10;
constexpr int kVipBadgeGif = 896;
} // namespace

void SchedVipBadges(Client& c)
{
    GameState& g = c.game;
    auto& badges = c.MainForm->img_vip;
    for (int i = 0; i < 4; ++i) {
        const auto si = static_cast<std::size_t>(i);
        platform::Image& badge = badges[i];
        if (!badge.Visible)
            continue;
        if (++c.rewards.PropAniTicks[si] < kBadgeTicks)
            continue;
        c.rewards.PropAniState[si] = static_cast<int16_t>(((c.rewards.PropAniState[si] + 1) & 3) + 1);
        const int level = g.UserInfos[si].VipLevel;
        if (level < 1 || level > 6) {
            badge.SetVisible(false);
        } else {
            window::LoadGifResource(kVipBadgeGif + 4 * level + c.rewards.PropAniState[si], QStringLiteral("GIF"), badge);
            badge.ZOrder(0);
        }
        c.rewards.PropAniTicks[si] = 0;
    }
}

} // namespace rewards
