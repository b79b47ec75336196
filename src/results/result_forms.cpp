#include "results/result_forms.h"

#include "window/pictures.h"

#include "results/hand_archive.h"

#include "app/client.h"
#include "platform/resources.h"
#include "window/main_form.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWindow>
#include <algorithm>

namespace results {

namespace {

// Alpha of a half-transparent window, of 255.
constexpr int kWindowAlpha = 200;

platform::ListBox* MakeList(QWidget* owner, const QString& name, int left, int top, int width, int height)
{
    auto* list = new platform::ListBox(owner, name);
    list->setGeometry(left, top, width, height);
    // One row per scroll step, so that the scroll position is the top row.
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setFrameShape(QFrame::NoFrame);
    return list;
}

// Centres a window over the table picture, in screen pixels.
void CentreOverTable(Client& c, QWidget& w)
{
    const platform::PictureBox& table = *c.MainForm->pic1;
    const QPoint origin = table.mapToGlobal(QPoint(0, 0));
    w.move(origin.x() + (table.width() - w.width()) / 2, origin.y() + (table.height() - w.height()) / 2);
}

} // namespace

// ---- rows kept in step ----

int ClampedRow(const platform::ListBox& list, int row)
{
    if (row < 0)
        return -1;
    return std::min(row, list.ListCount() - 1);
}

int TopIndex(const platform::ListBox& list) { return list.verticalScrollBar()->value(); }

void SetTopIndex(platform::ListBox& list, int row)
{
    list.verticalScrollBar()->setValue(std::max(0, ClampedRow(list, row)));
}

// ---- ResultWindow ----

ResultWindow::ResultWindow(const QString& name, QWidget* owner, int width, int height, int background,
                           bool formDrags)
    : platform::Form(name, owner), formDrags_(formDrags)
{
    setFixedSize(width, height);
    BackPictureSource = [background] { return window::LoadGifPicture(background, QStringLiteral("GIF")); };
    // Half transparent; a window system without it shows the window opaque.
    setWindowOpacity(kWindowAlpha / 255.0);
}

void ResultWindow::showEvent(QShowEvent* event)
{
    platform::Form::showEvent(event);
    if (loaded_)
        return;
    loaded_ = true;
    if (FormLoad)
        FormLoad();
}

void ResultWindow::StartDrag(QPoint globalPress)
{
    dragging_ = false;
    if (QWindow* w = windowHandle(); w && w->startSystemMove())
        return; // the window system moves it
    dragging_ = true;
    dragOffset_ = globalPress - pos();
}

void ResultWindow::DragFrom(platform::GraphicControl& control)
{
    control.MouseDown = [this](int16_t, int16_t, float, float) { StartDrag(pressGlobal_); };
}

void ResultWindow::DragFrom(QAbstractScrollArea& list)
{
    list.viewport()->installEventFilter(this);
    dragLists_.emplace_back(list.viewport());
}

void ResultWindow::mousePressEvent(QMouseEvent* event)
{
    pressGlobal_ = event->globalPosition().toPoint();
    platform::Form::mousePressEvent(event);
    const QPointF p = event->position();
    if (formDrags_ && !ControlAt(static_cast<float>(p.x()), static_cast<float>(p.y())))
        StartDrag(pressGlobal_);
}

void ResultWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    platform::Form::mouseMoveEvent(event);
}

void ResultWindow::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    platform::Form::mouseReleaseEvent(event);
}

bool ResultWindow::eventFilter(QObject* watched, QEvent* event)
{
    const bool dragList = std::find(dragLists_.begin(), dragLists_.end(), watched) != dragLists_.end();
    if (!dragList)
        return platform::Form::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* viewport = static_cast<QWidget*>(watched);
        auto* e = static_cast<QMouseEvent*>(event);
        // The list selects its row first, then the window starts moving.
        viewport->removeEventFilter(this);
        QCoreApplication::sendEvent(viewport, e);
        viewport->installEventFilter(this);
        StartDrag(e->globalPosition().toPoint());
        if (!dragging_) {
            // The window system took the mouse: the list sees no release.
            QMouseEvent release(QEvent::MouseButtonRelease, e->position(), e->globalPosition(), e->button(),
                                Qt::NoButton, e->modifiers());
            QCoreApplication::sendEvent(viewport, &release);
        }
        return true;
    }
    case QEvent::MouseMove:
        if (!dragging_)
            return false;
        move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
        return true;
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        return false;
    default:
        return false;
    }
}

// ---- ScoreForm ----

