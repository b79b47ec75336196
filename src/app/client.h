#pragma once

#include "app/game_state.h"
#include "chat/chat.h"
#include "core/core_state.h"
#include "dispatch/dispatcher.h"
#include "match/match.h"
#include "platform/services.h"
#include "results/results_state.h"
#include "rewards/rewards_state.h"
#include "services/services_state.h"
#include "window/notice_forms.h"
#include "window/window_state.h"

#include "table/model.h"
#include "table/table_state.h"

#include <QObject>
#include <memory>

namespace window {
class MainForm;
class SettingsForm;
}
namespace results {
class ScoreForm;
class HeroForm;
class InformationForm;
}
namespace chat {
class TalkForm;
class HuifuForm;
class BiaoqingForm;
}
namespace core {
class ReconnectForm;
class ExitForm;
class OtherExitForm;
}
namespace platform {
class Form;
}

// The one object that owns the client's state: the shared game state, each
// subsystem's own state and the platform services it works with. main makes
// exactly one; every test makes its own.
class Client {
public:
    explicit Client(platform::Services services);
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    platform::Services plat;
    GameState game;
    core::CoreState core;
    chat::ChatState chat;
    match::MatchState match;
    results::ResultsState results;
    rewards::RewardsState rewards;
    services::ServicesState services;
    table::TableState table;
    window::WindowState window;
    dispatch::DispatchState dispatch;

    // The windows, each made once and shown and hidden.
    std::unique_ptr<window::MainForm> MainForm;
    std::unique_ptr<results::ScoreForm> Score;
    std::unique_ptr<results::HeroForm> Hero;
    std::unique_ptr<chat::TalkForm> Talk;
    std::unique_ptr<core::ReconnectForm> frmReconnect;
    std::unique_ptr<core::ExitForm> frmExit;
    std::unique_ptr<core::OtherExitForm> frmOtherExit;
    std::unique_ptr<window::ZhahuForm> frmZhahu; // the false-win notice
    std::unique_ptr<chat::HuifuForm> huifu;   // the quick phrases
    std::unique_ptr<chat::BiaoqingForm> frmBiaoqing; // the emoticon picker
    std::unique_ptr<results::InformationForm> Information; // the player card
    std::unique_ptr<window::SettingsForm> VosSet;          // the settings
    std::unique_ptr<window::RuleForm> FrmRule;             // the rules

    // Table play over the table state, the table window's board and the
    // shared seats, with its hooks into the rest of the client.
    table::TableModel& Table() { return *tableModel_; }

private:
    std::unique_ptr<table::TableModel> tableModel_;
    QObject wiring_; // owns the signal connections to the platform services
};
