#pragma once

#include "platform/controls.h"
#include "table/board.h"
#include "widgets/ani_gif_control.h"
#include "widgets/image_button.h"
#include "widgets/marquee.h"

#include <QPoint>
#include <array>

namespace platform {
class WebPanel;
}

namespace window {

// The backgrounds of the match panel, the ranking panel and the status card.
constexpr int kMatchPanelPicture = 1130; // 620 x 400
constexpr int kSortPanelPicture = 1131;  // 620 x 400
constexpr int kMatchCardPicture = 1132;  // 324 x 166

// The table window. Its controls carry the names the game code uses; the
// graphic ones lie on the table picture pic1, whose coordinates are pixels
// of the 1024 x 768 table times the layout scale. The controls the table
// model draws are those of its board, which the window puts on pic1.
class MainForm : public platform::Form, public table::TableBoard {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    // Lets the user drag the window by the pointer from the last press: the
    // window manager's move where it offers one, else the window follows
    // the pointer until the button is released.
    void StartWindowDrag();

    QSize TableSize() const override;

signals:
    // The window is being closed by the user or the window manager.
    void Unload();
    // The window was minimised or shown again. Other size and position
    // changes (the window manager's first placement, a move) do not count.
    void Resize();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

public:

    platform::PictureBox* pic1;

    // The wild-streak backdrop and animation.
    platform::Image img_lianLaiBack{QStringLiteral("img_lianLaiBack")};
    platform::Image lianlaiImg{QStringLiteral("lianlaiImg")};
    widgets::AniGifControl* uc_lianLai; // the wild-streak animation
    // The animated emoticon beside each seat, by view.
    std::array<widgets::AniGifControl*, 4> ucAni_BBQS{};

    // Seat panels, by view.
    platform::ControlArray<platform::Image> Tou;
    platform::ControlArray<platform::Label> Nid;
    platform::ControlArray<platform::Label> Cash;
    platform::ControlArray<platform::Label> Level;
    platform::ControlArray<platform::Label> lbl_score;
    platform::ControlArray<platform::Label> lbl_sort;
    platform::ControlArray<platform::Image> img_vip;
    platform::ControlArray<platform::Image> OK;
    // The prop label framing the local player's avatar.
    platform::Label Proponeself{QStringLiteral("Proponeself")};

    // The chat bar: its background, the emoticon and quick-phrase buttons
    // and the location text; the label that opens the chat history.
    platform::Image imgLocation{QStringLiteral("imgLocation")};
    platform::Image imgword1{QStringLiteral("imgword1")};
    platform::Image imgword2{QStringLiteral("imgword2")};
    platform::Label Location{QStringLiteral("Location")};
    platform::Label Lbchat{QStringLiteral("Lbchat")};

    // Buttons and the rest.
    platform::ControlArray<platform::Image> AnNiu;
    platform::Image ImgGm{QStringLiteral("ImgGm")};
    platform::Image ImgShuffle{QStringLiteral("ImgShuffle")};
    platform::Label LblShuffle{QStringLiteral("LblShuffle")};
    // Image buttons of the match list and the ranking.
    widgets::InodePic ImgShowMatch{QStringLiteral("ImgShowMatch")};
    widgets::InodePic ImgShowSort{QStringLiteral("ImgShowSort")};
    platform::Image ImgOpenMatchBtn{QStringLiteral("ImgOpenMatchBtn")};
    platform::Label lbl_matchtime{QStringLiteral("lbl_matchtime")};
    platform::Image Img_chip_bt{QStringLiteral("Img_chip_bt")}; // the cigarette button
    platform::Label LbProp{QStringLiteral("LbProp")};           // notices of the prop plug-in
    platform::Image ImgJadeExch{QStringLiteral("ImgJadeExch")};   // the prize-exchange button
    platform::Image ImgJadeTask{QStringLiteral("ImgJadeTask")};   // the jade-task button
    platform::ControlArray<platform::Label> lbl_matchinfo;        // the match box: countdown, sign-ups, number

    // Windowed controls.
    std::array<platform::ListBox*, 2> Sysmsg{};
    platform::TextBox* Chat;
    platform::PictureBox* Pic_matchDetail;
    platform::PictureBox* Pic_sortDetail;
    platform::PictureBox* Pic_Jadetask;
    platform::PictureBox* pic_matchinfo; // the match box of match rooms, where the betting strip stands elsewhere
    std::array<platform::PictureBox*, 3> Picture_ani{};
    platform::PictureBox* pic_gskh_back; // the video-site prompt

