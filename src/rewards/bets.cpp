#include "rewards/bets.h"

#include "app/client.h"
#include "core/ini_file.h"
#include "core/numeric.h"
#include "platform/gbk.h"
#include "results/result_forms.h"
#include "rewards/goods_cmd.h"
#include "rewards/prize_pool.h"
#include "rewards/purchase.h"
#include "chat/emoticon_picker.h"
#include "services/item_bag.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QFile>
#include <cmath>

namespace rewards {

namespace {

const QString kSection = QStringLiteral("user");
// Most users a garbled "num" makes the bet read or write look through.
constexpr int kMaxIniUsers = 1000;

QString LocalName(const Client& c) { return platform::gbk::Decode(c.game.Players[0].Name); }

int32_t WholeNumber(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int32_t>(std::clamp(std::nearbyint(v), -2147483648.0, 2147483647.0));
}

void SetBoxText(platform::TextBox* box, const QString& text)
{
    if (box && box->Text() != text)
        box->SetText(text);
}

// The number of users recorded; a garbled count is cut to the users a
// lookup may visit.
int UsersRecorded(const core::classIniFile& ini)
{
    return static_cast<int>(std::clamp(std::nearbyint(core::LeadingNumber(ini.GetIniKey(kSection, QStringLiteral("num")))),
                                       0.0, static_cast<double>(kMaxIniUsers)));
}

} // namespace

int RoomGradeOf(double value)
{
    if (!std::isfinite(value) || value < 0)
        return 0;
    const double units = std::nearbyint(value / 65536.0);
    return static_cast<int>(std::fmod(units, 256.0));
}

int32_t MaxChipFor(int grade, const std::vector<match::ChipLimit>& limits)
{
    const int count = static_cast<int>(limits.size()) - 1;
    int32_t max = 0;
    if (grade == 0 || count <= 0)
        max = 99;
    for (int i = 1; i <= count; ++i)
        if (core::LeadingNumber(limits[static_cast<std::size_t>(i)].key) == grade) {
            return limits[static_cast<std::size_t>(i)].max;
        }
    if (max <= 0)
        for (int i = 1; i <= count; ++i)
            if (limits[static_cast<std::size_t>(i)].key == QStringLiteral("other"))
                return limits[static_cast<std::size_t>(i)].max;
    return max;
}

void GetMaxChip(Client& c)
{
    c.rewards.Bets.MaxChip = MaxChipFor(RoomGradeOf(c.game.UserInfos[0].RoomGrade), c.match.tables.ChipLimits);
}

QString IniSafeName(const QString& name)
{
    static const QString special = QStringLiteral("%\"';[]=#");
    QString out;
    for (const QChar ch : name) {
        if (ch.unicode() < 0x20 || ch == QLatin1Char(' ') || ch.unicode() == 0x7F || special.contains(ch))
            out += QStringLiteral("%%%1").arg(ch.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += ch;
    }
    return out;
}

QString UserInfoIniPath(const Client& c)
{
    return c.core.DataPath.isEmpty() ? QString() : c.core.DataPath + QStringLiteral("/userinfo.ini");
}

int16_t LoadDefaultChip(Client& c)
{
    const QString path = UserInfoIniPath(c);
    if (path.isEmpty() || !QFile::exists(path))
        return 1;
    core::classIniFile ini;
    ini.setINIFileName(path);
    const QString me = IniSafeName(LocalName(c));
    const int num = UsersRecorded(ini);
    for (int i = 1; i <= num; ++i) {
        if (ini.GetIniKey(kSection, QString::number(i) + QStringLiteral("username")) != me)
            continue;
        const double chip = std::nearbyint(core::LeadingNumber(ini.GetIniKey(kSection, QString::number(i) + QStringLiteral("chip"))));
        // Beyond 16 bits a stored bet is taken as the largest one.
        return chip < 1 ? int16_t{1} : static_cast<int16_t>(std::min(chip, 32767.0));
    }
    return 1;
}

void SaveDefaultChip(Client& c, int16_t chip)
{
    const QString path = UserInfoIniPath(c);
    if (path.isEmpty())
        return;
    core::classIniFile ini;
    ini.setINIFileName(path);
    const QString me = IniSafeName(LocalName(c));
    const int num = UsersRecorded(ini);
    for (int i = 1; i <= num; ++i)
        if (ini.GetIniKey(kSection, QString::number(i) + QStringLiteral("username")) == me) {
            ini.WriteIniKey(kSection, QString::number(i) + QStringLiteral("chip"), QString::number(chip));
            return;
        }
    const QString n = QString::number(num + 1);
    ini.WriteIniKey(kSection, QStringLiteral("num"), n);
    ini.WriteIniKey(kSection, n + QStringLiteral("username"), me);
    ini.WriteIniKey(kSection, n + QStringLiteral("chip"), QString::number(chip));
}

double BoxNumber(const QString& text) { return core::LeadingNumber(text); }

void RefreshChipBox(Client& c, bool force)
{
    BetsState& b = c.rewards.Bets;
    if (!b.Txt_chip)
        return;
    const int16_t def = LoadDefaultChip(c);
    const int32_t owned = GetMyGoodsCount(c, kCigarettes);
    const int32_t before = WholeNumber(BoxNumber(b.Txt_chip->Text()));
    if (owned <= 0)
        SetBoxText(b.Txt_chip, QStringLiteral("0"));
    else if (owned < def)
        SetBoxText(b.Txt_chip, QStringLiteral("1"));
    else
        SetBoxText(b.Txt_chip, QString::number(def));
    const int32_t now = WholeNumber(BoxNumber(b.Txt_chip->Text()));
    if (now > 0 && (now != before || force))
        SendGoodsCmd(c, kGoodsBet, kCigarettes, now);
}

void Txt_chip_Change(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (b.InChipChange || !b.Txt_chip)
        return;
    b.InChipChange = true;
    const int32_t owned = GetMyGoodsCount(c, kCigarettes);
    QString text = b.Txt_chip->Text();
    bool numeric = false;
    text.trimmed().toDouble(&numeric);
    if (!text.isEmpty() && !numeric)
        text = QString::number(WholeNumber(std::trunc(BoxNumber(text))));
    if (!text.isEmpty())
        text = QString::number(static_cast<qint64>(std::trunc(std::clamp(BoxNumber(text), -1e15, 1e15))));
    double n = BoxNumber(text);
    if (n < 0)
        text = QStringLiteral("1");
    if (b.MaxChip < 1)
        GetMaxChip(c);
    // A ceiling below 0 bounds like 0.
    const int32_t ceiling = std::max<int32_t>(b.MaxChip, 0);
    if (BoxNumber(text) > ceiling)
        text = QString::number(ceiling);
    n = BoxNumber(text);
    if (n >= owned) {
        OfferPurchase(c);
        text = QString::number(owned);
    }
    SetBoxText(b.Txt_chip, text);
    b.InChipChange = false;
}

void Img_add_bt_Click(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (b.MaxChip < 1)
        GetMaxChip(c);
    const double n = BoxNumber(b.Txt_chip->Text());
    if (n <= b.MaxChip)
        SetBoxText(b.Txt_chip, QString::number(WholeNumber(n) + 1));
}

void Img_reduce_bt_Click(Client& c)
{
    BetsState& b = c.rewards.Bets;
    const double n = BoxNumber(b.Txt_chip->Text());
    if (n > 1)
        SetBoxText(b.Txt_chip, QString::number(WholeNumber(n) - 1));
}

void Img_chip_bt_Click(Client& c)
{
    BetsState& b = c.rewards.Bets;
    window::MainForm& f = *c.MainForm;
    // One bet a hand: the button stays disabled until the hand's results.
    if (!f.Img_chip_bt.Enabled)
        return;
    if (b.MaxChip < 1)
        GetMaxChip(c);
    const int32_t owned = GetMyGoodsCount(c, kCigarettes);
    const double n = BoxNumber(b.Txt_chip->Text());
    if (!(n > 0 && n <= b.MaxChip && n <= owned))
        return;
    const int32_t bet = WholeNumber(n);
    SendGoodsCmd(c, kGoodsBet, kCigarettes, bet);
    f.Img_chip_bt.Enabled = false;
    window::LoadGifResource(kChipBtUsed, QStringLiteral("GIF"), f.Img_chip_bt);
    f.Img_chip_bt.Tag = QStringLiteral("2");
    SaveDefaultChip(c, static_cast<int16_t>(std::min(bet, 32767)));
}

void OnMyGoodsFrame(Client& c, const protocol::GameFrame& frame)
{
    if (!services::MsgMyGoods(c, frame))
        return;
    c.rewards.Bets.Lb_mysmoke.SetCaption(QString::number(GetMyGoodsCount(c, kCigarettes)));
    RefreshChipBox(c, false);
    Send95(c);
}

void OnGoodsChangeFrame(Client& c, const protocol::GameFrame& frame)
{
    const std::optional<services::GoodsChange> change = services::MsgGoodsChange(c, frame);
    if (!change)
        return;
    BetsState& b = c.rewards.Bets;
    if (change->GoodsId == kCigarettes) {
        const int32_t after = change->After;
        const int32_t before = change->Before;
        const double bet = b.Txt_chip ? BoxNumber(b.Txt_chip->Text()) : 0;
        const int16_t def = LoadDefaultChip(c);
        if ((after < before && bet > after) || (after > before && bet != def))
            RefreshChipBox(c, false);
        if (after < before)
            c.game.ChipRefreshDue = -1;
        b.Lb_mysmoke.SetCaption(QString::number(after));
    }
    if (change->GoodsId == kVideoGoods && change->After > change->Before) {
        if (platform::PictureBox* prompt = c.MainForm->pic_gskh_back) {
            prompt->show();
            prompt->raise();
        }
        c.frmBiaoqing->hide();
        if (platform::Form* rule = c.window.FrmRule ? c.window.FrmRule() : nullptr)
            rule->hide();
        c.Hero->hide();
        c.Score->hide();
    }
}

} // namespace rewards
