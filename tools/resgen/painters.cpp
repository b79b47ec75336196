// Painters of every role of the art table except the tiles.
#include "painters.h"

#include "paint_util.h"
#include "tiles.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cmath>
#include <stdexcept>

namespace resgen {

namespace {

// ---- colours and shared pieces --------------------------------------------

struct Scheme {
    QColor top, bottom, border, text;
};

// States: 0 normal, 1 hover, 2 pressed, 3 disabled (grey).
Scheme ButtonScheme(int state, QColor base)
{
    switch (state) {
    case 1: return {Shade(base, 1.45), Shade(base, 0.95), QColor(255, 240, 160), Qt::white};
    case 2: return {Shade(base, 0.6), Shade(base, 1.05), QColor(200, 160, 60), QColor(255, 225, 140)};
    case 3: return {QColor(190, 190, 190), QColor(130, 130, 130), QColor(100, 100, 100), QColor(235, 235, 235)};
    default: return {Shade(base, 1.15), Shade(base, 0.62), QColor(232, 190, 80), QColor(255, 236, 170)};
    }
}

const QColor kRedBase(176, 44, 30);
const QColor kGreenBase(30, 120, 70);
const QColor kBlueBase(36, 84, 150);
const QColor kGoldBase(190, 130, 30);
const QColor kPurpleBase(110, 60, 140);

void Pill(QPainter& p, const QRectF& r, const Scheme& s, double radius)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, s.top);
    g.setColorAt(1, s.bottom);
    p.setPen(QPen(s.border, 1.2));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.6, 0.6, -0.6, -0.6), radius, radius);
    // Gloss on the upper half.
    QLinearGradient gloss(r.topLeft(), QPointF(r.left(), r.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1, QColor(255, 255, 255, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(r.left() + 2, r.top() + 1.5, r.width() - 4, r.height() / 2 - 1), radius * 0.7,
                      radius * 0.7);
}

QImage CaptionButton(int w, int h, const QString& caption, int state, QColor base)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const Scheme s = ButtonScheme(state, base);
    Pill(p, QRectF(0, 0, w, h), s, qMin(w, h) * 0.28);
    const double shift = state == 2 ? 1 : 0;
    DrawFittedText(p, QRectF(w * 0.1 + shift, h * 0.16 + shift, w * 0.8, h * 0.68), caption, HeiFont(h * 0.6), s.text,
                   Shade(s.bottom, 0.6), 2.0);
    return image;
}

void Triangle(QPainter& p, QPointF c, double size, bool pointsRight, QColor colour)
{
    QPainterPath t;
    const double d = pointsRight ? 1 : -1;
    t.moveTo(c.x() + d * size * 0.55, c.y());
    t.lineTo(c.x() - d * size * 0.45, c.y() - size * 0.55);
    t.lineTo(c.x() - d * size * 0.45, c.y() + size * 0.55);
    t.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(t);
}

// ---- table window pictures -------------------------------------------------

QImage Compass(int w, int h, int seatIndex)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(w / 2.0, h / 2.0);
    const double r = w / 2.0 - 1;
    // A light face with a dark rim; the winds stand on the light face only,
    // so that they keep clear of the rim when the compass is drawn smaller.
    QRadialGradient wood(c, r);
    wood.setColorAt(0, QColor(250, 232, 180));
    wood.setColorAt(0.86, QColor(220, 180, 104));
    wood.setColorAt(1, QColor(120, 72, 24));
    p.setPen(QPen(QColor(90, 52, 14), 1.5));
    p.setBrush(wood);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(QColor(150, 100, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.34, r * 0.34);
    // Seat index 0-3 sits in North, West, South, East; the own seat is at the
    // bottom, the seat before it on the left, and so on round the table.
    // Bold glyphs with an outline of their own colour: their strokes are two
    // pixels or more, so none is lost when the picture is shrunk.
    static const char16_t wind[] = u"北西南東";
    const double at = r * 0.6;
    const QPointF places[] = {{c.x(), c.y() + at}, {c.x() - at, c.y()}, {c.x(), c.y() - at}, {c.x() + at, c.y()}};
    for (int view = 0; view < 4; ++view) {
        const int seat = ((seatIndex - view) % 4 + 4) % 4;
        const QColor colour = view == 0 ? QColor(200, 20, 30) : QColor(40, 30, 20);
        const double box = r * 0.42;
        DrawFittedText(p, QRectF(places[view].x() - box / 2, places[view].y() - box / 2, box, box),
                       QString(QChar(wind[seat])), HeiFont(40), colour, colour, 0.6);
    }
    // A needle pointing at the own seat, inside the ring.
    QPainterPath needle;
    needle.moveTo(c.x(), c.y() + r * 0.3);
    needle.lineTo(c.x() - r * 0.1, c.y());
    needle.lineTo(c.x(), c.y() - r * 0.22);
    needle.lineTo(c.x() + r * 0.1, c.y());
    needle.closeSubpath();
    p.setPen(QPen(QColor(90, 20, 10), 0.8));
    p.setBrush(QColor(200, 40, 30));
    p.drawPath(needle);
    p.setBrush(QColor(240, 210, 120));
    p.drawEllipse(c, r * 0.06, r * 0.06);
    return image;
}

QImage ClaimButton(int w, int h, const QString& caption, int state)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QColor base = state == 0 ? QColor(150, 150, 150) : state == 1 ? QColor(214, 160, 40) : QColor(205, 40, 32);
    const QRectF plaque(1, 1, w - 2, h - 2);
    QLinearGradient g(plaque.topLeft(), plaque.bottomLeft());
    g.setColorAt(0, Shade(base, 1.35));
    g.setColorAt(1, Shade(base, 0.55));
    p.setPen(QPen(state == 0 ? QColor(90, 90, 90) : QColor(255, 236, 150), state == 2 ? 2.0 : 1.2));
    p.setBrush(g);
    p.drawRoundedRect(plaque, 9, 9);
    const QPointF c(w / 2.0, h * 0.44);
    const double r = w * 0.4;
    QRadialGradient disc(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
    disc.setColorAt(0, state == 0 ? QColor(245, 245, 245) : QColor(255, 250, 225));
    disc.setColorAt(1, state == 0 ? QColor(185, 185, 185) : QColor(240, 205, 120));
    p.setPen(QPen(Shade(base, 0.5), 1));
    p.setBrush(disc);
    p.drawEllipse(c, r, r);
    const QColor ink = state == 0 ? QColor(110, 110, 110) : state == 1 ? QColor(170, 20, 20) : QColor(200, 10, 10);
    DrawFittedText(p, QRectF(c.x() - r * 0.72, c.y() - r * 0.72, r * 1.44, r * 1.44), caption, KaiFont(40), ink);
    // A little bar under the disc.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, state == 0 ? 90 : 140));
    p.drawRoundedRect(QRectF(w * 0.22, h * 0.82, w * 0.56, h * 0.06), 2, 2);
    return image;
}

// Pip positions of a die face in a unit square.
std::vector<QPointF> Pips(int face)
{
    const double a = 0.25, m = 0.5, b = 0.75;
    switch (face) {
    case 1: return {{m, m}};
    case 2: return {{a, a}, {b, b}};
    case 3: return {{a, a}, {m, m}, {b, b}};
    case 4: return {{a, a}, {b, a}, {a, b}, {b, b}};
    case 5: return {{a, a}, {b, a}, {m, m}, {a, b}, {b, b}};
    default: return {{a, a}, {b, a}, {a, m}, {b, m}, {a, b}, {b, b}};
    }
}

