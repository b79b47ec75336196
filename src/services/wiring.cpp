#include "services/wiring.h"

#include "app/client.h"
#include "services/exchange_form.h"
#include "services/gm_channel.h"
#include "services/gm_form.h"
#include "services/impeach.h"
#include "services/item_bag.h"
#include "services/web_links.h"

#include <QEvent>
#include <QMouseEvent>

namespace services {

namespace {

// Mouse moves over the video-site prompt itself, and the table window being
// minimised or shown again (which hides the exchange window).
class TableEvents : public QObject {
public:
    TableEvents(Client& c, QObject* parent) : QObject(parent), c_(c) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const ServicesState& s = c_.services;
        if (event->type() == QEvent::MouseMove && watched == s.Table.pic_gskh_back) {
            // Over the panel itself, not over one of its buttons.
            const QPointF at = static_cast<QMouseEvent*>(event)->position();
            if (!s.Table.pic_gskh_back->ControlAt(static_cast<float>(at.x()), static_cast<float>(at.y())))
                pic_gskh_back_MouseMove(c_);
        }
        if (event->type() == QEvent::WindowStateChange && watched == s.Table.Window) {
            if (s.exchangeFrm)
                s.exchangeFrm->hide();
            // Minimised (the minimise button, F1): the report window hides
            // and the customer-service window closes.
            if (s.Table.Window->isMinimized()) {
                if (s.Frmimpeach)
                    s.Frmimpeach->hide();
                if (s.FrmGmOpen)
                    FrmGm_Form_Unload(c_);
            }
        }
        return false;
    }

private:
    Client& c_;
};

platform::Picture PictureOf(Client& c, int id)
{
    return c.services.Hooks.Picture ? c.services.Hooks.Picture(id) : platform::Picture{};
}

} // namespace

void WireServices(Client& c)
{
    ServicesState& s = c.services;
    TableSide& t = s.Table;
    QObject* owner = t.Window;

    s.TimerGmQuery = new platform::Timer(owner, QStringLiteral("TimerGmQuery"));
    s.TimerGmFlash = new platform::Timer(owner, QStringLiteral("TimerGmFlash"));
    s.TimerClick = new platform::Timer(owner, QStringLiteral("TimerClick"));
    s.TimerGmQuery->SetInterval(kGmQueryMs);
    s.TimerGmFlash->SetInterval(kGmFlashMs);
    s.TimerClick->SetInterval(kGmClickMs);
    QObject::connect(s.TimerGmQuery, &QTimer::timeout, [&c] { TimerGmQuery_Timer(c); });
    QObject::connect(s.TimerGmFlash, &QTimer::timeout, [&c] { TimerGmFlash_Timer(c); });
    QObject::connect(s.TimerClick, &QTimer::timeout, [&c] { TimerClick_Timer(c); });

    s.Img_Gm1.SetPicture(PictureOf(c, kGmIconHighlighted));
    s.Img_gm2.SetPicture(PictureOf(c, kGmIconNormal));
    s.Img_Gm1.Visible = s.Img_gm2.Visible = false;
    if (t.ImgGm) {
        t.ImgGm->SetPicture(s.Img_gm2.GetPicture());
        t.ImgGm->Move(t.ImgGm->Left, t.ImgGm->Top, 55, 55);
        t.ImgGm->Visible = false;
        t.ImgGm->Click = [&c] { ImgGm_Click(c); };
    }
    if (t.cmdImpeach)
        t.cmdImpeach->Click = [&c] { cmdImpeach_Click(c); };
    if (t.img_vip)
        for (int v = 0; v < t.img_vip->Count(); ++v)
            (*t.img_vip)[v].Click = [&c, v] { img_vip_Click(c, v); };
    if (t.ImgJadeExch) {
        t.ImgJadeExch->MouseMove = [&c](int16_t, int16_t, float, float) { ImgJadeExch_MouseMove(c); };
        t.ImgJadeExch->MouseUp = [&c](int16_t, int16_t, float, float) { ImgJadeExch_MouseUp(c); };
    }

    // The pay buttons wait for the purchase panel that holds them.
    for (int i = 1; i <= 2; ++i) {
        s.img_chzhi.Load(i);
        platform::Image& b = s.img_chzhi[i];
        b.Tag = QStringLiteral("0");
        b.SetPicture(PictureOf(c, kPayButtonBase + 3 * i));
        b.Visible = false;
        b.Click = [&c, i] { img_chzhi_Click(c, i); };
        b.MouseMove = [&c, i](int16_t, int16_t, float, float) { img_chzhi_MouseMove(c, i); };
    }

    if (platform::PictureBox* prompt = t.pic_gskh_back) {
        prompt->Add(&s.btn_gskh_ok);
        prompt->Add(&s.btn_gskh_no);
        s.btn_gskh_ok.SetPicture(PictureOf(c, kVideoOkNormal));
        s.btn_gskh_no.SetPicture(PictureOf(c, kVideoNoNormal));
        s.btn_gskh_ok.Tag = s.btn_gskh_no.Tag = QStringLiteral("0");
        s.btn_gskh_ok.Move(80, static_cast<float>(prompt->height() - 45), 70, 29);
        s.btn_gskh_no.Move(170, static_cast<float>(prompt->height() - 45), 70, 29);
        s.btn_gskh_ok.Click = [&c] { btn_gskh_ok_Click(c); };
        s.btn_gskh_no.Click = [&c] { btn_gskh_no_Click(c); };
        s.btn_gskh_ok.MouseMove = [&c](int16_t, int16_t, float, float) { btn_gskh_ok_MouseMove(c); };
        s.btn_gskh_no.MouseMove = [&c](int16_t, int16_t, float, float) { btn_gskh_no_MouseMove(c); };
        prompt->setMouseTracking(true);
    }

    if (t.Bank) {
        t.Bank->SetPicture(PictureOf(c, kBankNormal));
        t.Bank->Click = [&c] { Bank_Click(c); };
        t.Bank->MouseMove = [&c](int16_t, int16_t, float, float) { Bank_MouseMove(c); };
    }

    auto* events = new TableEvents(c, owner);
    if (t.pic_gskh_back)
        t.pic_gskh_back->installEventFilter(events);
    if (t.Window)
        t.Window->installEventFilter(events);
}

} // namespace services
