#include "app/client.h"

#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "core/reconnect.h"
#include "core/rings.h"
#include "core/scheduler.h"
#include "core/startup.h"
#include "results/result_forms.h"
#include "window/main_form.h"
#include "platform/tcp_link.h"

Client::Client(platform::Services services)
    : plat(services), MainForm(std::make_unique<window::MainForm>()),
      Score(std::make_unique<results::ScoreForm>(MainForm.get())),
      Hero(std::make_unique<results::HeroForm>(MainForm.get())), Talk(std::make_unique<chat::TalkForm>(MainForm.get())),
      frmReconnect(std::make_unique<core::ReconnectForm>(MainForm.get())),
      frmExit(std::make_unique<core::ExitForm>(MainForm.get())),
      frmOtherExit(std::make_unique<core::OtherExitForm>(MainForm.get()))
{
    QObject::connect(&plat.tcp, &platform::TcpLink::DataArrival, &wiring_,
                     [this](qint64) { core::Winsock1_DataArrival(*this); });
    QObject::connect(&plat.tcp, &platform::TcpLink::CloseEvent, &wiring_, [this] { core::Winsock1_Close(*this); });
    QObject::connect(MainForm->TimerBong, &QTimer::timeout, &wiring_, [this] { core::TimerBong_Timer(*this); });
    QObject::connect(MainForm->TimerKeepAlive, &QTimer::timeout, &wiring_,
                     [this] { core::TimerKeepAlive_Timer(*this); });
    MainForm->TimerKeepAlive->SetInterval(core::kKeepAliveMs);
    QObject::connect(frmReconnect->TimerReconnect, &QTimer::timeout, &wiring_,
                     [this] { core::TimerReconnect_Timer(*this); });
    QObject::connect(frmReconnect->TimerCount, &QTimer::timeout, &wiring_, [this] { core::TimerCount_Timer(*this); });
    frmExit->pbCloseMe.Click = [this] { core::frmExit_pbCloseMe_Click(*this); };
    frmExit->pbCancel.Click = [this] { core::frmExit_pbCancel_Click(*this); };
    frmOtherExit->imgOK.Click = [this] { core::frmOtherExit_imgOK_Click(*this); };
    frmOtherExit->imgCancel.Click = [this] { core::frmOtherExit_imgCancel_Click(*this); };
    QObject::connect(MainForm.get(), &window::MainForm::Unload, &wiring_, [this] { core::Form_Unload(*this); });
}

Client::~Client() = default;