void DieFaceSquare(QPainter& p, const QRectF& r, int face, QColor body)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, Shade(body, 1.05));
    g.setColorAt(1, Shade(body, 0.86));
    p.setPen(QPen(QColor(120, 110, 100), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, r.width() * 0.18, r.width() * 0.18);
    // Ones and fours have red pips.
    const QColor pip = (face == 1 || face == 4) ? QColor(205, 20, 30) : QColor(25, 25, 40);
    const double pr = r.width() * (face == 1 ? 0.15 : 0.085);
    p.setPen(Qt::NoPen);
    p.setBrush(pip);
    for (const QPointF& q : Pips(face))
        p.drawEllipse(QPointF(r.left() + q.x() * r.width(), r.top() + q.y() * r.height()), pr, pr);
}

QImage DieFace(int w, int h, int face)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The top of the die, then its front face.
    const double top = h - w + 2;
    QPainterPath lid;
    lid.moveTo(4, top);
    lid.lineTo(10, 1);
    lid.lineTo(w - 2, 1);
    lid.lineTo(w - 4, top);
    lid.closeSubpath();
    p.setPen(QPen(QColor(150, 140, 130), 1));
    p.setBrush(QColor(226, 222, 214));
    p.drawPath(lid);
    DieFaceSquare(p, QRectF(1, top - 1, w - 3, w - 3), face, QColor(250, 248, 242));
    return image;
}

QImage DieTumble(int w, int h, int step)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double side = qMin(w, h) / 1.5;
    p.translate(w / 2.0, h / 2.0);
    p.rotate(17 + step * 37);
    // Two faces seen at once, the die half turned.
    p.save();
    p.shear(0.35, 0);
    DieFaceSquare(p, QRectF(-side / 2, -side / 2, side * 0.9, side), (step % 6) + 1, QColor(240, 238, 232));
    p.restore();
    p.save();
    p.translate(side * 0.5, 0);
    p.scale(0.45, 1);
    DieFaceSquare(p, QRectF(-side / 2, -side / 2, side, side), ((step + 3) % 6) + 1, QColor(205, 200, 192));
    p.restore();
    return image;
}

QImage SmallDie(int w, int h, int face)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DieFaceSquare(p, QRectF(1, 1, w - 2, h - 2), face, QColor(250, 248, 242));
    return image;
}

QImage Avatar(int w, int h, int index)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool woman = index >= 10;
    const int k = index % 10;
    static const QColor backs[] = {{86, 140, 200}, {120, 180, 120}, {220, 160, 90}, {170, 120, 190}, {90, 170, 170},
                                   {210, 110, 110}, {150, 150, 90},  {100, 120, 170}, {200, 140, 170}, {120, 160, 210}};
    static const QColor skins[] = {{250, 220, 190}, {240, 200, 160}, {225, 180, 140}, {250, 210, 180}, {235, 195, 150}};
    static const QColor hairs[] = {{30, 25, 20}, {70, 45, 25}, {20, 20, 30}, {110, 70, 40}, {50, 35, 30}};
    static const QColor shirts[] = {{200, 50, 50}, {40, 90, 170}, {50, 140, 80}, {220, 170, 40}, {120, 60, 150},
                                    {230, 120, 50}, {60, 60, 70},  {30, 150, 160}, {200, 80, 140}, {100, 100, 200}};
    const QColor skin = skins[k % 5];
    const QColor hair = hairs[(k * 3) % 5];
    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0, Shade(backs[k], 1.3));
    bg.setColorAt(1, Shade(backs[k], 0.8));
    p.setPen(QPen(QColor(255, 255, 255, 200), 2));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 8, 8);
    const double cx = w / 2.0;
    // Long hair behind the head.
    if (woman) {
        p.setPen(Qt::NoPen);
        p.setBrush(hair);
        p.drawRoundedRect(QRectF(cx - 25, 18, 50, 52 + (k % 3) * 6), 20, 20);
    }
    // Shoulders and shirt.
    p.setPen(Qt::NoPen);
    p.setBrush(shirts[woman ? 9 - k : k]);
    p.drawRoundedRect(QRectF(cx - 34, h - 26, 68, 40), 18, 18);
    p.setBrush(skin);
    p.drawRect(QRectF(cx - 6, h - 34, 12, 10));
    // Head.
    p.setBrush(skin);
    p.drawEllipse(QPointF(cx, 44), 20, 23);
    // Hair on top.
    p.setBrush(hair);
    QPainterPath top;
    top.moveTo(cx - 21, 44);
    top.cubicTo(cx - 24, 14, cx + 24, 14, cx + 21, 44);
    top.cubicTo(cx + 14, 30 - (k % 2) * 4, cx - 8, 28, cx - 21, 44);
    p.drawPath(top);
    if (woman && k % 3 == 2) {
        // A bun on top.
        p.setBrush(hair);
        p.drawEllipse(QPointF(cx, 17), 10, 8);
    }
    if (woman && k % 3 == 1) {
        // A flower in the hair.
        p.setBrush(QColor(240, 90, 120));
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QPointF(cx + 15 + 4 * std::cos(i * 1.256), 26 + 4 * std::sin(i * 1.256)), 2.6, 2.6);
        p.setBrush(QColor(255, 220, 80));
        p.drawEllipse(QPointF(cx + 15, 26), 2, 2);
    }
    // Eyes, brows, mouth, cheeks.
    p.setBrush(QColor(30, 30, 40));
    p.drawEllipse(QPointF(cx - 7.5, 46), 2.4, woman ? 3.0 : 2.4);
    p.drawEllipse(QPointF(cx + 7.5, 46), 2.4, woman ? 3.0 : 2.4);
    p.setPen(QPen(Shade(hair, 1.2), 1.6, Qt::SolidLine, Qt::RoundCap));
    const double lift = (k % 3) * 0.6;
    p.drawLine(QPointF(cx - 11, 40), QPointF(cx - 4, 38.5 - lift));
    p.drawLine(QPointF(cx + 4, 38.5 - lift), QPointF(cx + 11, 40));
    p.setPen(QPen(QColor(170, 60, 60), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(cx - 6, 50, 12, 8), 200 * 16, 140 * 16);
    if (woman) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 140, 140, 110));
        p.drawEllipse(QPointF(cx - 12, 54), 3.5, 2.2);
        p.drawEllipse(QPointF(cx + 12, 54), 3.5, 2.2);
    }
    if (!woman && k % 4 == 2) {
        // Glasses.
        p.setPen(QPen(QColor(40, 40, 40), 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(cx - 7.5, 46), 5, 4.5);
        p.drawEllipse(QPointF(cx + 7.5, 46), 5, 4.5);
        p.drawLine(QPointF(cx - 2.5, 46), QPointF(cx + 2.5, 46));
    }
    if (!woman && k % 5 == 4) {
        // A cap.
        p.setPen(Qt::NoPen);
        p.setBrush(shirts[(k + 3) % 10]);
        p.drawChord(QRectF(cx - 22, 14, 44, 36), 0, 180 * 16);
        p.drawRoundedRect(QRectF(cx - 4, 29, 30, 5), 2, 2);
    }
    return image;
}

