#include "window/table_design.h"

#include "window/main_form.h"
#include "window/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPalette>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace window {

namespace {

// ---- drawing ---------------------------------------------------------------

const QColor kGold(226, 184, 84);
const QColor kLacquer(112, 26, 18);

QImage Canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QFont Hei(double px, bool bold = true)
{
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(qMax(1, qRound(px)));
    font.setBold(bold);
    return font;
}

// Centred text with a dark edge so that it reads on any background.
void Caption(QPainter& p, const QRectF& r, const QString& text, const QFont& font, QColor colour,
             QColor edge = QColor(0, 0, 0, 150))
{
    p.setFont(font);
    p.setPen(edge);
    p.drawText(r.translated(1, 1), Qt::AlignCenter, text);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

// A rounded, lit pill with a gold rim.
void Pill(QPainter& p, const QRectF& r, QColor base, double radius)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(1, base.darker(160));
    p.setPen(QPen(kGold, 1.2));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.6, 0.6, -0.6, -0.6), radius, radius);
    QLinearGradient gloss(r.topLeft(), QPointF(r.left(), r.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 100));
    gloss.setColorAt(1, QColor(255, 255, 255, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(r.left() + 2, r.top() + 1.5, r.width() - 4, r.height() / 2 - 1), radius * 0.7,
                      radius * 0.7);
}

QImage CaptionButton(int w, int h, const QString& text, QColor base, double px)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Pill(p, QRectF(0, 0, w, h), base, qMin(w, h) * 0.3);
    Caption(p, QRectF(0, 0, w, h), text, Hei(px), QColor(255, 238, 180));
    return image;
}

// The wild-tile panel: a lacquered plaque with its title on top and a
// recessed well where the wild tile and the two dragon faces stand.
QImage WildPanel(const QString& title, QColor top, QColor bottom)
{
    const int w = 124, h = 107;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(kGold, 2));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 10, 10);
    p.setPen(QPen(QColor(255, 230, 150, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4.5, 4.5, w - 9, h - 9), 7, 7);
    Caption(p, QRectF(0, 6, w, 34), title, Hei(22), QColor(255, 226, 120));
    // The well under the three tiles (they stand at x 12-116, y 46-95).
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.setBrush(QColor(20, 40, 28, 170));
    p.drawRoundedRect(QRectF(8.5, 42.5, w - 17, 57), 5, 5);
    return image;
}

// The banker mark: "庄家" on the left; the wind label stands on the plain
// ribbon to its right.
QImage BankerMark()
{
    const int w = 70, h = 25;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Pill(p, QRectF(0, 0, w, h), QColor(170, 36, 24), 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 176, 230));
    p.drawRoundedRect(QRectF(34, 2.5, w - 36.5, h - 5), 7, 7);
    Caption(p, QRectF(1, 0, 33, h), QStringLiteral("庄"), Hei(16), QColor(255, 236, 160));
    return image;
}

// The countdown clock: a small alarm clock on the left and a dark window on
// the right where the seconds are written.
QImage Clock()
{
    const int w = 81, h = 38;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Pill(p, QRectF(0, 0, w, h), QColor(60, 40, 24), 9);
    const QPointF c(22, 20.5);
    // Bells and feet.
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(QPointF(13, 8), 5, 4);
    p.drawEllipse(QPointF(31, 8), 5, 4);
    p.setPen(QPen(kGold, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 30), QPointF(12, 34));
    p.drawLine(QPointF(29, 30), QPointF(32, 34));
    // Face.
    QRadialGradient face(c, 12);
    face.setColorAt(0, QColor(255, 252, 236));
    face.setColorAt(1, QColor(228, 214, 176));
    p.setPen(QPen(QColor(190, 40, 30), 2.4));
    p.setBrush(face);
    p.drawEllipse(c, 11.5, 11.5);
    p.setPen(QPen(QColor(40, 30, 20), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -7.5));
    p.drawLine(c, c + QPointF(5.5, 2));
    p.setPen(QPen(QColor(40, 30, 20), 1));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        p.drawPoint(c + QPointF(9 * std::sin(a), -9 * std::cos(a)));
    }
    // The window of the digits (they are written at x 48-72, y 5-29).
    p.setPen(QPen(QColor(0, 0, 0, 140), 1));
    p.setBrush(QColor(12, 24, 16));
    p.drawRoundedRect(QRectF(44.5, 4.5, 32, 29), 5, 5);
    return image;
}

QImage ReadyMark()
{
    const int w = 70, h = 29;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Pill(p, QRectF(0, 0, w, h), QColor(28, 130, 64), 9);
    Caption(p, QRectF(0, 0, w, h), QStringLiteral("准备"), Hei(17), QColor(255, 250, 210));
    return image;
}

