#include "chat/emoticon_picker.h"

#include "app/client.h"
#include "chat/chat_box.h"
#include "chat/emoticons.h"
#include "chat/huifu_form.h"
#include "chat/talk_form.h"
#include "core/messages.h"
#include "core/numeric.h"
#include "platform/clock.h"
#include "platform/resources.h"
#include "window/main_form.h"
#include "window/pictures.h"

namespace chat {

namespace {

constexpr int kCells = 8;
constexpr int kPages = 3;
constexpr int kCellWidth = 73;
constexpr int kCellHeight = 65;
constexpr int kCellStep = 72;
constexpr int kRowTops[2] = {24, 88};

constexpr int kTabNormal = 767;
constexpr int kTabShown = 768;
constexpr int kPrevEnabled = 769;
constexpr int kPrevHover = 771;
constexpr int kPrevDisabled = 772;
constexpr int kNextEnabled = 773;
constexpr int kNextHover = 775;
constexpr int kNextDisabled = 776;
constexpr int kButtonHover = 662;

constexpr double kMinCoins = 1000;
constexpr uint32_t kEmoticonGapMs = 7000;

void Picture(platform::Image& control, int id) { window::LoadGifResource(id, QStringLiteral("GIF"), control); }

// Fills the cells with the emoticons of a page (empty cells past 18).
void ShowPage(BiaoqingForm& b, int16_t page)
{
    for (int i = 0; i < kCells; ++i) {
        widgets::AniGifControl& cell = *b.ucAni_DBQ[static_cast<std::size_t>(i)];
        cell.LoadAnimatedGIF_Array(QByteArray());
        b.CellGifs[static_cast<std::size_t>(i)] = 0;
        const int n = (page - 1) * kCells + i + 1;
        if (n > kEmoticons)
            continue;
        const int id = kEmoticonGifBase + n;
        if (const std::optional<QByteArray> bytes = platform::LoadResData(id, QStringLiteral("GIF")))
            cell.LoadAnimatedGIF_Array(*bytes);
        b.CellGifs[static_cast<std::size_t>(i)] = id;
    }
    b.EmoticonPage = page;
    b.Lbl_Dcp.SetCaption(QString::number(page));
    b.Cmd_Dpp.Enabled = page > 1;
    b.Cmd_Dnp.Enabled = page < kPages;
    Picture(b.Cmd_Dpp, page > 1 ? kPrevEnabled : kPrevDisabled);
    Picture(b.Cmd_Dnp, page < kPages ? kNextEnabled : kNextDisabled);
    b.Cmd_Dpp.Tag = QStringLiteral("0");
    b.Cmd_Dnp.Tag = QStringLiteral("0");
}

} // namespace

BiaoqingForm::BiaoqingForm(QWidget* owner)
    : platform::Form(QStringLiteral("frmBiaoqing"), owner),
      Pic_dynamicBQ(new platform::PictureBox(this, QStringLiteral("Pic_dynamicBQ")))
{
    resize(324, 190);
    Add(&Img_dd);
    Img_dd.Move(9, 0, 72, 24);
    Pic_dynamicBQ->setGeometry(9, 24, 305, 161);
    Pic_dynamicBQ->Add(&Cmd_Dpp);
    Pic_dynamicBQ->Add(&Lbl_Dcp);
    Pic_dynamicBQ->Add(&Cmd_Dnp);
    Cmd_Dpp.Move(186, 2, 40, 20);
    Lbl_Dcp.Move(228, 4, 30, 16);
    Lbl_Dcp.Alignment = platform::Label::Center;
    Cmd_Dnp.Move(260, 2, 40, 20);
    for (auto*& cell : ucAni_DBQ) {
        cell = new widgets::AniGifControl(Pic_dynamicBQ, QStringLiteral("ucAni_DBQ"));
        cell->hide();
    }
}

void frmBiaoqing_Form_Load(Client& c)
{
    BiaoqingForm& b = *c.frmBiaoqing;
    if (b.Loaded)
        return;
    b.Loaded = true;
    b.setWindowOpacity(200 / 255.0);
    for (int i = 0; i < kCells; ++i) {
        widgets::AniGifControl& cell = *b.ucAni_DBQ[static_cast<std::size_t>(i)];
        cell.setGeometry((i % 4) * kCellStep, kRowTops[i / 4], kCellWidth, kCellHeight);
        cell.show();
    }
    Picture(b.Img_dd, kTabNormal);
    ShowPage(b, 1);
}

void frmBiaoqing_Cmd_Dnp_Click(Client& c)
{
    BiaoqingForm& b = *c.frmBiaoqing;
    if (b.Cmd_Dnp.Enabled && b.EmoticonPage < kPages)
        ShowPage(b, static_cast<int16_t>(b.EmoticonPage + 1));
}

void frmBiaoqing_Cmd_Dpp_Click(Client& c)
{
    BiaoqingForm& b = *c.frmBiaoqing;
    if (b.Cmd_Dpp.Enabled && b.EmoticonPage > 1)
        ShowPage(b, static_cast<int16_t>(b.EmoticonPage - 1));
}

void frmBiaoqing_Img_dd_Click(Client& c)
{
    BiaoqingForm& b = *c.frmBiaoqing;
    b.Pic_dynamicBQ->show();
    Picture(b.Img_dd, kTabShown);
    b.Img_dd.Enabled = false;
}

void frmBiaoqing_ucAni_DBQ_Click(Client& c, int index)
{
    ChatState& ch = c.chat;
    if (index < 0 || index >= kCells)
        return;
    if (c.game.UserInfos[0].Coins <= kMinCoins) {
        AddSystemLine(c, QStringLiteral("您的金币低于1000，不能发送表情!"));
        return;
    }
    // Ticks wrap after 49.7 days: the gap is taken modulo 2^32.
    const uint32_t now = c.plat.clock.timeGetTime();
    if (ch.DBQ_click_time != 0 && platform::ElapsedMs(ch.DBQ_click_time, now) < kEmoticonGapMs)
        return;
    ch.DBQ_click_time = now;
    BiaoqingForm& b = *c.frmBiaoqing;
    const int n = (b.EmoticonPage - 1) * kCells + index + 1;
    if (n < 1 || n > kEmoticons)
        return;
    protocol::GameCmd cmd = ChatCmd(c);
    cmd.Data[0] = ModeEmoticon;
    cmd.Data[3] = static_cast<int16_t>(n);
    // One NUL character: the frame goes out with an all-zero text.
    c.core.ChatText = QString(QChar(0));
    if (!ch.WhisperPrefix.isEmpty()) {
        cmd.Data[1] = ch.WhisperSeat;
        // The whisper is spent on the emoticon: its prefix leaves the chat
        // box, so that the next typed line does not carry it as text.
        platform::TextBox& box = *c.MainForm->Chat;
        if (box.Text().startsWith(ch.WhisperPrefix))
            box.SetText(box.Text().mid(ch.WhisperPrefix.size()));
    }
    ch.WhisperPrefix.clear();
    PlaceEmoticonCell(c, 0);
    c.MainForm->ucAni_BBQS[0]->LoadAnimatedGIF_Array(QByteArray());
    PlayEmoticon(c, 0, n);
    core::SendMsg(c, cmd);
    b.Hide();
}

void frmBiaoqing_Cmd_Dpp_MouseMove(Client& c)
{
    platform::Image& button = c.frmBiaoqing->Cmd_Dpp;
    if (!button.Enabled || core::LeadingNumber(button.Tag) != 0)
        return;
    button.Tag = QStringLiteral("1");
    Picture(button, kPrevHover);
}

void frmBiaoqing_Cmd_Dnp_MouseMove(Client& c)
{
    platform::Image& button = c.frmBiaoqing->Cmd_Dnp;
    if (!button.Enabled || core::LeadingNumber(button.Tag) != 0)
        return;
    button.Tag = QStringLiteral("1");
    Picture(button, kNextHover);
}

void frmBiaoqing_Pic_dynamicBQ_MouseMove(Client& c)
{
    BiaoqingForm& b = *c.frmBiaoqing;
    for (auto [button, normal] : {std::pair{&b.Cmd_Dnp, kNextEnabled}, std::pair{&b.Cmd_Dpp, kPrevEnabled}}) {
        if (!button->Enabled || button->Tag != QStringLiteral("1"))
            continue;
        button->Tag = QStringLiteral("0");
        Picture(*button, normal);
    }
}

void imgword1_Click(Client& c)
{
    c.Talk->Hide();
    c.huifu->Hide();
    frmBiaoqing_Form_Load(c);
    BiaoqingForm& b = *c.frmBiaoqing;
    if (b.Visible()) {
        if (b.Pic_dynamicBQ->isVisible())
            b.Hide();
        else
            b.Pic_dynamicBQ->show();
        return;
    }
    PlaceBesideChatBar(c, b);
    b.Pic_dynamicBQ->show();
    b.Img_dd.Enabled = false;
    Picture(b.Img_dd, kTabShown);
    b.Show();
    b.raise();
}

void imgword1_MouseMove(Client& c)
{
    platform::Image& button = c.MainForm->imgword1;
    if (!button.Enabled || core::LeadingNumber(button.Tag) != 0)
        return;
    button.Tag = QStringLiteral("1");
    Picture(button, kButtonHover);
}

} // namespace chat