QImage Speech(int w, int h, int view, const QString& caption)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF body;
    QPainterPath tail;
    const double t = 13;
    if (view == 2) {
        body = QRectF(2, t, w - 4, h - t - 2);
        tail.moveTo(w * 0.38, t + 2);
        tail.lineTo(w * 0.3, 1);
        tail.lineTo(w * 0.56, t + 2);
    } else if (view == 1) {
        body = QRectF(t, 2, w - t - 2, h - 4);
        tail.moveTo(t + 2, h * 0.45);
        tail.lineTo(1, h * 0.3);
        tail.lineTo(t + 2, h * 0.66);
    } else {
        body = QRectF(2, 2, w - t - 2, h - 4);
        tail.moveTo(w - t - 2, h * 0.45);
        tail.lineTo(w - 1, h * 0.3);
        tail.lineTo(w - t - 2, h * 0.66);
    }
    QPainterPath bubble;
    bubble.addRoundedRect(body, 14, 14);
    bubble = bubble.united(tail);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, QColor(255, 253, 240));
    g.setColorAt(1, QColor(250, 228, 170));
    p.setPen(QPen(QColor(190, 40, 30), 2.2));
    p.setBrush(g);
    p.drawPath(bubble);
    const double margin = caption.size() > 2 ? 7 : 12;
    DrawFittedText(p, body.adjusted(margin, 8, -margin, -8), caption, HeiFont(40), QColor(205, 25, 20),
                   QColor(255, 230, 120), 3.0);
    return image;
}

std::vector<Frame> StreakAnimation(int w, int h, const QString& caption, int frames)
{
    std::vector<Frame> out;
    const QPointF c(w / 2.0, h / 2.0);
    for (int f = 0; f < frames; ++f) {
        QImage image = Canvas(w, h);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const double phase = double(f) / frames;
        // Turning rays.
        p.save();
        p.translate(c);
        p.rotate(phase * 60);
        for (int i = 0; i < 12; ++i) {
            p.rotate(30);
            QPainterPath ray;
            ray.moveTo(0, -18);
            ray.lineTo(-7, -70);
            ray.lineTo(7, -70);
            ray.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(i % 2 ? QColor(255, 210, 60, 200) : QColor(255, 120, 40, 200));
            p.drawPath(ray);
        }
        p.restore();
        // The caption swells and settles.
        const double grow = 0.7 + 0.45 * std::sin(std::min(1.0, phase * 1.6) * M_PI * 0.5) - 0.1 * std::max(0.0, phase - 0.6);
        const double bw = w * 0.8 * grow;
        const double bh = h * 0.42 * grow;
        DrawFittedText(p, QRectF(c.x() - bw / 2, c.y() - bh / 2, bw, bh), caption, HeiFont(60), QColor(230, 30, 20),
                       QColor(255, 240, 150), 5.0);
        out.push_back({image, 8});
    }
    return out;
}

QImage StreakBackdrop(int w, int h)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(w / 2.0, h / 2.0);
    const double r = w / 2.0 - 1;
    QRadialGradient g(c, r);
    g.setColorAt(0, QColor(120, 20, 20));
    g.setColorAt(0.85, QColor(50, 8, 8));
    g.setColorAt(1, QColor(30, 5, 5));
    p.setPen(QPen(QColor(230, 180, 60), 4));
    p.setBrush(g);
    p.drawEllipse(c, r - 2, r - 2);
    p.setPen(QPen(QColor(230, 180, 60, 160), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r - 9, r - 9);
    return image;
}

// ---- panels and buttons of the other windows -------------------------------

QImage Tab(int w, int h, int state, const QString& caption)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base = state == 2 ? QColor(200, 120, 30) : QColor(120, 70, 30);
    Scheme s = ButtonScheme(state == 2 ? 0 : state, base);
    QPainterPath tab;
    const double r = qMin(h * 0.4, 8.0);
    tab.moveTo(0.5, h - 0.5);
    tab.lineTo(0.5, r);
    tab.quadTo(0.5, 0.5, r, 0.5);
    tab.lineTo(w - r, 0.5);
    tab.quadTo(w - 0.5, 0.5, w - 0.5, r);
    tab.lineTo(w - 0.5, h - 0.5);
    tab.closeSubpath();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, s.top);
    g.setColorAt(1, s.bottom);
    p.setPen(QPen(s.border, 1));
    p.setBrush(g);
    p.drawPath(tab);
    if (!caption.isEmpty())
        DrawFittedText(p, QRectF(w * 0.1, h * 0.18, w * 0.8, h * 0.64), caption, HeiFont(h * 0.6), s.text);
    return image;
}

QImage RowBar(int w, int h, int state)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, state ? QColor(120, 80, 40) : QColor(82, 52, 28));
    g.setColorAt(1, state ? QColor(70, 40, 18) : QColor(48, 28, 12));
    p.setPen(QPen(state ? QColor(255, 210, 100) : QColor(160, 110, 50), state ? 2 : 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 8, 8);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawLine(QPointF(10, h / 2.0), QPointF(w - 10, h / 2.0));
    return image;
}

QImage CloseMark(int w, int h, int state)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(w / 2.0, h / 2.0);
    const double r = qMin(w, h) / 2.0 - 1;
    p.setPen(QPen(QColor(255, 230, 200), 1));
    p.setBrush(state ? QColor(230, 70, 50) : QColor(170, 40, 30));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(Qt::white, qMax(1.5, r * 0.22), Qt::SolidLine, Qt::RoundCap));
    const double d = r * 0.42;
    p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
    p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
    return image;
}

// param: tens digit 0 previous, 1 next; units digit the state.
QImage Arrow(int w, int h, int param)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool next = param >= 10;
    const int state = param % 10;
    const Scheme s = ButtonScheme(state, kBlueBase);
    if (w > 16)
        Pill(p, QRectF(0, 0, w, h), s, h * 0.35);
    const double size = w > 16 ? h * 0.5 : qMin(w, h) - 2;
    Triangle(p, QPointF(w / 2.0, h / 2.0), size, next, w > 16 ? s.text : (state == 3 ? QColor(140, 140, 140) : state ? QColor(255, 200, 60) : QColor(220, 160, 40)));
    return image;
}

QImage FoldTab(int w, int h, int param)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool shown = param >= 10;
    const Scheme s = ButtonScheme(param % 10, kRedBase);
    Pill(p, QRectF(0, 0, w, h), s, 5);
    Triangle(p, QPointF(w / 2.0, h / 2.0), w * 0.45, !shown, s.text);
    return image;
}

QImage Stamp(int w, int h, const QString& caption, int kind)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = kind == 0 ? QColor(30, 140, 60) : kind == 1 ? QColor(220, 110, 20) : QColor(130, 130, 130);
    p.translate(w / 2.0, h / 2.0);
    p.rotate(-6);
    const QRectF r(-w / 2.0 + 3, -h / 2.0 + 3, w - 6, h - 6);
    p.setPen(QPen(ink, 2));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRoundedRect(r, 5, 5);
    p.setPen(QPen(ink, 0.8));
    p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
    DrawFittedText(p, r.adjusted(6, 4, -6, -4), caption, HeiFont(h), ink);
    return image;
}

QImage VipPanel(int w, int h, int level)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(90, 40, 120));
    g.setColorAt(1, QColor(30, 10, 50));
    p.setPen(QPen(QColor(240, 200, 90), 3));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, w - 3, h - 3), 14, 14);
    DrawFittedText(p, QRectF(20, 14, w - 70, 34), QStringLiteral("会员特权"), HeiFont(30), QColor(255, 220, 120));
    const QString title = level == 0 ? QStringLiteral("普通玩家") : QStringLiteral("VIP %1").arg(level);
    DrawFittedText(p, QRectF(40, 60, w - 80, 70), title, HeiFont(60), QColor(255, 240, 170), QColor(150, 80, 10), 4);
    const QStringList lines = {QStringLiteral("专属头像标识"), QStringLiteral("每日登录奖励 ×%1").arg(level + 1),
                               QStringLiteral("兑换折扣优惠")};
    for (int i = 0; i < lines.size(); ++i)
        DrawFittedText(p, QRectF(50, 142 + i * 28, w - 100, 22), lines[i], HeiFont(18, false), QColor(235, 225, 255));
    return image;
}