// The mascot: a round little sparrow.
QImage Mascot()
{
    const int w = 82, h = 80;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Shadow on the cloth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(QPointF(41, 73), 26, 5);
    // Tail.
    QPainterPath tail;
    tail.moveTo(14, 46);
    tail.lineTo(2, 36);
    tail.lineTo(6, 52);
    tail.closeSubpath();
    p.setBrush(QColor(96, 60, 34));
    p.drawPath(tail);
    // Body and belly.
    QRadialGradient body(QPointF(36, 34), 34);
    body.setColorAt(0, QColor(196, 132, 76));
    body.setColorAt(1, QColor(120, 72, 36));
    p.setPen(QPen(QColor(70, 40, 20), 1.5));
    p.setBrush(body);
    p.drawEllipse(QPointF(40, 42), 28, 26);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 236, 210));
    p.drawEllipse(QPointF(47, 52), 16, 13);
    // Cap and cheek.
    p.setBrush(QColor(120, 58, 30));
    p.drawChord(QRectF(26, 14, 34, 26), 20 * 16, 140 * 16);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(52, 33), 8, 6);
    p.setBrush(QColor(30, 20, 16));
    p.drawEllipse(QPointF(54, 36), 2.5, 2.5);
    // Eye and beak.
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(50, 26), 5, 5);
    p.setBrush(QColor(20, 16, 12));
    p.drawEllipse(QPointF(51.5, 26), 2.8, 2.8);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(52.5, 25), 1, 1);
    // A short, blunt beak, its tip well inside the picture: a thin point
    // would vanish when the mascot is drawn smaller.
    QPainterPath beak;
    beak.moveTo(63, 26.5);
    beak.quadTo(72, 28.5, 73, 31.5);
    beak.quadTo(72, 34.5, 63, 36.5);
    beak.closeSubpath();
    p.setPen(QPen(QColor(150, 90, 20), 1));
    p.setBrush(QColor(240, 170, 40));
    p.drawPath(beak);
    p.setPen(Qt::NoPen);
    // Wing.
    p.setPen(QPen(QColor(60, 34, 16), 1.2));
    p.setBrush(QColor(140, 88, 44));
    QPainterPath wing;
    wing.moveTo(22, 40);
    wing.cubicTo(30, 32, 44, 40, 40, 56);
    wing.cubicTo(32, 58, 22, 52, 22, 40);
    p.drawPath(wing);
    // Feet.
    p.setPen(QPen(QColor(230, 150, 40), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(36, 67), QPointF(34, 73));
    p.drawLine(QPointF(46, 67), QPointF(48, 73));
    return image;
}

// The chat bar: a dark translucent strip with a gold rim, from its left
// edge to the table's right edge.
QImage ChatBar()
{
    const int w = 392, h = 39;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(70, 30, 18, 220));
    g.setColorAt(1, QColor(30, 12, 8, 220));
    p.setPen(QPen(kGold, 1.5));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 9, 9);
    return image;
}

} // namespace

platform::Picture DrawDesignPicture(DesignPicture which)
{
    platform::Picture picture;
    switch (which) {
    case DesignPicture::WildPanel:
        picture.image = WildPanel(QStringLiteral("赖 子"), kLacquer.lighter(125), QColor(54, 14, 10));
        break;
    case DesignPicture::StreakPanel:
        picture.image = WildPanel(QStringLiteral("连 赖"), QColor(214, 96, 20), QColor(120, 20, 12));
        break;
    case DesignPicture::BankerMark: picture.image = BankerMark(); break;
    case DesignPicture::Clock: picture.image = Clock(); break;
    case DesignPicture::ReadyMark: picture.image = ReadyMark(); break;
    case DesignPicture::ItemBag: picture.image = CaptionButton(54, 31, QStringLiteral("道具"), QColor(110, 60, 140), 15); break;
    case DesignPicture::Report: picture.image = CaptionButton(57, 51, QStringLiteral("举报"), QColor(176, 44, 30), 17); break;
    case DesignPicture::Mascot: picture.image = Mascot(); break;
    case DesignPicture::ChatBar: picture.image = ChatBar(); break;
    case DesignPicture::Multiplier: picture.image = CaptionButton(48, 28, QStringLiteral("倍数"), QColor(190, 130, 30), 14); break;
    case DesignPicture::Wealth: picture.image = CaptionButton(48, 28, QStringLiteral("财富"), QColor(30, 120, 70), 14); break;
    }
    return picture;
}

QSize DesignPictureSize(DesignPicture which)
{
    switch (which) {
    case DesignPicture::WildPanel:
    case DesignPicture::StreakPanel: return {124, 107};
    case DesignPicture::BankerMark: return {70, 25};
    case DesignPicture::Clock: return {81, 38};
    case DesignPicture::ReadyMark: return {70, 29};
    case DesignPicture::ItemBag: return {54, 31};
    case DesignPicture::Report: return {57, 51};
    case DesignPicture::Mascot: return {82, 80};
    case DesignPicture::ChatBar: return {392, 39};
    case DesignPicture::Multiplier:
    case DesignPicture::Wealth: return {48, 28};
    }
    return {};
}

