#include "scoring.h"

namespace tableserver {

int WinnerFan(const HandOutcome& h)
{
    if (h.winner < 0)
        return 0;
    const SeatTally& t = h.seats[static_cast<std::size_t>(h.winner)];
    return 1 + (h.hardWin ? 1 : 0) + (h.discarder < 0 ? 1 : 0) + (h.robbedKong ? 1 : 0) + t.redKongs + t.greenKongs + t.wildKongs
        + t.exposedKongs + t.concealedKongs;
}

Settlement Settle(const HandOutcome& h)
{
    Settlement s;
    const int fan = WinnerFan(h);
    if (h.winner >= 0) {
        const int64_t each = static_cast<int64_t>(h.stake) * fan;
        for (int seat = 0; seat < 4; ++seat) {
            if (seat == h.winner)
                continue;
            const bool pays = h.discarder < 0 || seat == h.discarder;
            if (!pays)
                continue;
            s.amounts[static_cast<std::size_t>(seat)] -= each;
            s.amounts[static_cast<std::size_t>(h.winner)] += each;
            s.fans[static_cast<std::size_t>(seat)] = -fan;
        }
        s.fans[static_cast<std::size_t>(h.winner)] = fan;
    }

    for (int seat = 0; seat < 4; ++seat) {
        const auto i = static_cast<std::size_t>(seat);
        const SeatTally& t = h.seats[i];
        auto& r = s.rows[i];
        const bool won = seat == h.winner;
        r[row::WinType] = static_cast<int16_t>(won ? (h.robbedKong ? kWinRobbedKong : h.kongDraw ? kWinOnKong : kWinPlain) : 0);
        r[row::DragonKongs] = static_cast<int16_t>((t.redKongs & 0x0F) | ((t.greenKongs & 0x0F) << 4));
        r[row::WildKongs] = static_cast<int16_t>(t.wildKongs);
        r[row::ExposedKongs] = static_cast<int16_t>(t.exposedKongs);
        r[row::ConcealedKongs] = static_cast<int16_t>(t.concealedKongs);
        r[row::HardWin] = static_cast<int16_t>(won && h.hardWin ? 1 : 0);
        r[row::Discarder] = static_cast<int16_t>(h.winner >= 0 && seat == h.discarder ? 1 : 0);
        r[row::OpenMelds] = static_cast<int16_t>(t.openMelds);
        r[row::Banker] = static_cast<int16_t>(seat == h.banker ? 1 : 0);
        r[row::SelfDraw] = static_cast<int16_t>(won && h.discarder < 0 ? 1 : 0);
        r[row::Stake] = static_cast<int16_t>(h.stake & 0xFF);
        r[row::Currency] = 1;
        r[row::AmountSign] = static_cast<int16_t>(s.amounts[i] < 0 ? 0 : 1);
        s.subtotals[i] = static_cast<uint64_t>(s.amounts[i] < 0 ? -s.amounts[i] : s.amounts[i]);
    }
    return s;
}

} // namespace tableserver