QImage VipBadge(int w, int h, int id)
{
    const int level = (id - 900) / 4 + 1;
    const int frame = (id - 900) % 4;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    static const QColor colours[] = {{150, 150, 160}, {60, 160, 90}, {50, 120, 210}, {150, 70, 200}, {230, 140, 30}, {220, 40, 40}};
    const QColor c = colours[level - 1];
    // A crown over a plate with the level.
    QPainterPath crown;
    crown.moveTo(6, 16);
    crown.lineTo(10, 4);
    crown.lineTo(15, 11);
    crown.lineTo(20.5, 2);
    crown.lineTo(26, 11);
    crown.lineTo(31, 4);
    crown.lineTo(35, 16);
    crown.closeSubpath();
    p.setPen(QPen(QColor(140, 90, 10), 1));
    p.setBrush(QColor(250, 200, 50));
    p.drawPath(crown);
    QLinearGradient g(0, 14, 0, h);
    g.setColorAt(0, Shade(c, 1.4));
    g.setColorAt(1, Shade(c, 0.7));
    p.setBrush(g);
    p.setPen(QPen(QColor(255, 240, 180), 1));
    p.drawRoundedRect(QRectF(2, 14, w - 4, h - 15), 6, 6);
    DrawFittedText(p, QRectF(5, 16, w - 10, h - 19), QStringLiteral("V%1").arg(level), HeiFont(18), Qt::white,
                   Shade(c, 0.5), 2);
    // A glint that moves along the plate from picture to picture.
    const QPointF glint(8 + frame * 8.5, 18 + (frame % 2) * 10);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    QPainterPath star;
    star.moveTo(glint + QPointF(0, -5));
    star.lineTo(glint + QPointF(1.2, -1.2));
    star.lineTo(glint + QPointF(5, 0));
    star.lineTo(glint + QPointF(1.2, 1.2));
    star.lineTo(glint + QPointF(0, 5));
    star.lineTo(glint + QPointF(-1.2, 1.2));
    star.lineTo(glint + QPointF(-5, 0));
    star.lineTo(glint + QPointF(-1.2, -1.2));
    star.closeSubpath();
    p.drawPath(star);
    return image;
}

// Goods pictures stand on pure red, which their tile control treats as
// see-through.
QImage Goods(int w, int h, int goodsId, const QString& caption)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(255, 0, 0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    static const QColor colours[] = {{60, 130, 200}, {200, 90, 60}, {80, 160, 90}, {170, 100, 180}, {220, 170, 50}, {70, 170, 170}};
    const QColor c = colours[qAbs(goodsId) % 6];
    const QRectF box(4, 4, w - 8, h - 8);
    if (goodsId == 3) {
        // Cigarettes: a pack with three sticks out of it.
        p.setPen(QPen(QColor(60, 30, 10), 1));
        for (int i = 0; i < 3; ++i) {
            p.setBrush(QColor(245, 240, 225));
            p.drawRect(QRectF(w * 0.3 + i * 7, 6 + i * 2, 5, 16));
            p.setBrush(QColor(220, 140, 60));
            p.drawRect(QRectF(w * 0.3 + i * 7, 6 + i * 2, 5, 5));
        }
        p.setBrush(QColor(180, 30, 30));
        p.drawRoundedRect(QRectF(w * 0.18, h * 0.36, w * 0.64, h * 0.56), 4, 4);
        DrawFittedText(p, QRectF(w * 0.24, h * 0.48, w * 0.52, h * 0.32), QStringLiteral("烟"), KaiFont(30), QColor(255, 220, 120));
        return image;
    }
    // A gift box with a ribbon and the goods number.
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, Shade(c, 1.3));
    g.setColorAt(1, Shade(c, 0.75));
    p.setPen(QPen(Shade(c, 0.5), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(box.left(), box.top() + h * 0.22, box.width(), box.height() - h * 0.22), 4, 4);
    p.drawRoundedRect(QRectF(box.left() - 1, box.top() + h * 0.12, box.width() + 2, h * 0.16), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 215, 70));
    p.drawRect(QRectF(w / 2.0 - 3, box.top() + h * 0.12, 6, box.height() - h * 0.12));
    p.drawEllipse(QPointF(w / 2.0 - 6, box.top() + h * 0.08), 6, 4);
    p.drawEllipse(QPointF(w / 2.0 + 6, box.top() + h * 0.08), 6, 4);
    DrawFittedText(p, QRectF(box.left() + 3, box.top() + h * 0.4, box.width() / 2 - 6, h * 0.34), caption, HeiFont(20),
                   Qt::white, Shade(c, 0.5), 2);
    return image;
}

QImage Prize(int w, int h, int index, const QString& name)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    static const QColor colours[] = {{40, 120, 200}, {200, 80, 50}, {60, 150, 90}, {160, 90, 170}, {210, 150, 40}};
    const QColor c = colours[index % 5];
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(255, 252, 240));
    g.setColorAt(1, QColor(235, 225, 200));
    p.setPen(QPen(Shade(c, 0.8), 2));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 8, 8);
    // A medal with the prize number over the kind of prize.
    p.setPen(QPen(Shade(c, 0.6), 1));
    p.setBrush(c);
    p.drawEllipse(QPointF(w / 2.0, h * 0.3), h * 0.2, h * 0.2);
    DrawFittedText(p, QRectF(w / 2.0 - h * 0.13, h * 0.17, h * 0.26, h * 0.26), QString::number(index + 1), HeiFont(20),
                   Qt::white);
    DrawFittedText(p, QRectF(8, h * 0.6, w - 16, h * 0.28), name, HeiFont(22), Shade(c, 0.7));
    return image;
}

QImage CigaretteIcon(int w, int h, int state)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(state ? QColor(255, 220, 120) : QColor(120, 80, 40), 1.2));
    p.setBrush(state ? QColor(120, 60, 30) : QColor(80, 40, 20));
    p.drawEllipse(QPointF(w / 2.0, h / 2.0), w / 2.0 - 1, h / 2.0 - 1);
    p.save();
    p.translate(w / 2.0, h / 2.0);
    p.rotate(-35);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 248, 240));
    p.drawRect(QRectF(-w * 0.36, -2.5, w * 0.5, 5));
    p.setBrush(QColor(220, 140, 60));
    p.drawRect(QRectF(w * 0.14, -2.5, w * 0.16, 5));
    p.setBrush(QColor(255, 90, 40));
    p.drawRect(QRectF(-w * 0.4, -2.5, w * 0.05, 5));
    p.restore();
    return image;
}

