#pragma once

#include "platform/controls.h"

#include <array>

namespace results {

// The score-sheet window: a sheet of two lists per seat, the seats'
// avatars and names.
class ScoreForm : public platform::Form {
    Q_OBJECT
public:
    explicit ScoreForm(QWidget* owner);
    platform::ControlArray<platform::Image> Tou;
    platform::ControlArray<platform::Label> ID;
    std::array<platform::ListBox*, 8> State{};
};

// The hand-history window: one row per hand.
class HeroForm : public platform::Form {
    Q_OBJECT
public:
    explicit HeroForm(QWidget* owner);
    platform::ControlArray<platform::Image> Tou;
    platform::ControlArray<platform::Label> ID;
    platform::ControlArray<platform::Label> sumScore;
    platform::ListBox* Num;
    std::array<platform::ListBox*, 4> Grade{};
};

} // namespace results
