#include "window/chrome.h"

#include "app/client.h"
#include "chat/huifu_form.h"
#include "chat/speak_box.h"
#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "core/lobby.h"
#include "window/layout.h"
#include "window/main_buttons.h"
#include "window/main_form.h"

#include <QDir>
#include <QFileInfo>
#include <array>

namespace window {

namespace {

// The frame's measures are twips, 15 to a pixel.
constexpr float Tw(float twips) { return twips / 15.0f; }
constexpr int TwPx(int twips) { return twips / 15; }

// The eight pieces of the skin: where each goes on a window of w x h and
// where it is taken from in the skin picture, all in twips. The edges are
// stretched from their 120-twip strips.
struct SkinPiece {
    QRect target;
    QRect source;
};

std::array<SkinPiece, 8> SkinPieces(int w, int h)
{
    return {{
        {{0, 0, 120, 300}, {0, 0, 120, 300}},                     // top-left corner
        {{120, 0, w - 240, 300}, {120, 0, 120, 300}},             // top edge
        {{w - 120, 0, 120, 300}, {570, 0, 120, 300}},             // top-right corner
        {{0, 300, 120, h - 420}, {0, 300, 120, 2880}},            // left edge
        {{w - 120, 300, 120, h - 420}, {570, 300, 120, 2880}},    // right edge
        {{0, h - 120, 120, 120}, {0, 3180, 120, 120}},            // bottom-left corner
        {{120, h - 120, w - 240, 120}, {120, 3180, 120, 120}},    // bottom edge
        {{w - 120, h - 120, 120, 120}, {570, 3180, 120, 120}},    // bottom-right corner
    }};
}

QRect PixelsOf(const QRect& twips)
{
    return QRect(TwPx(twips.x()), TwPx(twips.y()), TwPx(twips.width()), TwPx(twips.height()));
}

void ShowChromePicture(platform::ControlArray<platform::Image>& button, int which)
{
    button[0].SetPicture(button[which].GetPicture());
}

// Both buttons back to their normal pictures, once per hover.
void RestoreChrome(Client& c)
{
    if (c.window.ChromeNormal)
        return;
    ShowChromePicture(c.MainForm->Imgclose, ChromeNormalPicture);
    ShowChromePicture(c.MainForm->ImgMin, ChromeNormalPicture);
    c.window.ChromeNormal = -1;
}

void Hover(Client& c, platform::ControlArray<platform::Image>& button)
{
    if (!c.window.ChromeNormal)
        return;
    ShowChromePicture(button, ChromeHoverPicture);
    c.window.ChromeNormal = 0;
}

// The mouse on a title-bar button: pressed, hovered or released; only
// element 0 reacts.
enum class ChromeMouse { Down, Move, Up };

void OnChromeMouse(Client& c, platform::ControlArray<platform::Image>& button, int16_t index, ChromeMouse event)
{
    if (index != 0)
        return;
    switch (event) {
    case ChromeMouse::Down: ShowChromePicture(button, ChromePressedPicture); break;
    case ChromeMouse::Move: Hover(c, button); break;
    case ChromeMouse::Up: ShowChromePicture(button, ChromeHoverPicture); break;
    }
}

} // namespace

void DrawWindowFrame(Client& c)
{
    MainForm& f = *c.MainForm;
    c.window.WindowFramed = true;
    const int w = f.width() * 15;
    const int h = f.height() * 15;

    // The pieces are controls of the window rather than one window-sized
    // picture: nothing as large as the window is made or filled.
    const QImage& skin = f.Skin.GetPicture().image;
    if (!skin.isNull()) {
        const std::array<SkinPiece, 8> pieces = SkinPieces(w, h);
        for (int k = 0; k < f.FrameSkin.Count(); ++k) {
            platform::Image& piece = f.FrameSkin[k];
            const QRect target = PixelsOf(pieces[static_cast<std::size_t>(k)].target);
            piece.SetPicture(platform::Picture{0, skin.copy(PixelsOf(pieces[static_cast<std::size_t>(k)].source))});
            piece.Move(static_cast<float>(target.x()), static_cast<float>(target.y()),
                       static_cast<float>(target.width()), static_cast<float>(target.height()));
            piece.SetVisible(true);
        }
    }

    if (!f.windowIcon().isNull()) {
        f.ImgIcon.SetPicture(platform::Picture{0, f.windowIcon().pixmap(32, 32).toImage()});
        f.ImgIcon.Move(Tw(50), Tw(50), Tw(240), Tw(240));
        f.ImgIcon.SetVisible(true);
    }

    platform::Image& close = f.Imgclose[0];
    ShowChromePicture(f.Imgclose, ChromeNormalPicture);
    close.Move(static_cast<float>(f.width()) - close.Width - Tw(70), Tw(25));
    close.SetVisible(true);
    close.ZOrder(0);

    platform::Image& minimise = f.ImgMin[0];
    ShowChromePicture(f.ImgMin, ChromeNormalPicture);
    minimise.Move(close.Left - minimise.Width - Tw(30), Tw(25));
    minimise.SetVisible(true);
    minimise.ZOrder(0);

    f.LbMove.Move(Tw(290), 0, minimise.Left - Tw(290), close.Height + Tw(50));
    f.LbMove.SetVisible(true);

    f.lcaption.Move(Tw(300), Tw(25));
    f.lcaption.ForeColor = 0xFFFFFF;
    f.lcaption.SetVisible(true);
}

void Imgclose_MouseDown(Client& c, int16_t index) { OnChromeMouse(c, c.MainForm->Imgclose, index, ChromeMouse::Down); }
void Imgclose_MouseMove(Client& c, int16_t index) { OnChromeMouse(c, c.MainForm->Imgclose, index, ChromeMouse::Move); }
void Imgclose_MouseUp(Client& c, int16_t index) { OnChromeMouse(c, c.MainForm->Imgclose, index, ChromeMouse::Up); }

void Imgclose_Click(Client& c, int16_t index)
{
    if (index != 0)
        return;
    // The exit button: the plug-in closes its bank panel, then the exit
    // window opens (or closes when it is open).
    if (c.rewards.PropPluginState > 0 && c.rewards.PropPlugin)
        c.rewards.PropPlugin->setbankstate(2);
    core::OpenExitWindow(c);
}

void ImgMin_MouseDown(Client& c, int16_t index) { OnChromeMouse(c, c.MainForm->ImgMin, index, ChromeMouse::Down); }
void ImgMin_MouseMove(Client& c, int16_t index) { OnChromeMouse(c, c.MainForm->ImgMin, index, ChromeMouse::Move); }
void ImgMin_MouseUp(Client& c, int16_t index) { OnChromeMouse(c, c.MainForm->ImgMin, index, ChromeMouse::Up); }

void ImgMin_Click(Client& c, int16_t index)
{
    if (index != 0)
        return;
    // The same as the minimise button (which runs the window's own F1), then
    // the window is minimised.
    AnNiu_Click(c, AnNiuMinimise);
    c.MainForm->showMinimized();
}

void LbMove_MouseDown(Client& c, int16_t button)
{
    if (button != platform::vbLeftButton)
        return;
    c.Talk->Hide();
    c.huifu->Hide();
    if (c.window.FrmRule)
        if (platform::Form* rules = c.window.FrmRule())
            rules->Hide();
    c.MainForm->setCursor(Qt::SizeAllCursor);
    c.MainForm->StartWindowDrag();
}

void LbMove_MouseMove(Client& c)
{
    c.MainForm->setCursor(Qt::ArrowCursor);
    RestoreChrome(c);
}

void Form_MouseMove(Client& c) { RestoreChrome(c); }

void Form_Resize(Client& c)
{
    MainForm& f = *c.MainForm;
    GameState& g = c.game;
    if (f.isMinimized()) {
        if (c.frmZhahu)
            c.frmZhahu->hide();
        g.ZhahuShown = 0;
        chat::HideSpeakBoxes(c);
        return;
    }
    // Shown again: to the front.
    f.raise();
    f.activateWindow();
    if (g.F1Minimized) {
        g.CountdownStart = 8;
        g.AutoPlay = 0;
        g.F1Minimized = 0;
    }
    f.Chat->setFocus();
    core::MinimizeLobbyWindow(c);
    g.TimeoutCount = 0;
    if (c.rewards.PropPluginState > 0 && c.rewards.PropPlugin) {
        try {
            c.rewards.PropPlugin->FixBuffPos();
        } catch (...) {
            // The plug-in's failure does not stop the window.
        }
    }
    if (g.RoundNo > 0)
        chat::ResetSpeakBoxesAfterRestore(c);
}

bool Is_File_Exist(const QString& path, const QString& fileName)
{
    if (path.isEmpty() || fileName.isEmpty())
        return false;
    const QFileInfo info(path);
    const QString pattern = info.fileName();
    QString first;
    if (pattern.isEmpty() || pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'))) {
        // A folder or a pattern: the first plain file that matches, by name.
        const QStringList names = info.dir().entryList(
            QStringList{pattern.isEmpty() ? QStringLiteral("*") : pattern}, QDir::Files, QDir::Name);
        if (!names.isEmpty())
            first = names.front();
    } else if (info.isFile() && !info.isHidden()) {
        first = info.fileName();
    }
    return first == fileName;
}

} // namespace window