ScoreForm::ScoreForm(QWidget* owner)
    : ResultWindow(QStringLiteral("Score"), owner, 640, 480, kScoreBackground, true),
      Tou(this, QStringLiteral("Tou"), 4), ID(this, QStringLiteral("ID"), 4), Image1(this, QStringLiteral("Image1"), 2)
{
    setWindowTitle(QStringLiteral("战绩板"));
    static constexpr int kAvatarLeft[4] = {8, 168, 328, 488};
    static constexpr int kNameLeft[4] = {56, 216, 376, 536};
    static constexpr int kListLeft[4] = {8, 168, 324, 480};
    for (int i = 0; i < 4; ++i) {
        Tou[i].Stretch = true;
        Tou[i].Move(kAvatarLeft[i], 32, 45, 41);
        ID[i].Move(kNameLeft[i], 40, 38, 14);
        ID[i].ForeColor = kLightYellow;
        ID[i].Caption = QStringLiteral("玩家%1").arg(i);
        DragFrom(Tou[i]);
        DragFrom(ID[i]);
    }
    for (int k = 0; k < 8; ++k) {
        const bool footer = k >= 4;
        platform::ListBox* list = MakeList(this, QStringLiteral("State"), kListLeft[k % 4], footer ? 422 : 86, 150,
                                           footer ? 50 : 326);
        State[static_cast<std::size_t>(k)] = list;
        DragFrom(*list);
        connect(list, &QListWidget::currentRowChanged, this, [this, k](int row) {
            if (row >= 0)
                State_Click(k);
        });
        connect(list, &QListWidget::itemClicked, this, [this, k] { State_Click(k); });
        connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, k] { State_Scroll(k); });
    }
    Image1[0].Move(598, 8, 19, 21);
    Image1[1].Move(618, 8, 21, 21);
    for (int i = 0; i < 2; ++i)
        Image1[i].Click = [this] { Hide(); };
}

void ScoreForm::State_Click(int k) { FollowList(k); }
void ScoreForm::State_Scroll(int k) { FollowList(k); }

void ScoreForm::FollowList(int k)
{
    if (following_ || k < 0 || k >= static_cast<int>(State.size()))
        return;
    following_ = true;
    const platform::ListBox& source = *State[static_cast<std::size_t>(k)];
    const int row = source.ListIndex();
    const int top = TopIndex(source);
    // The lists before k, and the sheet columns after it: a footer never
    // moves with a list to its left.
    const int count = static_cast<int>(State.size());
    for (int i = 0; i < count; ++i) {
        if (i == k || (i > k && i > count - 5))
            continue;
        platform::ListBox& list = *State[static_cast<std::size_t>(i)];
        list.SetListIndex(ClampedRow(list, row));
        SetTopIndex(list, top);
    }
    following_ = false;
}

// ---- HeroForm ----

HeroForm::HeroForm(QWidget* owner)
    : ResultWindow(QStringLiteral("Hero"), owner, 655, 454, kHeroBackground, true),
      Tou(this, QStringLiteral("Tou"), 4), ID(this, QStringLiteral("ID"), 4), sumScore(this, QStringLiteral("sumScore"), 4),
      Num(MakeList(this, QStringLiteral("Num"), 6, 76, 123, 310)), Image1(this, QStringLiteral("Image1"), 2)
{
    setWindowTitle(QStringLiteral("英雄榜"));
    static constexpr int kGradeLeft[4] = {134, 262, 392, 528};
    static constexpr int kAvatarLeft[4] = {136, 264, 392, 528};
    static constexpr int kNameLeft[4] = {176, 304, 432, 568};
    static constexpr int kSumLeft[4] = {144, 272, 400, 536};
    for (int i = 0; i < 4; ++i) {
        Grade[static_cast<std::size_t>(i)] = MakeList(this, QStringLiteral("Grade"), kGradeLeft[i], 76, 124, 310);
        Tou[i].Stretch = true;
        Tou[i].Move(kAvatarLeft[i], 24, 41, 41);
        ID[i].Move(kNameLeft[i], 32, 80, 16);
        ID[i].ForeColor = kLightYellow;
        ID[i].Caption = QStringLiteral("玩家%1").arg(i);
        sumScore[i].Move(kSumLeft[i], 408, 113, 25);
        sumScore[i].ForeColor = kRed;
        sumScore[i].Alignment = platform::Label::Center;
        DragFrom(Tou[i]);
        DragFrom(ID[i]);
    }
    Add(&Label1);
    Add(&Label2);
    Label1.Caption = QStringLiteral("点击查看明细");
    Label1.ForeColor = kLightYellow;
    Label1.Move(16, 32, 110, 16);
    DragFrom(Label1);
    Label2.Caption = QStringLiteral("输赢总分：");
    Label2.ForeColor = kRed;
    Label2.Move(32, 408, 100, 20);
    Image1[0].Move(608, 8, 21, 17);
    Image1[1].Move(630, 8, 19, 17);
    for (int i = 0; i < 2; ++i)
        Image1[i].Click = [this] { Hide(); };

    for (int k = 0; k < 4; ++k) {
        platform::ListBox* list = Grade[static_cast<std::size_t>(k)];
        connect(list, &QListWidget::itemPressed, this, [this, k] { Grade_MouseDown(k); });
        list->viewport()->installEventFilter(this);
    }
    connect(Num, &QListWidget::itemPressed, this, [this] { Num_MouseDown(); });
    Num->viewport()->installEventFilter(this);
}