void Smiley(QPainter& p, QPointF c, double r, int mood, double blink)
{
    QRadialGradient g(c - QPointF(r * 0.3, r * 0.4), r * 1.4);
    g.setColorAt(0, QColor(255, 240, 120));
    g.setColorAt(1, QColor(240, 170, 20));
    p.setPen(QPen(QColor(170, 100, 0), qMax(1.0, r * 0.05)));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    const QColor ink(70, 40, 10);
    const double ex = r * 0.36, ey = r * 0.18;
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    if (mood == 5 || mood == 11) {
        // Closed, smiling eyes.
        p.setPen(QPen(ink, r * 0.09, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - ex - r * 0.15, c.y() - ey - r * 0.1, r * 0.3, r * 0.25), 0, 180 * 16);
        p.drawArc(QRectF(c.x() + ex - r * 0.15, c.y() - ey - r * 0.1, r * 0.3, r * 0.25), 0, 180 * 16);
    } else {
        const double open = qMax(0.08, 1.0 - blink);
        p.drawEllipse(QPointF(c.x() - ex, c.y() - ey), r * 0.1, r * 0.15 * open);
        p.drawEllipse(QPointF(c.x() + ex, c.y() - ey), r * 0.1, r * 0.15 * open);
    }
    p.setPen(QPen(ink, r * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF mouth(c.x() - r * 0.45, c.y() - r * 0.05, r * 0.9, r * 0.6);
    switch (mood % 6) {
    case 0: p.drawArc(mouth, 200 * 16, 140 * 16); break;                             // smile
    case 1: p.setBrush(QColor(160, 30, 30)); p.drawChord(mouth, 180 * 16, 180 * 16); break; // laugh
    case 2: p.drawArc(mouth.translated(0, r * 0.35), 20 * 16, 140 * 16); break;      // sad
    case 3: p.drawLine(QPointF(c.x() - r * 0.3, c.y() + r * 0.35), QPointF(c.x() + r * 0.3, c.y() + r * 0.35)); break;
    case 4: p.drawEllipse(QPointF(c.x(), c.y() + r * 0.38), r * 0.14, r * 0.18); break; // surprised
    default: p.drawArc(mouth, 200 * 16, 140 * 16); break;
    }
}

std::vector<Frame> Emoticon(int w, int h, int n, int frames)
{
    std::vector<Frame> out;
    const int mood = (n - 1) % 6;
    for (int f = 0; f < frames; ++f) {
        QImage image = Canvas(w, h);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const double phase = 2 * M_PI * f / frames;
        const double r = w * 0.36;
        QPointF c(w / 2.0, h / 2.0 + 2);
        double blink = 0;
        switch ((n - 1) / 6) {
        case 0: c.ry() += -std::abs(std::sin(phase)) * h * 0.08; break;    // bouncing
        case 1: c.rx() += std::sin(phase) * w * 0.06; break;               // swaying
        default: blink = f == frames / 2 ? 1.0 : 0.0; break;              // blinking
        }
        p.save();
        if ((n - 1) / 6 == 1) {
            p.translate(c);
            p.rotate(std::sin(phase) * 10);
            p.translate(-c);
        }
        Smiley(p, c, r, mood, blink);
        p.restore();
        // Extras by emoticon: tears, hearts, sweat, anger marks, stars, zzz.
        p.setPen(Qt::NoPen);
        const double t = double(f) / frames;
        switch (n % 6) {
        case 0:
            p.setBrush(QColor(80, 160, 255));
            p.drawEllipse(QPointF(c.x() - r * 0.4, c.y() + r * 0.1 + t * r * 0.8), r * 0.08, r * 0.13);
            break;
        case 1: {
            p.setBrush(QColor(240, 50, 90));
            const QPointF hc(w * 0.82, h * 0.2 - t * h * 0.1);
            const double s = r * (0.18 + 0.05 * std::sin(phase));
            QPainterPath heart;
            heart.moveTo(hc + QPointF(0, s));
            heart.cubicTo(hc + QPointF(-2 * s, -0.2 * s), hc + QPointF(-s, -1.5 * s), hc + QPointF(0, -0.5 * s));
            heart.cubicTo(hc + QPointF(s, -1.5 * s), hc + QPointF(2 * s, -0.2 * s), hc + QPointF(0, s));
            p.drawPath(heart);
            break;
        }
        case 2:
            p.setBrush(QColor(150, 210, 255));
            p.drawEllipse(QPointF(c.x() + r * 0.85, c.y() - r * 0.5 + t * r * 0.4), r * 0.1, r * 0.16);
            break;
        case 3:
            p.setPen(QPen(QColor(220, 30, 30), r * 0.08));
            p.drawLine(QPointF(w * 0.78, h * 0.12), QPointF(w * 0.9, h * 0.24 + std::sin(phase) * 2));
            p.drawLine(QPointF(w * 0.9, h * 0.12), QPointF(w * 0.78, h * 0.24 + std::sin(phase) * 2));
            break;
        case 4:
            p.setBrush(QColor(255, 230, 60));
            p.drawEllipse(QPointF(w * 0.5 + std::cos(phase) * r * 1.1, h * 0.5 + std::sin(phase) * r * 1.1), r * 0.1, r * 0.1);
            break;
        default:
            DrawFittedText(p, QRectF(w * 0.7, h * 0.05 + t * 4, w * 0.25, h * 0.2), QStringLiteral("z"), HeiFont(20),
                           QColor(80, 80, 200));
            break;
        }
        out.push_back({image, 10});
    }
    return out;
}

QImage EmoticonButton(int w, int h, int state)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Smiley(p, QPointF(w / 2.0, h / 2.0), qMin(w, h) / 2.0 - 1 - (state ? 0 : 1), 0, 0);
    return image;
}

QImage PhraseButton(int w, int h, int state)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1, 1, w - 2, h - 7), 6, 6);
    QPainterPath tail;
    tail.moveTo(6, h - 7);
    tail.lineTo(5, h - 1);
    tail.lineTo(12, h - 7);
    bubble = bubble.united(tail);
    p.setPen(QPen(state ? QColor(255, 230, 120) : QColor(60, 90, 140), 1.2));
    p.setBrush(state ? QColor(90, 150, 230) : QColor(70, 120, 200));
    p.drawPath(bubble);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(w * 0.3 + i * w * 0.2, (h - 6) / 2.0), 1.8, 1.8);
    return image;
}

QImage DigitSheet(int w, int h, int style)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double cell = h / 10.0;
    const QColor fill = style == 0 ? QColor(255, 210, 60) : QColor(120, 230, 160);
    const QColor edge = style == 0 ? QColor(140, 60, 0) : QColor(10, 90, 50);
    for (int d = 0; d < 10; ++d)
        DrawFittedText(p, QRectF(1, d * cell + 1, w - 2, cell - 2), QString::number(d), HeiFont(cell), fill, edge, 2.5);
    return image;
}

QImage BannerSheet(int w, int h)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double cell = h / 3.0;
    const QStringList captions = {QStringLiteral("奖池累计"), QStringLiteral("恭喜中奖"), QStringLiteral("谢谢参与")};
    for (int i = 0; i < 3; ++i) {
        const QRectF r(6, i * cell + 8, w - 12, cell - 16);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(220, 50, 40));
        g.setColorAt(1, QColor(130, 15, 10));
        p.setPen(QPen(QColor(250, 210, 90), 3));
        p.setBrush(g);
        p.drawRoundedRect(r, 20, 20);
        DrawFittedText(p, QRectF(r.left() + 20, r.top() + 12, r.width() * 0.4, r.height() - 24), captions[i], HeiFont(60),
                       QColor(255, 230, 140), QColor(120, 40, 0), 4);
    }
    return image;
}