namespace {

// ---- the design values -----------------------------------------------------

// Colours as the labels store them: 0x00BBGGRR.
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kLightYellow = 0x9CF0FF;
constexpr int32_t kYellow = 0x00FFFF;
constexpr int32_t kGoldText = 0x40D0FF;
constexpr int32_t kPaleGreen = 0xB8F0C0;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kDarkRed = 0x1010B0;
constexpr int32_t kDeepRed = 0x182070;

void Font(platform::Label& l, float size, bool bold, int32_t colour, int align = platform::Label::LeftJustify)
{
    l.FontSize = size;
    l.FontBold = bold;
    l.ForeColor = colour;
    l.Alignment = align;
}

// The picture is drawn when the image first needs it: most start hidden.
void GivePicture(platform::Image& image, DesignPicture which)
{
    image.SetPictureSource(DesignPictureSize(which), [which] { return DrawDesignPicture(which); });
}

} // namespace

void ApplyTableDesign(MainForm& f)
{
    using platform::Label;

    // Compass, banker mark and wind.
    f.ZhiNan.Stretch = true;
    f.ZhiNan.Move(10, 104, 77, 77);
    f.ZhiNan.Visible = false;
    GivePicture(f.Host, DesignPicture::BankerMark);
    f.Host.Move(14, 198);
    f.Host.Visible = false;
    f.Zhuang.Move(58, 198, 25, 25);
    f.Zhuang.Caption = QStringLiteral("东");
    Font(f.Zhuang, 13, true, kDarkRed, Label::Center);
    f.Zhuang.Visible = false;

    // The wild-tile panel and its two picture sources.
    GivePicture(f.quoxaImg, DesignPicture::WildPanel);
    f.quoxaImg.Visible = false;
    GivePicture(f.lianlaiImg, DesignPicture::StreakPanel);
    f.lianlaiImg.Visible = false;
    f.Quoxa.Stretch = true;
    f.Quoxa.Move(888, 100, 124, 107);
    f.Quoxa.SetPicture(f.quoxaImg.GetPicture());
    f.ZQ_Image.Stretch = true;
    f.ZQ_Image.Visible = false;
    for (int i = 0; i < f.imgPiZi.Count(); ++i) {
        f.imgPiZi[i].Stretch = true;
        f.imgPiZi[i].Visible = false;
    }

    // The local seat: avatar, badge, name, money and level.
    f.Tou[0].Stretch = true;
    f.Tou[0].Move(10, 668, 85, 90);
    for (int v = 0; v < f.img_vip.Count(); ++v) {
        LoadGifResource(900, QStringLiteral("GIF"), f.img_vip[v]);
        f.img_vip[v].Visible = false;
    }
    f.Nid[0].Move(181, 700, 161, 25);
    Font(f.Nid[0], 10, true, kWhite);
    for (platform::ControlArray<Label>* money : {&f.Cash, &f.lbl_score}) {
        (*money)[0].Move(181, 724, 161, 17);
        Font((*money)[0], 9, false, kGoldText);
    }
    for (platform::ControlArray<Label>* level : {&f.Level, &f.lbl_sort}) {
        (*level)[0].Move(181, 744, 161, 17);
        Font((*level)[0], 9, false, kPaleGreen);
    }
    // The match score and ranking show instead of money and level only in
    // match rooms.
    f.lbl_score[0].Visible = false;
    f.lbl_sort[0].Visible = false;
    f.OK[0].Stretch = true;
    GivePicture(f.OK[0], DesignPicture::ReadyMark);
    f.OK[0].Move(460, 530, 70, 29);
    f.OK[0].Visible = false;
    f.Proponeself.Caption.clear();
    f.Proponeself.BackTransparent = true;

    // The chat bar and the chat-history label.
    GivePicture(f.imgLocation, DesignPicture::ChatBar);
    f.imgLocation.ZOrder(1);
    f.Location.Move(760, 668, 120, 18);
    Font(f.Location, 9, true, kLightYellow);
    f.Lbchat.Move(594, 694, 25, 33);
    f.Lbchat.Caption = QStringLiteral("聊天记录");
    Font(f.Lbchat, 7, true, kLightYellow, Label::Center);
    f.Lbchat.BackTransparent = false;
    f.Lbchat.BackColor = kDeepRed;
    f.Lbchat.ToolTipText = QStringLiteral("聊天记录");

    // Buttons of the table.
    f.Bank.Stretch = true;
    GivePicture(f.Bank, DesignPicture::ItemBag);
    f.Bank.Move(699, 658, 54, 31);
    GivePicture(f.cmdImpeach, DesignPicture::Report);
    f.cmdImpeach.Visible = false;
    f.cmdImpeach.Enabled = false;
    f.ImgJadeTask.Visible = false;

    // The countdown, the claim buttons and the speech pictures.
    f.Time_Img.Stretch = true;
    GivePicture(f.Time_Img, DesignPicture::Clock);
    f.Time_Img.Move(920, 207, 81, 38);
    f.Time_Img.Visible = false;
    f.Number.Move(968, 212, 24, 24);
    Font(f.Number, 15, true, kGreen, Label::Center);
    f.Number.Visible = false;
    f.Operation[0].Stretch = true;
    f.Operation[0].Move(358, 461, 50, 71);
    f.Operation[0].Visible = false;
    f.Operation[0].Enabled = false;
    for (int i = 0; i < f.Speak.Count(); ++i)
        f.Speak[i].Visible = false;

    // Multipliers, small dice and the captions shown with them.
    GivePicture(f.imgBeishu, DesignPicture::Multiplier);
    GivePicture(f.Imgwealth, DesignPicture::Wealth);
    for (platform::Image* hidden : {&f.imgBeishu, &f.Imgwealth, &f.imgsezi[0], &f.imgsezi[1]})
        hidden->Visible = false;
    for (Label* text : {&f.lblDifen, &f.lbwealth}) {
        text->Width = 70;
        text->Height = 30;
        Font(*text, 18, true, kYellow);
        text->Visible = false;
    }
    const QString multiplierTexts[] = {QStringLiteral("骰子翻倍"), QStringLiteral("财富场"),
                                       QStringLiteral("按最少财富计倍")};
    for (int i = 0; i < f.lbfont.Count(); ++i) {
        f.lbfont[i].Caption = multiplierTexts[i];
        f.lbfont[i].Width = 180;
        f.lbfont[i].Height = 24;
        Font(f.lbfont[i], 12, true, kYellow, Label::Center);
        f.lbfont[i].Visible = false;
    }
    // The match box stands where the betting strip stands in other rooms:
    // the countdown (or the match clock label before and between sessions),
    // the sign-up count and the number the server gives.
    f.pic_matchinfo->setGeometry(105, 654, 528, 33);
    QPalette box = f.pic_matchinfo->palette();
    box.setColor(QPalette::Window, QColor(0x12, 0x3A, 0x26));
    f.pic_matchinfo->setPalette(box);
    f.pic_matchinfo->setAutoFillBackground(true);
    const QString matchTexts[] = {QStringLiteral("比赛倒计时"), QStringLiteral("4000"), QStringLiteral("10000")};
    const float matchLefts[] = {12, 200, 340};
    for (int i = 0; i < f.lbl_matchinfo.Count(); ++i) {
        f.lbl_matchinfo[i].Caption = matchTexts[i];
        f.lbl_matchinfo[i].Move(matchLefts[i], 8, 150, 17);
        Font(f.lbl_matchinfo[i], 10, true, i == 0 ? kYellow : kGoldText);
    }
    f.lbl_matchtime.Move(12, 8, 150, 17);
    Font(f.lbl_matchtime, 10, true, kYellow);

    // The backdrop of the wild-streak animation.
    f.img_lianLaiBack.Stretch = true;

    // The mascot.
    f.Bird.Stretch = true;
    GivePicture(f.Bird, DesignPicture::Mascot);

    // The one-line system boxes and the chat line: dark strips with light
    // text, without frames or scroll bars, so that one line fills each.
    for (platform::ListBox* list : f.Sysmsg) {
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(12);
        list->setFont(font);
        list->setFrameShape(QFrame::NoFrame);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setFocusPolicy(Qt::NoFocus);
        list->setStyleSheet(QStringLiteral("QListWidget { background: #1c120c; color: #ffe89c; border: none; }"
                                           "QListWidget::item { padding: 0px; margin: 0px; }"));
    }
    QFont chatFont(QStringLiteral("WenQuanYi Micro Hei"));
    chatFont.setPointSize(10);
    f.Chat->setFont(chatFont);
    f.Chat->setStyleSheet(QStringLiteral("QLineEdit { background: #fff8e6; color: #201008;"
                                         " border: 1px solid #e2b854; border-radius: 3px; padding: 0px 4px; }"));

    // The video-site prompt, hidden until an item calls it up.
    f.pic_gskh_back->resize(320, 160);
    QPalette back = f.pic_gskh_back->palette();
    back.setColor(QPalette::Window, QColor(54, 20, 14));
    f.pic_gskh_back->setPalette(back);
    f.pic_gskh_back->setAutoFillBackground(true);
}

} // namespace window
