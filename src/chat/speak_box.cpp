#include "chat/speak_box.h"

#include "app/client.h"
#include "window/main_form.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace chat {

namespace {

constexpr double kTwipsPerPixel = 15.0;

struct BubbleSize {
    int w, h;
};
constexpr std::array<BubbleSize, 4> kBubbleSizes{{{174, 92}, {198, 92}, {208, 104}, {208, 104}}};

// Where the bubble of a view stands beside its seat, in twips from the
// table window's corner (times the layout scale).
struct TwipsPoint {
    double left, top;
};
constexpr std::array<TwipsPoint, 4> kBubblePlaces{{{1500, 8550}, {1050, 3000}, {6150, 1050}, {11400, 3000}}};
// Where the phrase lies inside the bubble, in twips (times the scale).
constexpr std::array<TwipsPoint, 4> kPhrasePlaces{{{260, 180}, {570, 350}, {450, 620}, {270, 470}}};

constexpr QRgb kBackground = 0xFFFF00FF; // never part of a bubble

int Pixels(double twips, float scale) { return static_cast<int>(std::lround(twips * scale / kTwipsPerPixel)); }

} // namespace

QImage SpeakBoxPicture(int view)
{
    const BubbleSize size = kBubbleSizes[static_cast<std::size_t>(view & 3)];
    QImage img(size.w, size.h, QImage::Format_RGB32);
    img.fill(kBackground);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    // The body, and a tail pointing to the seat: down-left for the local
    // seat, left, up and right for the others.
    const int tail = 16;
    QRectF body(2, 2, size.w - 5, size.h - 5);
    QPolygonF tip;
    switch (view & 3) {
    case 0:
        body.setBottom(body.bottom() - tail);
        tip << QPointF(24, body.bottom() - 1) << QPointF(12, size.h - 3) << QPointF(44, body.bottom() - 1);
        break;
    case 1:
        body.setLeft(body.left() + tail);
        tip << QPointF(body.left() + 1, 20) << QPointF(3, 14) << QPointF(body.left() + 1, 38);
        break;
    case 2:
        body.setTop(body.top() + tail);
        tip << QPointF(size.w / 2.0 - 12, body.top() + 1) << QPointF(size.w / 2.0, 3)
            << QPointF(size.w / 2.0 + 12, body.top() + 1);
        break;
    default:
        body.setRight(body.right() - tail);
        tip << QPointF(body.right() - 1, 20) << QPointF(size.w - 4, 14) << QPointF(body.right() - 1, 38);
        break;
    }
    QPainterPath path;
    path.addRoundedRect(body, 14, 14);
    QPainterPath tipPath;
    tipPath.addPolygon(tip);
    tipPath.closeSubpath();
    path = path.united(tipPath);
    p.setPen(QPen(QColor(0x5A, 0x3C, 0x1E), 2));
    p.setBrush(QColor(0xFF, 0xFB, 0xE8));
    p.drawPath(path);
    return img;
}