QImage JadeSheet(int w, int h)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double cw = w / 4.0, ch = h / 4.0;
    for (int f = 0; f < 16; ++f) {
        const QPointF c((f % 4) * cw + cw / 2, (f / 4) * ch + ch / 2);
        const double t = f / 15.0;
        const double r = cw * (0.22 + 0.18 * t);
        // A jade disc that grows, turns and shines.
        p.setPen(QPen(QColor(200, 255, 215, int(60 + 150 * t)), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r * 1.25, r * 1.25);
        QRadialGradient jade(c - QPointF(r * 0.3, r * 0.3), r * 1.2);
        jade.setColorAt(0, QColor(170, 240, 190));
        jade.setColorAt(1, QColor(20, 130, 70));
        QPainterPath ring;
        ring.addEllipse(c, r, r);
        QPainterPath hole;
        hole.addEllipse(c, r * 0.35, r * 0.35);
        p.setBrush(jade);
        p.setPen(QPen(QColor(10, 80, 40), 2));
        p.drawPath(ring.subtracted(hole));
        p.save();
        p.translate(c);
        p.rotate(f * 22.5);
        p.setPen(QPen(QColor(255, 255, 255, 150), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(-r * 0.75, -r * 0.75, r * 1.5, r * 1.5), 30 * 16, 60 * 16);
        p.restore();
    }
    return image;
}

QImage FrameSheet(int w, int h)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(40, 90, 60, 230));
    g.setColorAt(1, QColor(10, 40, 25, 230));
    p.setPen(QPen(QColor(230, 190, 90), 3));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, w - 4, h - 4), 18, 18);
    p.setPen(QPen(QColor(230, 190, 90, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(8, 8, w - 16, h - 16), 13, 13);
    DrawFittedText(p, QRectF(20, 20, 100, h - 40), QStringLiteral("翡翠"), HeiFont(40), QColor(160, 240, 180));
    return image;
}

QImage TableBackground(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient felt(QPointF(w / 2.0, h / 2.0), w * 0.7);
    felt.setColorAt(0, QColor(40, 120, 90));
    felt.setColorAt(1, QColor(12, 60, 45));
    p.fillRect(image.rect(), felt);
    // A faint lattice and a frame.
    p.setPen(QPen(QColor(255, 255, 255, 12), 1));
    for (int x = 0; x < w; x += 32)
        p.drawLine(x, 0, x, h);
    for (int y = 0; y < h; y += 32)
        p.drawLine(0, y, w, y);
    p.setPen(QPen(QColor(200, 160, 70), 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, w - 6, h - 6));
    DrawFittedText(p, QRectF(w * 0.35, h * 0.4, w * 0.3, h * 0.2), QStringLiteral("比赛"), KaiFont(160),
                   QColor(255, 255, 255, 28));
    return image;
}

// The window frame: a 20-pixel title bar and 8-pixel borders in dark
// lacquer with a gold line towards the table. The window stretches the
// strips x 8-15 (top and bottom) and y 20-211 (sides), so each strip is
// uniform along its length; x 38-45 is the right-hand column.
QImage WindowSkin(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(16, 70, 52));
    QPainter p(&image);
    const int bar = 20;
    const int side = 8;
    const QColor lacquer(96, 22, 16);
    const QColor gold(214, 170, 78);
    // Title bar across the whole width.
    QLinearGradient top(0, 0, 0, bar);
    top.setColorAt(0, Shade(lacquer, 1.7));
    top.setColorAt(0.45, Shade(lacquer, 1.15));
    top.setColorAt(1, Shade(lacquer, 0.7));
    p.fillRect(QRect(0, 0, w, bar), top);
    p.fillRect(QRect(0, bar - 1, w, 1), gold);
    // Side borders: dark outside, lighter towards the table.
    QLinearGradient left(0, 0, side, 0);
    left.setColorAt(0, Shade(lacquer, 0.55));
    left.setColorAt(1, Shade(lacquer, 1.2));
    p.fillRect(QRect(0, bar, side, h - bar), left);
    QLinearGradient right(w - side, 0, w, 0);
    right.setColorAt(0, Shade(lacquer, 1.2));
    right.setColorAt(1, Shade(lacquer, 0.55));
    p.fillRect(QRect(w - side, bar, side, h - bar), right);
    p.fillRect(QRect(side - 1, bar, 1, h - bar - side), gold);
    p.fillRect(QRect(w - side, bar, 1, h - bar - side), gold);
    // Bottom border.
    QLinearGradient bottom(0, h - side, 0, h);
    bottom.setColorAt(0, Shade(lacquer, 1.2));
    bottom.setColorAt(1, Shade(lacquer, 0.55));
    p.fillRect(QRect(0, h - side, w, side), bottom);
    p.fillRect(QRect(side - 1, h - side, w - 2 * side + 2, 1), gold);
    // A dark outline round the outer edge.
    p.setPen(QColor(40, 8, 6));
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.drawLine(w - 1, 0, w - 1, h - 1);
    p.drawLine(0, h - 1, w - 1, h - 1);
    return image;
}

// param: tens digit 0 close, 1 minimise; units digit 0 normal, 1 hover,
// 2 pressed.
QImage WindowButton(int w, int h, int param)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool minimise = param >= 10;
    const Scheme s = ButtonScheme(param % 10, minimise ? kBlueBase : kRedBase);
    Pill(p, QRectF(0, 0, w, h), s, 4);
    const QPointF c(w / 2.0 + (param % 10 == 2 ? 0.5 : 0), h / 2.0 + (param % 10 == 2 ? 0.5 : 0));
    const double d = h * 0.22;
    p.setPen(QPen(s.text, 1.8, Qt::SolidLine, Qt::RoundCap));
    if (minimise) {
        p.drawLine(c + QPointF(-d * 1.3, d), c + QPointF(d * 1.3, d));
    } else {
        p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
        p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
    }
    return image;
}

// A small ivory tile with a character on the table's green.
QImage WindowIcon(int w, int h, const QString& caption)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 70, 50), 1));
    p.setBrush(QColor(30, 110, 80));
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), w * 0.18, w * 0.18);
    const QRectF tile(w * 0.2, h * 0.12, w * 0.6, h * 0.76);
    QLinearGradient ivory(tile.topLeft(), tile.bottomLeft());
    ivory.setColorAt(0, QColor(255, 252, 236));
    ivory.setColorAt(1, QColor(226, 214, 180));
    p.setPen(QPen(QColor(150, 120, 70), 1));
    p.setBrush(ivory);
    p.drawRoundedRect(tile, w * 0.08, w * 0.08);
    DrawFittedText(p, tile.adjusted(w * 0.04, h * 0.06, -w * 0.04, -h * 0.06), caption, KaiFont(h * 0.5),
                   QColor(180, 30, 30));
    return image;
}

// A result window's background: a lacquer frame with a gold line round the
// table's felt green, the caption in the top left corner, sunken panels
// where the window's lists and labels lie, and the minimise and close marks
// at the top right. kind: 0 score sheet, 1 hand history, 2 player card.
void SunkenPanel(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(QColor(214, 170, 78, 150), 1));
    p.setBrush(QColor(8, 44, 32, 170));
    p.drawRoundedRect(r, 4, 4);
}

void WindowMark(QPainter& p, const QRectF& r, bool close)
{
    const Scheme s = ButtonScheme(0, close ? kRedBase : kBlueBase);
    Pill(p, r, s, 4);
    const QPointF c = r.center();
    const double d = qMin(r.width(), r.height()) * 0.22;
    p.setPen(QPen(s.text, 1.8, Qt::SolidLine, Qt::RoundCap));
    if (close) {
        p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
        p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
    } else {
        p.drawLine(c + QPointF(-d * 1.3, d), c + QPointF(d * 1.3, d));
    }
}

