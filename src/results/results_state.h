#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace results {

// The results subsystem's own state: the score sheet of the hand's end.
struct ResultsState {
    // Results of the hand, by view.
    std::array<int16_t, 4> FanValues{};
    QString HandResultText;

    // The score sheet's running figures since the players were seated.
    int16_t WildStreakCount = 0;
    std::array<double, 4> CumulativeAmounts{}; // by view, since the players were seated

    // The hand's end.
    QString WinText;          // text of a special win
    int16_t CurrencyFlag = 0; // 1: amounts in coins, else gold bars
    struct SeatNamePic {
        QString Name;
        QString PicIndex; // avatar picture number 0-19, as text
    };
    std::array<SeatNamePic, 4> SeatNamePics; // by view
    int16_t ScorePending = 0;
    uint32_t HandEndTick = 0;

    // The end-of-hand layout of the turned-up hands has run for this hand;
    // cleared at the hand's start.
    bool RevealLaidOut = false;
    // Fills the score window with the archived sheet of a hand (0: none);
    // the history window's double click goes through it.
    std::function<void(int16_t hand)> LoadHandSheet;
};

} // namespace results
