// The membership offer, the pay buttons, the video-site prompt and the
// signed links they open.
#include "service_fixture.h"

#include "core/md5.h"
#include "services/web_links.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace services;
using testing_support::ServiceTable;

namespace {

// The query value of a key as raw bytes (the links carry GBK bytes).
QByteArray Param(const QUrl& url, const QString& key)
{
    const QStringList pairs = url.query(QUrl::FullyEncoded).split(QLatin1Char('&'));
    for (const QString& p : pairs)
        if (p.startsWith(key + QLatin1Char('=')))
            return QByteArray::fromPercentEncoding(p.mid(key.size() + 1).toLatin1());
    return "<missing>";
}

} // namespace

struct NameCase {
    const char* name;
    QByteArray user;
    QByteArray key;
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

class SignedLinks : public ::testing::TestWithParam<NameCase> {};

TEST_P(SignedLinks, CarryTheValuesEncodedAndSignTheRawBytes)
{
    const QByteArray user = GetParam().user;
    const QByteArray key = GetParam().key;

    const QUrl recharge(MemberRechargeLink(user, key), QUrl::StrictMode);
    ASSERT_TRUE(recharge.isValid());
    EXPECT_EQ(recharge.host(), QStringLiteral("www.brannoch.example"));
    EXPECT_EQ(recharge.path(), QStringLiteral("/chongzhi/member.php"));
    EXPECT_EQ(Param(recharge, QStringLiteral("l")), user);
    EXPECT_EQ(Param(recharge, QStringLiteral("z")), key);
    EXPECT_EQ(Param(recharge, QStringLiteral("m")), QByteArray(Md5Hex(user + key + "quendrix").toLatin1()));
    EXPECT_EQ(recharge.query(QUrl::FullyEncoded).count(QLatin1Char('&')), 2) << "no parameter of its own";

    const QUrl video(VideoSiteLink(user, key), QUrl::StrictMode);
    ASSERT_TRUE(video.isValid());
    const QByteArray keyDigest = Md5Hex(key).toLatin1();
    EXPECT_EQ(Param(video, QStringLiteral("a")), user);
    EXPECT_EQ(Param(video, QStringLiteral("b")), keyDigest);
    EXPECT_EQ(Param(video, QStringLiteral("c")),
              Md5Hex(user + keyDigest + "qmvbtrxeolawn58k2hz7cd1uyf4gs09p").toLatin1());
    EXPECT_EQ(Param(video, QStringLiteral("z")), QByteArray("<missing>")) << "the key itself stays out";
}

INSTANTIATE_TEST_SUITE_P(
    WebLinks, SignedLinks,
    ::testing::Values(NameCase{"Plain", "player", "key"},
                      NameCase{"Chinese", platform::gbk::Encode(QStringLiteral("玩家")), "k"},
                      NameCase{"AmpersandAndEquals", "a&m=0&b", "z=1&l=evil"},
                      NameCase{"HashSpaceAndPercent", "x #y %41", "k/../?q"},
                      NameCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WebLinks, Md5MatchesTheClientsOwnDigest)
{
    const QByteArray text = platform::gbk::Encode(QStringLiteral("玩家key"));
    EXPECT_EQ(Md5Hex(text), core::Md5String(platform::gbk::Decode(text)));
}

TEST(FrmVip, ASeatWithALevelOpensTheOfferWithItsPicture)
{
    ServiceTable t;
    for (auto [level, opens] : {std::pair{3, true}, {0, false}, {7, false}, {6, true}}) {
        if (t.c.services.FrmVip)
            t.c.services.FrmVip->hide();
        t.c.game.UserInfos[1].VipLevel = static_cast<int16_t>(level);
        t.f.img_vip[1].SetVisible(true);
        t.f.img_vip[1].ZOrder(0);
        t.ClickTable(t.f.img_vip[1]);
        const bool shown = t.c.services.FrmVip && t.c.services.FrmVip->isVisible();
        EXPECT_EQ(shown, opens) << level;
        if (opens) {
            EXPECT_EQ(t.c.services.FrmVip->BackPicture.resourceId, 419 + level) << level;
        }
    }
}

TEST(FrmVip, TheRechargeLinkIsBuiltOnceAndOpenedThroughTheWebOpener)
{
    ServiceTable t;
    t.c.core.UserName = "player";
    t.c.core.UserKey = "secret";
    t.c.game.UserInfos[0].VipLevel = 2;
    t.f.img_vip[0].SetVisible(true);
    t.f.img_vip[0].ZOrder(0); // as the user-info frame leaves it
    t.ClickTable(t.f.img_vip[0]);
    ASSERT_TRUE(t.c.services.FrmVip);
    VipForm& vip = *t.c.services.FrmVip;
    ServiceTable::Click(&vip, vip.ImgOpenvip);
    t.c.core.UserName = "someone else";
    ServiceTable::Click(&vip, vip.ImgOpenvip);
    ASSERT_EQ(t.t.shell.opened.size(), 2);
    EXPECT_EQ(t.t.shell.opened[0], t.t.shell.opened[1]);
    EXPECT_EQ(t.t.shell.opened[0].toString(), MemberRechargeLink("player", "secret"));

    ServiceTable::Click(&vip, vip.Imgclose);
    EXPECT_FALSE(vip.isVisible());
}

TEST(FrmVip, ButtonsHoverAndTheWindowPutsThemBack)
{
    ServiceTable t;
    t.c.game.UserInfos[0].VipLevel = 1;
    t.f.img_vip[0].SetVisible(true);
    t.f.img_vip[0].ZOrder(0); // as the user-info frame leaves it
    t.ClickTable(t.f.img_vip[0]);
    ASSERT_TRUE(t.c.services.FrmVip);
    VipForm& vip = *t.c.services.FrmVip;
    testing_support::MoveOver(&vip, testing_support::CentreOf(vip.ImgOpenvip));
    testing_support::MoveOver(&vip, testing_support::CentreOf(vip.Imgclose));
    EXPECT_EQ(vip.ImgOpenvip.PictureId(), kOpenVipHover);
    EXPECT_EQ(vip.Imgclose.PictureId(), kCloseHover);
    EXPECT_EQ(vip.Imgclose.Tag, QStringLiteral("1"));
    testing_support::MoveOver(&vip, QPoint(150, 150));
    EXPECT_EQ(vip.ImgOpenvip.PictureId(), kOpenVipNormal);
    EXPECT_EQ(vip.Imgclose.PictureId(), kCloseNormal);
    EXPECT_EQ(vip.ImgOpenvip.Tag, QStringLiteral("0"));
}

TEST(PayButtons, OpenTheirPageOnceUntilTheMouseMovesAgain)
{
    ServiceTable t;
    img_chzhi_Click(t.c, 1);
    img_chzhi_Click(t.c, 1);
    EXPECT_EQ(t.t.shell.opened, QList<QUrl>{QUrl(QStringLiteral("http://www.brannoch.example/netpay/netpaylog.php"))});
    EXPECT_EQ(t.c.services.img_chzhi[1].PictureId(), 782);
    ResetPayButtons(t.c);
    EXPECT_EQ(t.c.services.img_chzhi[1].PictureId(), 780);
    img_chzhi_MouseMove(t.c, 2);
    EXPECT_EQ(t.c.services.img_chzhi[2].PictureId(), 784);
    img_chzhi_Click(t.c, 2);
    img_chzhi_Click(t.c, 1);
    EXPECT_EQ(t.t.shell.opened.size(), 3);
    EXPECT_EQ(t.t.shell.opened[1], QUrl(QStringLiteral("http://www.brannoch.example/alipay")));
}

TEST(VideoPrompt, OkOpensTheSignedLinkAndBothButtonsClose)
{
    ServiceTable t;
    t.c.core.UserName = "player";
    t.c.core.UserKey = "secret";
    for (bool ok : {true, false}) {
        t.f.pic_gskh_back->show();
        t.f.pic_gskh_back->raise();
        ServiceTable::Click(t.f.pic_gskh_back, ok ? t.c.services.btn_gskh_ok : t.c.services.btn_gskh_no);
        EXPECT_FALSE(t.f.pic_gskh_back->isVisible());
    }
    EXPECT_EQ(t.t.shell.opened, QList<QUrl>{QUrl(VideoSiteLink("player", "secret"))});
}

TEST(VideoPrompt, ButtonsHoverAndThePanelPutsThemBack)
{
    ServiceTable t;
    t.f.pic_gskh_back->show();
    ServicesState& s = t.c.services;
    testing_support::MoveOver(t.f.pic_gskh_back, testing_support::CentreOf(s.btn_gskh_ok));
    testing_support::MoveOver(t.f.pic_gskh_back, testing_support::CentreOf(s.btn_gskh_no));
    EXPECT_EQ(s.btn_gskh_ok.PictureId(), 131);
    EXPECT_EQ(s.btn_gskh_no.PictureId(), 133);
    testing_support::MoveOver(t.f.pic_gskh_back, QPoint(5, 5));
    EXPECT_EQ(s.btn_gskh_ok.PictureId(), 130);
    EXPECT_EQ(s.btn_gskh_no.PictureId(), 132);
}