QImage ResultPanel(int w, int h, int kind, const QString& caption)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor lacquer(96, 22, 16);
    const QColor gold(214, 170, 78);
    p.fillRect(image.rect(), Shade(lacquer, 0.8));
    QRadialGradient felt(QPointF(w / 2.0, h / 2.0), qMax(w, h) * 0.7);
    felt.setColorAt(0, QColor(40, 120, 90));
    felt.setColorAt(1, QColor(14, 66, 48));
    const QRectF inner(6, 6, w - 12, h - 12);
    p.setPen(QPen(gold, 2));
    p.setBrush(felt);
    p.drawRoundedRect(inner, 8, 8);
    p.setPen(QPen(QColor(40, 8, 6), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));

    switch (kind) {
    case 0: {
        DrawFittedText(p, QRectF(14, 8, 90, 20), caption, KaiFont(20), QColor(255, 226, 140));
        for (int i = 0; i < 4; ++i) {
            const double x = i == 0 ? 4 : i == 1 ? 164 : i == 2 ? 320 : 476;
            SunkenPanel(p, QRectF(x, 30, 158, 50));   // header: avatar and name
            SunkenPanel(p, QRectF(x, 84, 158, 330));  // the sheet column
            SunkenPanel(p, QRectF(x, 418, 158, 56));  // the final score
        }
        WindowMark(p, QRectF(598, 8, 19, 21), false);
        WindowMark(p, QRectF(618, 8, 21, 21), true);
        break;
    }
    case 1: {
        DrawFittedText(p, QRectF(14, 8, 90, 20), caption, KaiFont(20), QColor(255, 226, 140));
        SunkenPanel(p, QRectF(3, 22, 129, 50));
        SunkenPanel(p, QRectF(3, 73, 129, 316));
        for (int i = 0; i < 4; ++i) {
            const double x = i == 0 ? 132 : i == 1 ? 260 : i == 2 ? 390 : 526;
            const double width = i == 3 ? 126 : 128;
            SunkenPanel(p, QRectF(x, 20, width, 50));
            SunkenPanel(p, QRectF(x, 73, width, 316));
            SunkenPanel(p, QRectF(x, 402, width, 36));
        }
        WindowMark(p, QRectF(608, 8, 21, 17), false);
        WindowMark(p, QRectF(630, 8, 19, 17), true);
        break;
    }
    default: {
        DrawFittedText(p, QRectF(14, 10, w - 28, 22), caption, KaiFont(20), QColor(255, 226, 140));
        for (int k = 0; k < 9; ++k)
            SunkenPanel(p, QRectF(16, 36 + 32 * k, w - 32, 28));
        break;
    }
    }
    return image;
}

// The pointer over a hand tile: a gold arrow with a dark rim whose tip is
// the hot spot, and a small tile at its tail.
QImage Pointer(int w, int h)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double u = w / 32.0;
    const QPointF tip(2 * u, 2 * u);
    QPolygonF arrow;
    arrow << tip << QPointF(2 * u, 22 * u) << QPointF(7.5 * u, 17 * u) << QPointF(11.5 * u, 26 * u)
          << QPointF(15 * u, 24.5 * u) << QPointF(11 * u, 15.5 * u) << QPointF(18 * u, 15.5 * u);
    QLinearGradient gold(tip, QPointF(14 * u, 24 * u));
    gold.setColorAt(0, QColor(255, 236, 150));
    gold.setColorAt(1, QColor(214, 150, 30));
    p.setPen(QPen(QColor(60, 30, 10), 1.4 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(gold);
    p.drawPolygon(arrow);
    const QRectF tile(19 * u, 17 * u, 10 * u, 13 * u);
    QLinearGradient ivory(tile.topLeft(), tile.bottomLeft());
    ivory.setColorAt(0, QColor(255, 252, 236));
    ivory.setColorAt(1, QColor(226, 214, 180));
    p.setPen(QPen(QColor(60, 30, 10), 1.0 * u));
    p.setBrush(ivory);
    p.drawRoundedRect(tile, 2 * u, 2 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(180, 30, 30));
    p.drawEllipse(tile.center(), 2.2 * u, 2.2 * u);
    return image;
}

// Backgrounds of the match panels: a dark lacquer board with a gold rim.
// 0 the match list (row well at the left, detail well at the right, page
// strip under the rows), 1 the ranking (list well at the left, the captions
// of the player's place, points and gap, the rules well), 2 the status card
// of a finished match (its captions on the left of the four lines).
QImage MatchPanel(int w, int h, int kind)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor gold(214, 170, 78);
    const QColor caption(255, 226, 140);
    QLinearGradient lacquer(QPointF(0, 0), QPointF(0, h));
    lacquer.setColorAt(0, QColor(78, 40, 20));
    lacquer.setColorAt(1, QColor(36, 16, 6));
    p.fillRect(image.rect(), lacquer);
    p.setPen(QPen(gold, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(3, 3, w - 6, h - 6), 8, 8);
    if (kind == 2) {
        // The card lies over a row: the upper lines are the row's own texts.
        p.setPen(QPen(QColor(160, 110, 50), 1));
        p.drawLine(QPointF(12, 54), QPointF(w - 12, 54));
        const char* const names[] = {"名次：", "奖励：", "冠军：", "奖品："};
        for (int k = 0; k < 4; ++k)
            DrawFittedText(p, QRectF(20, 60 + 27 * k, 72, 22), QString::fromUtf8(names[k]), HeiFont(14),
                           QColor(217, 144, 78));
        return image;
    }
    // The title strip the panel's title button and clock sit on.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawRoundedRect(QRectF(8, 8, w - 16, 40), 6, 6);
    if (kind == 0) {
        SunkenPanel(p, QRectF(10, 50, 334, 318));
        SunkenPanel(p, QRectF(350, 16, 262, 376));
        SunkenPanel(p, QRectF(160, 368, 180, 30));
        return image;
    }
    DrawFittedText(p, QRectF(240, 16, 100, 24), QStringLiteral("比赛时间"), HeiFont(14), caption);
    SunkenPanel(p, QRectF(18, 62, 310, 330));
    SunkenPanel(p, QRectF(350, 62, 262, 176));
    const char* const names[] = {"我的名次", "我的积分", "落后第一"};
    const int tops[] = {80, 130, 185};
    for (int k = 0; k < 3; ++k)
        DrawFittedText(p, QRectF(370, tops[k], 100, 22), QString::fromUtf8(names[k]), HeiFont(14), caption);
    SunkenPanel(p, QRectF(350, 240, 262, 104));
    return image;
}

// Backgrounds of the small table dialogs: 0 the settings panel with its
// title, 1 the false-win banner, 2 the rules parchment, 3 the exit dialog and
// 4 the table notice (a lacquer board with a title strip and a button tray).
QImage DialogPanel(int w, int h, int kind, const QString& caption)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor gold(214, 170, 78);
    switch (kind) {
    case 0: {
        p.fillRect(image.rect(), QColor(70, 18, 14));
        QLinearGradient felt(QPointF(0, 0), QPointF(0, h));
        felt.setColorAt(0, QColor(44, 126, 96));
        felt.setColorAt(1, QColor(16, 70, 52));
        p.setPen(QPen(gold, 2));
        p.setBrush(felt);
        p.drawRoundedRect(QRectF(5, 5, w - 10, h - 10), 8, 8);
        DrawFittedText(p, QRectF(14, 8, w - 28, 24), caption, KaiFont(20), QColor(255, 226, 140));
        for (int k = 0; k < 4; ++k)
            SunkenPanel(p, QRectF(10, 36 + 56 * k, w - 20, 46));
        break;
    }
    case 1: {
        QLinearGradient band(QPointF(0, 0), QPointF(0, h));
        band.setColorAt(0, QColor(150, 30, 24));
        band.setColorAt(1, QColor(82, 12, 10));
        p.fillRect(image.rect(), band);
        p.setPen(QPen(gold, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2, 2, w - 4, h - 4));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 210, 90));
        p.drawEllipse(QPointF(40, h / 2.0), 16, 16);
        p.setPen(QPen(QColor(120, 20, 10), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(40, h / 2.0 - 9), QPointF(40, h / 2.0 + 2));
        p.drawPoint(QPointF(40, h / 2.0 + 8));
        break;
    }
    case 3:
    case 4: {
        QLinearGradient lacquer(QPointF(0, 0), QPointF(0, h));
        lacquer.setColorAt(0, kind == 3 ? QColor(92, 24, 18) : QColor(30, 58, 92));
        lacquer.setColorAt(1, kind == 3 ? QColor(48, 10, 8) : QColor(14, 28, 52));
        p.fillRect(image.rect(), lacquer);
        p.setPen(QPen(gold, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 3, w - 6, h - 6), 6, 6);
        // The title strip with the caption at its left.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawRect(QRectF(6, 6, w - 12, 14));
        DrawFittedText(p, QRectF(10, 5, 60, 16), caption, HeiFont(12), QColor(255, 226, 140));
        // The tray under the two buttons.
        SunkenPanel(p, QRectF(12, h - 56, w - 24, 44));
        break;
    }
    default: {
        QLinearGradient paper(QPointF(0, 0), QPointF(w, h));
        paper.setColorAt(0, QColor(246, 232, 196));
        paper.setColorAt(1, QColor(222, 198, 150));
        p.fillRect(image.rect(), QColor(120, 70, 30));
        p.setPen(QPen(QColor(140, 90, 40), 2));
        p.setBrush(paper);
        p.drawRoundedRect(QRectF(4, 4, w - 8, h - 8), 10, 10);
        p.setPen(QPen(QColor(150, 40, 30), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(12, 56, w - 24, h - 70));
        break;
    }
    }
    return image;
}