void HeroForm::Grade_MouseDown(int k)
{
    if (k < 0 || k >= static_cast<int>(Grade.size()))
        return;
    const int row = Grade[static_cast<std::size_t>(k)]->ListIndex();
    for (int i = 0; i < static_cast<int>(Grade.size()); ++i)
        if (i != k)
            Grade[static_cast<std::size_t>(i)]->SetListIndex(ClampedRow(*Grade[static_cast<std::size_t>(i)], row));
    Num->SetListIndex(ClampedRow(*Num, row));
}

void HeroForm::Num_MouseDown()
{
    const int row = Num->ListIndex();
    for (platform::ListBox* list : Grade)
        list->SetListIndex(ClampedRow(*list, row));
}

void HeroForm::ChooseHand(const platform::ListBox& list)
{
    const int row = list.ListIndex();
    if (HandChosen)
        HandChosen(static_cast<int16_t>(row < 0 ? 0 : row + 1));
}

bool HeroForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonDblClick)
        return ResultWindow::eventFilter(watched, event);
    const platform::ListBox* clicked = watched == Num->viewport() ? Num : nullptr;
    for (platform::ListBox* list : Grade)
        if (watched == list->viewport())
            clicked = list;
    if (!clicked)
        return ResultWindow::eventFilter(watched, event);
    // The list takes the click first, so that its selected row is the
    // clicked one.
    auto* viewport = static_cast<QWidget*>(watched);
    viewport->removeEventFilter(this);
    QCoreApplication::sendEvent(viewport, event);
    viewport->installEventFilter(this);
    ChooseHand(*clicked);
    return true;
}

// ---- InformationForm ----

InformationForm::InformationForm(QWidget* owner)
    : ResultWindow(QStringLiteral("Information"), owner, 220, 330, kInformationBackground, false),
      Inf(this, QStringLiteral("Inf"), 9)
{
    static const char* const captions[9] = {"玩家昵称", "性    别", "所 在 地", "积    分", "会员等级",
                                            "登录次数", "掉线次数", "胜场次数", "败场次数"};
    for (int k = 0; k < 9; ++k) {
        auto* caption = new platform::Label(QStringLiteral("lblCaption"), k);
        caption->Caption = QString::fromUtf8(captions[k]);
        caption->FontSize = 11;
        caption->FontBold = true;
        caption->ForeColor = kLightYellow;
        caption->Move(24, 40.0f + 32.0f * k, 100, 22);
        Add(caption);
        captions_.emplace_back(caption);
        platform::Label& value = Inf[k];
        value.FontSize = 12;
        value.BackTransparent = true;
        value.ForeColor = kLightGreen;
        value.Move(128, 40.0f + 32.0f * k, 88, 22);
    }
}

// ---- the client's result windows ----

void OpenHandSheet(Client& c, int16_t hand)
{
    if (c.results.LoadHandSheet)
        c.results.LoadHandSheet(hand);
    c.Score->Show();
}

void WireResultForms(Client& c)
{
    c.Score->FormLoad = [&c] { CentreOverTable(c, *c.Score); };
    c.Hero->FormLoad = [&c] {
        HeroForm& hero = *c.Hero;
        CentreOverTable(c, hero);
        hero.setWindowState(Qt::WindowNoState);
        for (platform::ListBox* list : hero.Grade)
            if (list->ListCount() > 0)
                SetTopIndex(*list, list->ListCount() - 1);
    };
    c.Hero->HandChosen = [&c](int16_t hand) { OpenHandSheet(c, hand); };
    c.results.LoadHandSheet = [&c](int16_t hand) { LoadHandSheet(c, hand); };
}

} // namespace results
