#include "app/client.h"

#include "chat/talk_form.h"
#include "core/rings.h"
#include "core/scheduler.h"
#include "core/startup.h"
#include "results/result_forms.h"
#include "window/claim_input.h"
#include "window/main_form.h"
#include "platform/tcp_link.h"

Client::Client(platform::Services services)
    : plat(services), MainForm(std::make_unique<window::MainForm>()),
      Score(std::make_unique<results::ScoreForm>(MainForm.get())),
      Hero(std::make_unique<results::HeroForm>(MainForm.get())), Talk(std::make_unique<chat::TalkForm>(MainForm.get())),
      frmZhahu(std::make_unique<platform::Form>(QStringLiteral("frmZhahu"), MainForm.get()))
{
    QObject::connect(&plat.tcp, &platform::TcpLink::DataArrival, &wiring_,
                     [this](qint64) { core::Winsock1_DataArrival(*this); });
    QObject::connect(&plat.tcp, &platform::TcpLink::CloseEvent, &wiring_, [this] { core::Winsock1_Close(*this); });
    QObject::connect(MainForm->TimerBong, &QTimer::timeout, &wiring_, [this] { core::TimerBong_Timer(*this); });
    QObject::connect(MainForm->TimerKeepAlive, &QTimer::timeout, &wiring_,
                     [this] { core::TimerKeepAlive_Timer(*this); });
    MainForm->TimerKeepAlive->SetInterval(core::kKeepAliveMs);
    QObject::connect(MainForm.get(), &window::MainForm::Unload, &wiring_, [this] { core::Form_Unload(*this); });
    window::WireClaimInput(*this);
}

Client::~Client() = default;