// A caption on a dark rounded plate.
QImage OptionCaption(int w, int h, const QString& caption)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(214, 170, 78), 1));
    p.setBrush(QColor(30, 50, 40, 220));
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 6, 6);
    DrawFittedText(p, QRectF(4, 4, w - 8, h - 8), caption, HeiFont(15), QColor(255, 236, 170));
    return image;
}

QImage Placeholder(int w, int h, int id)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(200, 200, 200));
    QPainter p(&image);
    p.setPen(QPen(QColor(170, 170, 170), 1));
    for (int d = -h; d < w; d += 6)
        p.drawLine(d, h, d + h, 0);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawRect(0, 0, w - 1, h - 1);
    DrawFittedText(p, QRectF(4, h * 0.3, w - 8, h * 0.4), QString::number(id), HeiFont(h * 0.4), QColor(90, 90, 90));
    return image;
}

std::vector<Frame> Still(QImage image) { return {{std::move(image), 0}}; }

} // namespace

std::vector<Frame> PaintArt(const Art& a)
{
    switch (a.role) {
    case Role::MainButton: return Still(CaptionButton(a.w, a.h, a.caption, a.param, kRedBase));
    case Role::DialogButton: return Still(CaptionButton(a.w, a.h, a.caption, a.param, kGreenBase));
    case Role::ToggleCaption: {
        static const QColor bases[] = {kRedBase, kGreenBase, kBlueBase, kPurpleBase};
        return Still(CaptionButton(a.w, a.h, a.caption, 0, bases[a.param % 4]));
    }
    case Role::Compass: return Still(Compass(a.w, a.h, a.param));
    case Role::ClaimButton: return Still(ClaimButton(a.w, a.h, a.caption, a.param));
    case Role::ReportButton:
        return Still(CaptionButton(a.w, a.h, a.caption, a.param == 2 ? 1 : 0,
                                   a.param == 0 ? QColor(140, 140, 140) : a.param == 1 ? kGoldBase : kRedBase));
    case Role::DieFace: return Still(DieFace(a.w, a.h, a.param));
    case Role::DieTumble: return Still(DieTumble(a.w, a.h, a.param));
    case Role::SmallDie: return Still(SmallDie(a.w, a.h, a.param));
    case Role::Avatar: return Still(Avatar(a.w, a.h, a.param));
    case Role::Tile: return Still(PaintTile(a.id - 201, a.w, a.h));
    case Role::Speech: return Still(Speech(a.w, a.h, a.param, a.caption));
    case Role::StreakAnimation: return StreakAnimation(a.w, a.h, a.caption, a.frames);
    case Role::StreakBackdrop: return Still(StreakBackdrop(a.w, a.h));
    case Role::Button: return Still(CaptionButton(a.w, a.h, a.caption, a.param, kGoldBase));
    case Role::Tab: return Still(Tab(a.w, a.h, a.param, QString()));
    case Role::CaptionTab: return Still(Tab(a.w, a.h, a.param, a.caption));
    case Role::RowBar: return Still(RowBar(a.w, a.h, a.param));
    case Role::CloseMark: return Still(CloseMark(a.w, a.h, a.param));
    case Role::Arrow: return Still(Arrow(a.w, a.h, a.param));
    case Role::FoldTab: return Still(FoldTab(a.w, a.h, a.param));
    case Role::Stamp: return Still(Stamp(a.w, a.h, a.caption, a.param));
    case Role::VipPanel: return Still(VipPanel(a.w, a.h, a.param));
    case Role::VipBadge: return Still(VipBadge(a.w, a.h, a.id));
    case Role::Goods: return Still(Goods(a.w, a.h, a.param, a.caption));
    case Role::Prize: return Still(Prize(a.w, a.h, a.param, a.caption));
    case Role::CigaretteIcon: return Still(CigaretteIcon(a.w, a.h, a.param));
    case Role::EmoticonButton: return Still(EmoticonButton(a.w, a.h, a.param));
    case Role::PhraseButton: return Still(PhraseButton(a.w, a.h, a.param));
    case Role::Emoticon: return Emoticon(a.w, a.h, a.param, a.frames);
    case Role::DigitSheet: return Still(DigitSheet(a.w, a.h, a.param));
    case Role::BannerSheet: return Still(BannerSheet(a.w, a.h));
    case Role::JadeSheet: return Still(JadeSheet(a.w, a.h));
    case Role::FrameSheet: return Still(FrameSheet(a.w, a.h));
    case Role::TableBackground: return Still(TableBackground(a.w, a.h));
    case Role::WindowSkin: return Still(WindowSkin(a.w, a.h));
    case Role::WindowButton: return Still(WindowButton(a.w, a.h, a.param));
    case Role::WindowIcon: return Still(WindowIcon(a.w, a.h, a.caption));
    case Role::ResultPanel: return Still(ResultPanel(a.w, a.h, a.param, a.caption));
    case Role::Pointer: return Still(Pointer(a.w, a.h));
    case Role::DialogPanel: return Still(DialogPanel(a.w, a.h, a.param, a.caption));
    case Role::MatchPanel: return Still(MatchPanel(a.w, a.h, a.param));
    case Role::OptionCaption: return Still(OptionCaption(a.w, a.h, a.caption));
    case Role::Placeholder: return Still(Placeholder(a.w, a.h, a.id));
    }
    throw std::logic_error("unknown role");
}

} // namespace resgen
