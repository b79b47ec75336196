#include "window/main_form.h"

#include "window/chrome.h"
#include "window/pictures.h"
#include "window/table_design.h"

#include <QCloseEvent>
#include <QPalette>
#include <QMouseEvent>
#include <QWindow>

namespace window {

using platform::ControlArray;
using platform::Image;
using platform::Label;

MainForm::MainForm(QWidget* parent)
    : platform::Form(QStringLiteral("MainForm"), nullptr),
      pic1(new platform::PictureBox(this, QStringLiteral("pic1"))),
      Tou(nullptr, QStringLiteral("Tou"), 4),
      Nid(nullptr, QStringLiteral("Nid"), 4),
      Cash(nullptr, QStringLiteral("Cash"), 4),
      Level(nullptr, QStringLiteral("Level"), 4),
      lbl_score(nullptr, QStringLiteral("lbl_score"), 4),
      lbl_sort(nullptr, QStringLiteral("lbl_sort"), 4),
      img_vip(nullptr, QStringLiteral("img_vip"), 4),
      OK(nullptr, QStringLiteral("OK"), 4),
      AnNiu(nullptr, QStringLiteral("AnNiu"), 9),
      lbl_matchinfo(nullptr, QStringLiteral("lbl_matchinfo"), 3),
      ImgCloseList(nullptr, QStringLiteral("ImgCloseList"), 2),
      ImgMatch(nullptr, QStringLiteral("ImgMatch"), 1),
      LblMathName(nullptr, QStringLiteral("LblMathName"), 1),
      LblMathStart(nullptr, QStringLiteral("LblMathStart"), 1),
      LblMathLeft(nullptr, QStringLiteral("LblMathLeft"), 1),
      LblMathNum(nullptr, QStringLiteral("LblMathNum"), 1),
      LblShowTip(nullptr, QStringLiteral("LblShowTip"), 1),
      LblShowInfo(nullptr, QStringLiteral("LblShowInfo"), 1),
      LblPrizeInfo(nullptr, QStringLiteral("LblPrizeInfo"), 1),
      ImgUppage(nullptr, QStringLiteral("ImgUppage"), 2),
      ImgDownpage(nullptr, QStringLiteral("ImgDownpage"), 2),
      LblshowPage(nullptr, QStringLiteral("LblshowPage"), 2),
      LblInfoLMatch(nullptr, QStringLiteral("LblInfoLMatch"), 1),
      LblSortInfo(nullptr, QStringLiteral("LblSortInfo"), 5),
      FrameSkin(nullptr, QStringLiteral("FrameSkin"), 8),
      Imgclose(this, QStringLiteral("Imgclose"), 4),
      ImgMin(this, QStringLiteral("ImgMin"), 4)
{
    Q_UNUSED(parent);
    setWindowTitle(QStringLiteral("MainForm"));
    resize(1024, 768);
    pic1->setGeometry(0, 0, 1024, 768);
    // The table is green cloth under everything drawn on it.
    QPalette cloth = pic1->palette();
    cloth.setColor(QPalette::Window, QColor(0x1F, 0x5E, 0x3B));
    pic1->setPalette(cloth);
    pic1->setAutoFillBackground(true);

    // The control arrays, the board's among the window's own, back to front.
    MJ_Image.AttachTo(pic1);
    SZ_Image.AttachTo(pic1);
    Sai_Image.AttachTo(pic1);
    imgPiZi.AttachTo(pic1);
    Operation.AttachTo(pic1);
    Chi.AttachTo(pic1);
    Gang.AttachTo(pic1);
    Speak.AttachTo(pic1);
    Tou.AttachTo(pic1);
    Nid.AttachTo(pic1);
    Cash.AttachTo(pic1);
    Level.AttachTo(pic1);
    lbl_score.AttachTo(pic1);
    lbl_sort.AttachTo(pic1);
    img_vip.AttachTo(pic1);
    OK.AttachTo(pic1);
    imgsezi.AttachTo(pic1);
    lbfont.AttachTo(pic1);
    AnNiu.AttachTo(pic1);
    ImgProp.AttachTo(pic1);

    for (Image* single : std::initializer_list<Image*>{
             &ZhiNan, &Host, &Quoxa, &quoxaImg, &ZQ_Image, &img_lianLaiBack, &lianlaiImg, &Time_Img, &imgBeishu,
             &Imgwealth, &cmdImpeach, &ImgGm, &Bank, &ImgShuffle, &ImgShowMatch, &ImgShowSort, &ImgOpenMatchBtn,
             &Img_chip_bt})
        pic1->Add(single);
    for (Label* single : {&Zhuang, &Number, &Location, &lblDifen, &lbwealth, &LblShuffle})
        pic1->Add(single);
    pic1->Add(&LbProp);
    LbProp.Visible = false;
    for (Image* single : {&imgLocation, &imgword1, &imgword2, &ImgJadeExch, &ImgJadeTask})
        pic1->Add(single);
    for (Label* single : {&Lbchat, &Proponeself})
        pic1->Add(single);

    // Tile images stretch their pictures to the size the table gives them.
    for (int i = 0; i < MJ_Image.Count(); ++i)
        MJ_Image[i].Stretch = true;
    // So do the chow and kong choice pictures.
    for (int i = 0; i < Chi.Count(); ++i)
        Chi[i].Stretch = true;
    for (int i = 0; i < Gang.Count(); ++i)
        Gang[i].Stretch = true;
    // The die pictures are only a store for the two dice to copy from.
    for (int i = 0; i < SZ_Image.Count(); ++i)
        SZ_Image[i].Visible = false;

    for (int i = 0; i < 2; ++i)
        Sysmsg[static_cast<std::size_t>(i)] = new platform::ListBox(pic1, QStringLiteral("Sysmsg"));
    Chat = new platform::TextBox(pic1, QStringLiteral("Chat"));
    uc_lianLai = new widgets::AniGifControl(pic1, QStringLiteral("uc_lianLai"));
    uc_lianLai->setGeometry(437, 309, 150, 150);
    uc_lianLai->hide();
    img_lianLaiBack.Move(437, 309, 150, 150);
    for (auto*& emoticon : ucAni_BBQS) {
        emoticon = new widgets::AniGifControl(pic1, QStringLiteral("ucAni_BBQS"));
        emoticon->resize(65, 65);
        // An emoticon never stands between the pointer and the table.
        emoticon->setAttribute(Qt::WA_TransparentForMouseEvents);
        emoticon->hide();
    }
    img_lianLaiBack.Visible = false;
    ImgProp[0].Visible = false;
    Pic_matchDetail = new platform::PictureBox(pic1, QStringLiteral("Pic_matchDetail"));
    Pic_sortDetail = new platform::PictureBox(pic1, QStringLiteral("Pic_sortDetail"));
    Pic_Jadetask = new platform::PictureBox(pic1, QStringLiteral("Pic_Jadetask"));
    for (auto& p : Picture_ani)
        p = new platform::PictureBox(pic1, QStringLiteral("Picture_ani"));
    pic_gskh_back = new platform::PictureBox(pic1, QStringLiteral("pic_gskh_back"));
    pic_gskh_back->hide();
    // The match box holds the match clock's labels; the room kind decides
    // whether it shows.
    pic_matchinfo = new platform::PictureBox(pic1, QStringLiteral("pic_matchinfo"));
    lbl_matchinfo.AttachTo(pic_matchinfo);
    pic_matchinfo->Add(&lbl_matchtime);
    for (QWidget* hidden : {static_cast<QWidget*>(Pic_matchDetail), static_cast<QWidget*>(Pic_sortDetail),
                            static_cast<QWidget*>(Pic_Jadetask), static_cast<QWidget*>(pic_matchinfo)})
        hidden->hide();
    for (auto* p : Picture_ani)
        p->hide();
    BuildMatchPanelControls();

    TimerBong = new platform::Timer(this, QStringLiteral("TimerBong"));
    TimerBong->SetInterval(50);
    TimerKeepAlive = new platform::Timer(this, QStringLiteral("TimerKeepAlive"));
    TimerShuffle = new platform::Timer(this, QStringLiteral("TimerShuffle"));
    Timer_ani = new platform::Timer(this, QStringLiteral("Timer_ani"));
    Timer_ani->Tag = QStringLiteral("0");
    TimerProp = new platform::Timer(this, QStringLiteral("TimerProp"));
    TimerChat = new platform::Timer(this, QStringLiteral("TimerChat"));
    TimerChat->SetInterval(800);

    // The table window has no system frame; it draws its own when there is
    // room for one.
    setWindowFlag(Qt::FramelessWindowHint);
    pic1->Add(&Bird);
    Bird.Stretch = true;
    Bird.Visible = false;
    // Title-bar controls, back to front: the caption under the drag strip,
    // the buttons on top; the frame's pieces behind them all.
    for (int k = 0; k < FrameSkin.Count(); ++k) {
        Add(&FrameSkin[k]);
        FrameSkin[k].Visible = false;
        FrameSkin[k].Stretch = true;
        FrameSkin[k].Enabled = false; // only painted: the mouse meets the window itself
    }
    for (platform::GraphicControl* chrome : std::initializer_list<platform::GraphicControl*>{
             &Skin, &ImgIcon, &lcaption, &LbMove, &Imgclose[0], &ImgMin[0], &Imgclose[1], &Imgclose[2],
             &Imgclose[3], &ImgMin[1], &ImgMin[2], &ImgMin[3]}) {
        Add(chrome);
        chrome->Visible = false;
    }
    lcaption.Caption = QStringLiteral("Brannoch");
    lcaption.Width = 200;
    lcaption.Height = 16;
    ImgIcon.Stretch = true;
    LoadGifResource(kSkinPicture, QStringLiteral("GIF"), Skin);
    for (int i = 1; i <= 3; ++i) {
        LoadGifResource(kClosePictures + i - 1, QStringLiteral("GIF"), Imgclose[i]);
        LoadGifResource(kMinimisePictures + i - 1, QStringLiteral("GIF"), ImgMin[i]);
    }
    const platform::Picture icon = LoadGifPicture(kIconPicture, QStringLiteral("GIF"));
    if (!icon.isNull())
        setWindowIcon(QIcon(QPixmap::fromImage(icon.image)));

    ApplyTableDesign(*this);
}

MainForm::~MainForm() = default;

// The match panels as the window's layout leaves them; the match layout
// places and fills them.
void MainForm::BuildMatchPanelControls()
{
    constexpr int32_t kYellow = 0x00FFFF;
    constexpr int32_t kRed = 0x0000FF;
    constexpr int32_t kWhite = 0xFFFFFF;
    constexpr int32_t kOlive = 0x00C0C0;

    moveWord1 = new widgets::MoveWord(pic1, QStringLiteral("moveWord1"));
    moveWord1->hide();
    ImgShowMatch.Move(ImgShowMatch.Left, ImgShowMatch.Top, 57, 25);
    ImgShowSort.Move(ImgShowSort.Left, ImgShowSort.Top, 57, 65);

    for (platform::PictureBox* panel : {Pic_matchDetail, Pic_sortDetail}) {
        panel->resize(620, 400);
        panel->setFocusPolicy(Qt::ClickFocus);
    }
    Pic_matchDetail->BackPictureSource = [] { return LoadGifPicture(kMatchPanelPicture, QStringLiteral("GIF")); };
    Pic_sortDetail->BackPictureSource = [] { return LoadGifPicture(kSortPanelPicture, QStringLiteral("GIF")); };

    platform::PictureBox& panel = *Pic_matchDetail;
    panel.Add(&ImgMatchListName);
    ImgMatchListName.Move(0, 0, 89, 65);
    panel.Add(&LblServerTime);
    LblServerTime.ForeColor = kRed;
    LblServerTime.Move(0, 0, 200, 16);
    panel.Add(&ImgCloseList[0]);
    Pic_sortDetail->Add(&ImgCloseList[1]);
    ImgMatch.AttachTo(&panel);
    for (auto* row : {&LblMathName, &LblMathStart, &LblMathLeft, &LblMathNum}) {
        row->AttachTo(&panel);
        (*row)[0].ForeColor = kWhite;
        (*row)[0].Move(0, 0, 120, 15);
    }
    LblMathName[0].ForeColor = kYellow;
    panel.Add(&LblShowName);
    LblShowName.ForeColor = kYellow;
    for (auto* line : {&LblShowTip, &LblShowInfo}) {
        line->AttachTo(&panel);
        (*line)[0].ForeColor = kWhite;
        (*line)[0].Move(0, 0, 70, 15);
    }
    LblShowInfo[0].Width = 120;
    panel.Add(&LblNote);
    LblNote.ForeColor = kOlive;
    panel.Add(&LblPrizeTip);
    LblPrizeTip.ForeColor = kWhite;
    LblPrizeTip.Move(0, 0, 70, 15);
    LblPrizeInfo.AttachTo(&panel);
    LblPrizeInfo[0].ForeColor = kWhite;
    LblPrizeInfo[0].Move(0, 0, 190, 15);
    panel.Add(&LblShowLeftTime);
    LblShowLeftTime.ForeColor = kWhite;
    panel.Add(&ImgSign);
    panel.Add(&ImgShowSign);
    panel.Add(&ImgUppage[0]);
    panel.Add(&LblshowPage[0]);
    panel.Add(&ImgDownpage[0]);
    LMatchShow = new platform::PictureBox(&panel, QStringLiteral("LMatchShow"));
    LMatchShow->resize(324, 166);
    LMatchShow->BackPictureSource = [] { return LoadGifPicture(kMatchCardPicture, QStringLiteral("GIF")); };
    LMatchShow->hide();
    LblInfoLMatch.AttachTo(LMatchShow);
    LblInfoLMatch[0].ForeColor = kWhite;

    platform::PictureBox& ranking = *Pic_sortDetail;
    ranking.Add(&LblSortTime);
    LblSortTime.ForeColor = kRed;
    LblSortTime.Move(0, 0, 200, 16);
    ListSort = new platform::ListBox(&ranking, QStringLiteral("ListSort"));
    ListSort->hide();
    LblSortInfo.AttachTo(&ranking);
    for (int i = 0; i < LblSortInfo.Count(); ++i) {
        LblSortInfo[i].ForeColor = kWhite;
        LblSortInfo[i].Move(0, 0, 100, 15);
    }
    ranking.Add(&ImgUppage[1]);
    ranking.Add(&LblshowPage[1]);
    ranking.Add(&ImgDownpage[1]);
    ranking.Add(&ImgRefresh);
    for (int i = 0; i < 2; ++i) {
        LblshowPage[i].ForeColor = kWhite;
        LblshowPage[i].Move(0, 0, 50, 15);
        LblshowPage[i].Caption = QStringLiteral("1/1");
    }
}

QSize MainForm::TableSize() const { return pic1->size(); }

void MainForm::closeEvent(QCloseEvent* event)
{
    emit Unload();
    QWidget::closeEvent(event);
}

void MainForm::changeEvent(QEvent* event)
{
    platform::Form::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // Only a real change between minimised and shown counts; the platform
    // may report the same state more than once.
    const bool minimized = isMinimized();
    if (minimized == minimized_)
        return;
    minimized_ = minimized;
    emit Resize();
}

void MainForm::StartWindowDrag()
{
    dragging_ = false;
    if (QWindow* w = windowHandle(); w && w->startSystemMove()) {
        // The window manager keeps the button's release; let the pressed
        // control go now, so that the next moves reach the controls again.
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-1, -1), QPointF(pressGlobal_), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        platform::Form::mouseReleaseEvent(&release);
        return;
    }
    dragging_ = true;
    dragOffset_ = pressGlobal_ - pos();
}

void MainForm::mousePressEvent(QMouseEvent* event)
{
    pressGlobal_ = event->globalPosition().toPoint();
    platform::Form::mousePressEvent(event);
}

void MainForm::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_) {
        if (event->buttons() & Qt::LeftButton) {
            move(event->globalPosition().toPoint() - dragOffset_);
            return;
        }
        dragging_ = false;
    }
    platform::Form::mouseMoveEvent(event);
    const QPointF p = event->position();
    if (FormMouseMove && !ControlAt(static_cast<float>(p.x()), static_cast<float>(p.y())))
        FormMouseMove(0, 0, static_cast<float>(p.x()), static_cast<float>(p.y()));
}

void MainForm::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    platform::Form::mouseReleaseEvent(event);
}

} // namespace window
