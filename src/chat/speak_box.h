#pragma once

#include "platform/controls.h"

#include <QImage>
#include <QRegion>
#include <QString>

class Client;

namespace chat {

// A speech bubble beside a seat: a small frameless window, shaped like its
// bubble picture and always on top, that fades in, holds and fades out.
// One per view, made on the view's first quick phrase and reused.
class SpeakBoxForm : public platform::Form {
    Q_OBJECT
public:
    // The bubble of `view` at the table window of the client.
    SpeakBoxForm(Client& c, int view);

    // Places the bubble beside the seat of `view`, shows the phrase and
    // starts the fade: peak is the highest opacity (0-255), fadeIn and
    // fadeOut the opacity steps per tick, hold how long (in the fade's
    // counter) it stays at its peak.
    void showMe(int view, const QString& phrase, int peak, int fadeIn, int fadeOut, int hold);
    // One step of the fade.
    void tmrFadeIn_Timer();

    // The opacity last set, 0-255.
    int Alpha() const { return alpha_; }
    void SetAlpha(int alpha) { alpha_ = alpha; }

    QString Tag; // the view's digits and "speak"
    platform::Label labPhrase{QStringLiteral("labPhrase")};
    platform::Timer* tmrFadeIn;
    int FadeCounter = 0;
    int FadePeak = 0;
    int FadeInStep = 0;
    int FadeOutStep = 0;
    int FadeHold = 0;

private:
    Client& c_;
    int alpha_ = 255;
};

// The milliseconds between two fade steps: with the values the chat frames
// use, a bubble stays about five seconds.
constexpr int kFadeStepMs = 16;

// The bubble picture of a view (174 x 92, 198 x 92, 208 x 104, 208 x 104
// pixels), its tail towards the seat, on a background colour that its
// top-left pixel carries.
QImage SpeakBoxPicture(int view);

// The shape of a bubble picture: every pixel that differs from the
// transparent colour, in runs along each row; the last column of a row
// never belongs to it.
QRegion SpeakBoxRegion(const QImage& picture, QRgb transparent);

// Makes the window the given opacity (0-255). Anything else changes
// nothing and gives false.
bool SetWindowAlpha(SpeakBoxForm& window, int alpha);

// Puts the window on (-1) or off (anything else) the topmost layer.
void SetTopMost(QWidget& window, int on);

// Makes, shapes and places (out of sight) the bubble window of a view,
// unless the view has one.
void CreateSpeakBox(Client& c, int view);

// The bubble window whose tag is the view's digits and "speak", or nullptr.
SpeakBoxForm* FindSpeakBox(Client& c, int view);

// Closes every bubble window (leaving the table).
void UnloadSpeakBoxes(Client& c);

// Hides every bubble window (the table window was minimised).
void HideSpeakBoxes(Client& c);

// The table window is shown again during a game: every bubble stops its
// fade, goes fully transparent, hidden, and onto the topmost layer.
void ResetSpeakBoxesAfterRestore(Client& c);

} // namespace chat