QRegion SpeakBoxRegion(const QImage& picture, QRgb transparent)
{
    QRegion region;
    const int rows = picture.height() - 1;
    const int cols = picture.width() - 1;
    for (int y = 0; y <= rows; ++y) {
        int start = -1;
        for (int x = 0; x <= cols; ++x) {
            const bool clear = picture.pixel(x, y) == transparent;
            if (!clear && start < 0)
                start = x;
            if (start >= 0 && (x == cols || clear)) {
                region += QRect(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    return region;
}

bool SetWindowAlpha(SpeakBoxForm& window, int alpha)
{
    if (alpha < 0 || alpha > 255)
        return false;
    window.setWindowOpacity(alpha / 255.0);
    window.SetAlpha(alpha);
    return true;
}

void SetTopMost(QWidget& window, int on)
{
    const bool visible = window.isVisible();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, on == -1);
    // Changing a window's flags hides it; keep it as it was.
    if (visible)
        window.show();
}

SpeakBoxForm::SpeakBoxForm(Client& c, int view)
    : platform::Form(QStringLiteral("frmSpeakBox"), nullptr), tmrFadeIn(new platform::Timer(this, QStringLiteral("tmrFadeIn"))),
      c_(c)
{
    setWindowTitle(QStringLiteral("speakbox"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    Add(&labPhrase);
    labPhrase.FontSize = 10.5f;
    labPhrase.Width = 140;
    labPhrase.Height = 50;
    tmrFadeIn->SetInterval(kFadeStepMs);
    QObject::connect(tmrFadeIn, &QTimer::timeout, this, [this] { tmrFadeIn_Timer(); });
    Tag = QString::number(view) + QStringLiteral("speak");
}

void SpeakBoxForm::showMe(int view, const QString& phrase, int peak, int fadeIn, int fadeOut, int hold)
{
    if (view >= 0 && view <= 3) {
        const TwipsPoint at = kBubblePlaces[static_cast<std::size_t>(view)];
        const window::MainForm& table = *c_.MainForm;
        move(table.x() + Pixels(at.left, c_.game.ScaleX), table.y() + Pixels(at.top, c_.game.ScaleY));
    }
    FadePeak = peak;
    FadeInStep = fadeIn;
    FadeOutStep = fadeOut;
    FadeHold = hold;
    labPhrase.SetCaption(phrase);
    tmrFadeIn->SetEnabled(true);
    FadeCounter = 0;
}

void SpeakBoxForm::tmrFadeIn_Timer()
{
    FadeCounter += FadeInStep;
    if (FadeCounter < FadePeak)
        SetWindowAlpha(*this, FadeCounter);
    if (FadeCounter > FadePeak + FadeHold) {
        FadePeak -= FadeOutStep;
        SetWindowAlpha(*this, FadePeak);
        if (FadePeak <= 1) {
            tmrFadeIn->SetEnabled(false);
            labPhrase.SetCaption(QString());
            move(-2 * width(), y());
        }
    }
}

SpeakBoxForm* FindSpeakBox(Client& c, int view)
{
    const QString tag = QString::number(view) + QStringLiteral("speak");
    for (const auto& box : c.chat.SpeakBoxes)
        if (box && box->Tag == tag)
            return box.get();
    return nullptr;
}

void CreateSpeakBox(Client& c, int view)
{
    if (view < 0 || view > 3 || FindSpeakBox(c, view))
        return;
    auto box = std::make_unique<SpeakBoxForm>(c, view);
    const QImage picture = SpeakBoxPicture(view);
    box->BackPicture.image = picture;
    box->resize(picture.size());
    box->setMask(SpeakBoxRegion(picture, picture.pixel(0, 0)));
    box->labPhrase.SetCaption(QStringLiteral("  "));
    // Out of sight until the first phrase; it fades in from nothing.
    const window::MainForm& table = *c.MainForm;
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;
    const int w = box->width();
    const int h = box->height();
    switch (view) {
    case 0: box->move(-w, table.y() + Pixels(8550, sy)); break;
    case 1: box->move(-w, table.y() + Pixels(3000, sy)); break;
    case 2: box->move(table.x() + Pixels(6150, sx), Pixels(40, sy) - h); break;
    default: box->move(table.x() + Pixels(11400, sx), -h); break;
    }
    const TwipsPoint label = kPhrasePlaces[static_cast<std::size_t>(view)];
    box->labPhrase.Move(static_cast<float>(label.left * sx / kTwipsPerPixel),
                        static_cast<float>(label.top * sy / kTwipsPerPixel));
    SetWindowAlpha(*box, 0);
    SetTopMost(*box, -1);
    box->show();
    c.chat.SpeakBoxes.push_back(std::move(box));
}

void UnloadSpeakBoxes(Client& c)
{
    // Closed from the event loop: a bubble may be in the middle of its own
    // fade step.
    for (auto& box : c.chat.SpeakBoxes)
        box.release()->deleteLater();
    c.chat.SpeakBoxes.clear();
}

void HideSpeakBoxes(Client& c)
{
    for (auto& box : c.chat.SpeakBoxes)
        box->hide();
}

void ResetSpeakBoxesAfterRestore(Client& c)
{
    for (auto& box : c.chat.SpeakBoxes) {
        box->tmrFadeIn->SetEnabled(false);
        SetWindowAlpha(*box, 0);
        box->hide();
        SetTopMost(*box, -1);
    }
}

} // namespace chat