    // The match panels. On pic1 the scrolling match news line; on
    // Pic_matchDetail the match list (five rows), the detail area of one
    // match and the status card LMatchShow laid over a finished match's row;
    // on Pic_sortDetail the ranking. Arrays whose element 0 lies on the match
    // panel and element 1 on the ranking panel: ImgCloseList, ImgUppage,
    // ImgDownpage, LblshowPage. The match layout loads the further elements.
    widgets::MoveWord* moveWord1;
    widgets::InodePic ImgMatchListName{QStringLiteral("ImgMatchListName")};
    platform::Label LblServerTime{QStringLiteral("LblServerTime")};
    platform::ControlArray<platform::Image> ImgCloseList;
    platform::ControlArray<platform::Image> ImgMatch;     // row backgrounds
    platform::ControlArray<platform::Label> LblMathName;  // row: match name
    platform::ControlArray<platform::Label> LblMathStart; // row: start time; Tag: the list row shown
    platform::ControlArray<platform::Label> LblMathLeft;  // row: time left
    platform::ControlArray<platform::Label> LblMathNum;   // row: entrants
    platform::Label LblShowName{QStringLiteral("LblShowName")}; // Tag: the list row in the detail area
    platform::ControlArray<platform::Label> LblShowTip;  // detail line captions 0-3
    platform::ControlArray<platform::Label> LblShowInfo; // detail line values 0-3
    platform::Label LblNote{QStringLiteral("LblNote")};
    platform::Label LblPrizeTip{QStringLiteral("LblPrizeTip")};
    platform::ControlArray<platform::Label> LblPrizeInfo; // one prize line each; only grows
    platform::Label LblShowLeftTime{QStringLiteral("LblShowLeftTime")};
    platform::Image ImgSign{QStringLiteral("ImgSign")};         // the sign-up button
    platform::Image ImgShowSign{QStringLiteral("ImgShowSign")}; // sign-up status; Tag "1" while the panel is dragged
    platform::ControlArray<platform::Image> ImgUppage;
    platform::ControlArray<platform::Image> ImgDownpage;
    platform::ControlArray<platform::Label> LblshowPage; // page texts; Tag: the page count
    platform::PictureBox* LMatchShow;                    // the status card
    platform::ControlArray<platform::Label> LblInfoLMatch;
    platform::Label LblSortTime{QStringLiteral("LblSortTime")};
    platform::ListBox* ListSort; // Tag: id of the instance whose ranking is shown
    platform::ControlArray<platform::Label> LblSortInfo; // own place, points, behind, time left, rules
    platform::Image ImgRefresh{QStringLiteral("ImgRefresh")};

    // Timers.
    platform::Timer* TimerBong;
    platform::Timer* TimerKeepAlive;
    platform::Timer* TimerShuffle;
    platform::Timer* Timer_ani;
    platform::Timer* TimerProp; // the prop notice's countdown
    platform::Timer* TimerChat; // the chat box's flood gate

    // The window's own frame and title bar, on the window itself around
    // pic1; hidden until the frame is drawn. Skin holds the frame picture,
    // FrameSkin its eight pieces (corners and stretched edges) on the window;
    // Imgclose and ImgMin element 0 is the button, elements 1-3 hold its
    // normal, hover and pressed pictures.
    platform::Image Skin{QStringLiteral("Skin")};
    platform::ControlArray<platform::Image> FrameSkin;
    platform::Image ImgIcon{QStringLiteral("ImgIcon")};
    platform::Label lcaption{QStringLiteral("lcaption")};
    platform::Label LbMove{QStringLiteral("LbMove")};
    platform::ControlArray<platform::Image> Imgclose;
    platform::ControlArray<platform::Image> ImgMin;
    // Mouse moves over the window itself where no control lies.
    platform::MouseHandler FormMouseMove;

    // The mascot in the lower right corner and the two web panels: the
    // first is laid over the mascot, the second shows the seat-change show.
    // The Client makes the panels.
    platform::Image Bird{QStringLiteral("Bird")};
    platform::WebPanel* WebBrowser1 = nullptr;
    platform::WebPanel* WebBrowser2 = nullptr;

private:
    void BuildMatchPanelControls();

    bool minimized_ = false;
    bool dragging_ = false;
    QPoint pressGlobal_;
    QPoint dragOffset_;
};

} // namespace window
