#include "app/client.h"

#include "chat/huifu_form.h"
#include "chat/seat_handlers.h"
#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "core/reconnect.h"
#include "core/rings.h"
#include "core/scheduler.h"
#include "core/startup.h"
#include "results/result_forms.h"
#include "rewards/prop_pump.h"
#include "window/claim_input.h"
#include "window/main_form.h"
#include "platform/tcp_link.h"
#include "platform/udp_link.h"
#include "platform/web_panel.h"
#include "services/gm_packet.h"
#include "window/chrome.h"
#include "window/web_panels.h"

Client::Client(platform::Services services)
    : plat(services), MainForm(std::make_unique<window::MainForm>()),
      Score(std::make_unique<results::ScoreForm>(MainForm.get())),
      Hero(std::make_unique<results::HeroForm>(MainForm.get())), Talk(std::make_unique<chat::TalkForm>(MainForm.get())),
      frmReconnect(std::make_unique<core::ReconnectForm>(MainForm.get())),
      frmExit(std::make_unique<core::ExitForm>(MainForm.get())),
      frmOtherExit(std::make_unique<core::OtherExitForm>(MainForm.get())),
      frmZhahu(std::make_unique<platform::Form>(QStringLiteral("frmZhahu"), MainForm.get())),
      huifu(std::make_unique<chat::HuifuForm>(MainForm.get())),
      Information(std::make_unique<chat::InformationForm>(MainForm.get()))
{
    QObject::connect(&plat.tcp, &platform::TcpLink::DataArrival, &wiring_,
                     [this](qint64) { core::Winsock1_DataArrival(*this); });
    QObject::connect(&plat.tcp, &platform::TcpLink::CloseEvent, &wiring_, [this] { core::Winsock1_Close(*this); });
    QObject::connect(MainForm->TimerBong, &QTimer::timeout, &wiring_, [this] { core::TimerBong_Timer(*this); });
    QObject::connect(MainForm->TimerKeepAlive, &QTimer::timeout, &wiring_,
                     [this] { core::TimerKeepAlive_Timer(*this); });
    QObject::connect(MainForm->TimerProp, &QTimer::timeout, &wiring_, [this] { rewards::TimerProp_Timer(*this); });
    MainForm->TimerKeepAlive->SetInterval(core::kKeepAliveMs);
    QObject::connect(frmReconnect->TimerReconnect, &QTimer::timeout, &wiring_,
                     [this] { core::TimerReconnect_Timer(*this); });
    QObject::connect(frmReconnect->TimerCount, &QTimer::timeout, &wiring_, [this] { core::TimerCount_Timer(*this); });
    frmExit->pbCloseMe.Click = [this] { core::frmExit_pbCloseMe_Click(*this); };
    frmExit->pbCancel.Click = [this] { core::frmExit_pbCancel_Click(*this); };
    frmOtherExit->imgOK.Click = [this] { core::frmOtherExit_imgOK_Click(*this); };
    frmOtherExit->imgCancel.Click = [this] { core::frmOtherExit_imgCancel_Click(*this); };
    QObject::connect(MainForm.get(), &window::MainForm::Unload, &wiring_, [this] { core::Form_Unload(*this); });

    // The table window's frame, title bar, web panels and UDP socket.
    window::MainForm& f = *MainForm;
    QObject::connect(&f, &window::MainForm::Resize, &wiring_, [this] { window::Form_Resize(*this); });
    for (int i = 0; i < f.Imgclose.Count(); ++i) {
        const auto index = static_cast<int16_t>(i);
        f.Imgclose[i].MouseDown = [this, index](int16_t, int16_t, float, float) { window::Imgclose_MouseDown(*this, index); };
        f.Imgclose[i].MouseMove = [this, index](int16_t, int16_t, float, float) { window::Imgclose_MouseMove(*this, index); };
        f.Imgclose[i].MouseUp = [this, index](int16_t, int16_t, float, float) { window::Imgclose_MouseUp(*this, index); };
        f.Imgclose[i].Click = [this, index] { window::Imgclose_Click(*this, index); };
    }
    for (int i = 0; i < f.ImgMin.Count(); ++i) {
        const auto index = static_cast<int16_t>(i);
        f.ImgMin[i].MouseDown = [this, index](int16_t, int16_t, float, float) { window::ImgMin_MouseDown(*this, index); };
        f.ImgMin[i].MouseMove = [this, index](int16_t, int16_t, float, float) { window::ImgMin_MouseMove(*this, index); };
        f.ImgMin[i].MouseUp = [this, index](int16_t, int16_t, float, float) { window::ImgMin_MouseUp(*this, index); };
        f.ImgMin[i].Click = [this, index] { window::ImgMin_Click(*this, index); };
    }
    f.LbMove.MouseDown = [this](int16_t button, int16_t, float, float) { window::LbMove_MouseDown(*this, button); };
    f.LbMove.MouseMove = [this](int16_t, int16_t, float, float) { window::LbMove_MouseMove(*this); };
    f.FormMouseMove = [this](int16_t, int16_t, float, float) { window::Form_MouseMove(*this); };
    f.WebBrowser1 = plat.web.Create(f.pic1, QStringLiteral("WebBrowser1"));
    f.WebBrowser2 = plat.web.Create(f.pic1, QStringLiteral("WebBrowser2"));
    QObject::connect(f.WebBrowser1, &platform::WebPanel::DocumentComplete, &wiring_,
                     [this] { window::WebBrowser1_DocumentComplete(*this); });
    QObject::connect(f.WebBrowser1, &platform::WebPanel::NavigateError, &wiring_,
                     [this] { window::WebBrowser1_NavigateError(*this); });
    QObject::connect(f.WebBrowser2, &platform::WebPanel::NavigateError, &wiring_,
                     [this] { window::WebBrowser2_NavigateError(*this); });
    QObject::connect(&plat.udp, &platform::UdpLink::DataArrival, &wiring_,
                     [this](qint64 bytes) { services::WinsckUdp_DataArrival(*this, bytes); });
    window::WireClaimInput(*this);
}

Client::~Client() = default;
