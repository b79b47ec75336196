#include "app/client.h"

#include "chat/talk_form.h"
#include "core/rings.h"
#include "results/result_forms.h"
#include "window/main_form.h"
#include "platform/tcp_link.h"

Client::Client(platform::Services services)
    : plat(services), MainForm(std::make_unique<window::MainForm>()),
      Score(std::make_unique<results::ScoreForm>(MainForm.get())),
      Hero(std::make_unique<results::HeroForm>(MainForm.get())), Talk(std::make_unique<chat::TalkForm>(MainForm.get()))
{
    QObject::connect(&plat.tcp, &platform::TcpLink::DataArrival, &wiring_,
                     [this](qint64) { core::Winsock1_DataArrival(*this); });
}

Client::~Client() = default;
