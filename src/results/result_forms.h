#pragma once

#include "platform/controls.h"

#include <QPoint>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Client;
class QAbstractScrollArea;

namespace results {

// The background pictures of the result windows, drawn by tools/resgen.
constexpr int kScoreBackground = 1101;       // 640 x 480
constexpr int kHeroBackground = 1102;        // 655 x 454
constexpr int kInformationBackground = 1103; // 220 x 330

// Colours of the result windows' labels (0x00BBGGRR).
constexpr int32_t kLightYellow = 0x80FFFF;
constexpr int32_t kLightGreen = 0x80FF80;
constexpr int32_t kRed = 0x0000FF;

// A borderless window over the table: a background picture that fills it,
// half transparent where the window system allows it, created once and
// shown and hidden. Pressing any mouse button on it, or on a control made
// to drag it, moves the window with the mouse as its title bar would.
class ResultWindow : public platform::Form {
    Q_OBJECT
public:
    ResultWindow(const QString& name, QWidget* owner, int width, int height, int background, bool formDrags);

    // Starts moving the window from a press at a global screen position.
    void StartDrag(QPoint globalPress);
    // A press on the control, or on the list, starts moving the window
    // (the list takes the press first, so its row is still selected).
    void DragFrom(platform::GraphicControl& control);
    void DragFrom(QAbstractScrollArea& list);

    // The window's loading: run once, the first time it is shown.
    std::function<void()> FormLoad;
    bool Loaded() const { return loaded_; }

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool formDrags_;
    bool loaded_ = false;
    bool dragging_ = false;
    QPoint pressGlobal_;
    QPoint dragOffset_; // press point minus the window's position
    std::vector<QPointer<QWidget>> dragLists_;
};

// The score-sheet window "战绩板": one column of two lists per seat, the
// seats' avatars and names, and the minimise and close marks.
class ScoreForm : public ResultWindow {
    Q_OBJECT
public:
    explicit ScoreForm(QWidget* owner);
    platform::ControlArray<platform::Image> Tou;
    platform::ControlArray<platform::Label> ID;
    // 0-3 the seats' sheet columns, 4-7 the final score under each.
    std::array<platform::ListBox*, 8> State{};
    platform::ControlArray<platform::Image> Image1; // the minimise and close marks

    // A click or a scroll in list k: the sheet columns (and the footers
    // left of a clicked footer) take its selected row and its top row.
    void State_Click(int k);
    void State_Scroll(int k);

private:
    void FollowList(int k);
    bool following_ = false;
};

// The hand-history window "英雄榜": one row per hand, the seats' results
// and their running totals.
class HeroForm : public ResultWindow {
    Q_OBJECT
public:
    explicit HeroForm(QWidget* owner);
    platform::ControlArray<platform::Image> Tou;
    platform::ControlArray<platform::Label> ID;
    platform::ControlArray<platform::Label> sumScore;
    platform::ListBox* Num;
    std::array<platform::ListBox*, 4> Grade{};
    platform::Label Label1{QStringLiteral("Label1")};
    platform::Label Label2{QStringLiteral("Label2")};
    platform::ControlArray<platform::Image> Image1; // the minimise and close marks

    // A double click on a row asks for that hand's sheet: the row index + 1,
    // 0 when no row is selected.
    std::function<void(int16_t hand)> HandChosen;

    void Grade_MouseDown(int k);
    void Num_MouseDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChooseHand(const platform::ListBox& list);
};

// The player card: nine captions and their values for the hovered seat.
class InformationForm : public ResultWindow {
    Q_OBJECT
public:
    explicit InformationForm(QWidget* owner);
    platform::ControlArray<platform::Label> Inf; // the values, rows 0-8

private:
    std::vector<std::unique_ptr<platform::Label>> captions_;
};

// The list rows a result window keeps in step: a row that the list lacks is
// taken as its last row.
int ClampedRow(const platform::ListBox& list, int row);
// The top visible row of a list, and scrolling a list to a top row.
int TopIndex(const platform::ListBox& list);
void SetTopIndex(platform::ListBox& list, int row);

// Opens the sheet of an archived hand in the score window: the archive
// fills it (results.LoadHandSheet), then the window is shown.
void OpenHandSheet(Client& c, int16_t hand);

// Connects the result windows to the client: the history's double click
// opens a hand's sheet.
void WireResultForms(Client& c);

} // namespace results
