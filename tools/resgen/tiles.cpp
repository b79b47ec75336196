// Mahjong tiles: an ivory face on a coloured back, drawn as vector art so
// that every view and size comes from the same faces.
#include "tiles.h"

#include "paint_util.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace resgen {

namespace {

const QColor kIvoryLight(252, 248, 234);
const QColor kIvory(241, 232, 205);
const QColor kIvorySide(222, 207, 168);
const QColor kEdge(150, 128, 86);
const QColor kBack(22, 128, 92);
const QColor kBackDark(12, 84, 58);
const QColor kBackLight(70, 178, 132);
const QColor kRed(200, 20, 38);
const QColor kGreen(14, 122, 60);
const QColor kBlue(28, 74, 160);
const QColor kInk(24, 28, 40);

// ---- faces, drawn upright in a 100 x 140 box ------------------------------

void Dot(QPainter& p, double cx, double cy, double r, QColor c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(cx, cy), r, r);
    p.setBrush(kIvoryLight);
    p.drawEllipse(QPointF(cx, cy), r * 0.68, r * 0.68);
    p.setBrush(c);
    p.drawEllipse(QPointF(cx, cy), r * 0.46, r * 0.46);
    p.setBrush(kIvoryLight);
    p.drawEllipse(QPointF(cx, cy), r * 0.16, r * 0.16);
}

void OneDot(QPainter& p)
{
    const QPointF c(50, 70);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(c, 40, 40);
    p.setBrush(kIvoryLight);
    p.drawEllipse(c, 34, 34);
    // A ring of petals around a red heart.
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 30);
        p.setBrush(i % 2 ? kBlue : kGreen);
        p.drawEllipse(QPointF(0, -24), 5.5, 8.5);
        p.restore();
    }
    p.setBrush(kRed);
    p.drawEllipse(c, 15, 15);
    p.setBrush(kIvoryLight);
    p.drawEllipse(c, 9, 9);
    p.setBrush(kRed);
    p.drawEllipse(c, 5, 5);
}

void Dots(QPainter& p, int rank)
{
    struct D {
        double x, y;
        QColor c;
    };
    std::vector<D> d;
    double r = 16;
    switch (rank) {
    case 1: OneDot(p); return;
    case 2: r = 21; d = {{50, 38, kBlue}, {50, 102, kGreen}}; break;
    case 3: r = 18; d = {{24, 28, kBlue}, {50, 70, kRed}, {76, 112, kGreen}}; break;
    case 4: r = 19; d = {{28, 36, kBlue}, {72, 36, kGreen}, {28, 104, kGreen}, {72, 104, kBlue}}; break;
    case 5:
        r = 16;
        d = {{26, 30, kBlue}, {74, 30, kGreen}, {50, 70, kRed}, {26, 110, kGreen}, {74, 110, kBlue}};
        break;
    case 6:
        r = 15;
        d = {{30, 24, kGreen}, {70, 24, kGreen}, {30, 78, kRed}, {70, 78, kRed}, {30, 114, kRed}, {70, 114, kRed}};
        break;
    case 7:
        r = 13;
        d = {{22, 18, kGreen}, {50, 33, kGreen}, {78, 48, kGreen}, {30, 86, kRed},
             {70, 86, kRed},   {30, 118, kRed},  {70, 118, kRed}};
        break;
    case 8:
        r = 14;
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 2; ++col)
                d.push_back({30.0 + 40 * col, 21.0 + 32.7 * row, kBlue});
        break;
    default:
        r = 13.5;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                d.push_back({21.0 + 29 * col, 28.0 + 42 * row, row == 0 ? kBlue : row == 1 ? kRed : kGreen});
        break;
    }
    for (const D& x : d)
        Dot(p, x.x, x.y, r, x.c);
}

// One bamboo stick centred on (cx, cy), len long, turned by angle degrees.
void Stick(QPainter& p, double cx, double cy, double len, QColor c, double angle = 0)
{
    const double w = 11;
    p.save();
    p.translate(cx, cy);
    p.rotate(angle);
    QLinearGradient g(-w / 2, 0, w / 2, 0);
    g.setColorAt(0, Shade(c, 0.7));
    g.setColorAt(0.45, Shade(c, 1.35));
    g.setColorAt(1, Shade(c, 0.75));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(-w / 2, -len / 2, w, len), 4, 4);
    // Joints at both ends and in the middle.
    p.setBrush(Shade(c, 0.55));
    for (double y : {-len / 2 + 3.5, 0.0, len / 2 - 3.5})
        p.drawRoundedRect(QRectF(-w / 2 - 1, y - 2, w + 2, 4), 2, 2);
    p.setPen(QPen(Shade(c, 1.6), 1.2));
    p.drawLine(QPointF(0, -len / 2 + 7), QPointF(0, -3));
    p.drawLine(QPointF(0, 3), QPointF(0, len / 2 - 7));
    p.restore();
}

void Bird(QPainter& p)
{
    p.setPen(Qt::NoPen);
    // Tail feathers with eyes at their tips.
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(40, 96);
        p.rotate(18 + i * 20);
        p.setBrush(kGreen);
        p.drawEllipse(QRectF(-5, 0, 10, 34));
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(0, 30), 5.5, 5.5);
        p.setBrush(kRed);
        p.drawEllipse(QPointF(0, 30), 2.5, 2.5);
        p.restore();
    }
    // Body and wing.
    QLinearGradient body(30, 50, 70, 110);
    body.setColorAt(0, Shade(kGreen, 1.4));
    body.setColorAt(1, Shade(kGreen, 0.8));
    p.setBrush(body);
    p.drawEllipse(QPointF(50, 80), 22, 28);
    p.save();
    p.translate(44, 84);
    p.rotate(-25);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(0, 0), 10, 19);
    p.setBrush(Shade(kBlue, 1.5));
    p.drawEllipse(QPointF(0, -4), 5, 10);
    p.restore();
    // Head, crest, eye and beak.
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(62, 44), 13, 13);
    p.setBrush(kRed);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(56 + i * 6, 28 - (i == 1 ? 3 : 0)), 3, 5);
    p.setBrush(kIvoryLight);
    p.drawEllipse(QPointF(66, 42), 4, 4);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(67, 42), 2, 2);
    QPainterPath beak;
    beak.moveTo(73, 42);
    beak.lineTo(88, 48);
    beak.lineTo(73, 51);
    beak.closeSubpath();
    p.setBrush(kRed);
    p.drawPath(beak);
    // Legs.
    p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(46, 106), QPointF(42, 124));
    p.drawLine(QPointF(56, 106), QPointF(60, 124));
    p.drawLine(QPointF(36, 124), QPointF(48, 124));
    p.drawLine(QPointF(54, 124), QPointF(66, 124));
}

void Bamboo(QPainter& p, int rank)
{
    switch (rank) {
    case 1: Bird(p); return;
    case 2:
        Stick(p, 50, 38, 52, kGreen);
        Stick(p, 50, 102, 52, kGreen);
        return;
    case 3:
        Stick(p, 50, 38, 52, kGreen);
        Stick(p, 30, 102, 52, kGreen);
        Stick(p, 70, 102, 52, kGreen);
        return;
    case 4:
        for (double x : {32.0, 68.0})
            for (double y : {38.0, 102.0})
                Stick(p, x, y, 52, x < 50 ? kGreen : kBlue);
        return;
    case 5:
        for (double x : {24.0, 76.0})
            for (double y : {38.0, 102.0})
                Stick(p, x, y, 52, kGreen);
        Stick(p, 50, 70, 52, kRed);
        return;
    case 6:
        for (double x : {22.0, 50.0, 78.0})
            for (double y : {38.0, 102.0})
                Stick(p, x, y, 52, kGreen);
        return;
    case 7:
        Stick(p, 50, 24, 38, kRed);
        for (double x : {22.0, 50.0, 78.0})
            for (double y : {70.0, 114.0})
                Stick(p, x, y, 38, kGreen);
        return;
    case 8:
        // An M over a W: outer sticks upright, inner ones leaning together.
        Stick(p, 17, 38, 50, kGreen);
        Stick(p, 83, 38, 50, kGreen);
        Stick(p, 38, 38, 50, kGreen, 22);
        Stick(p, 62, 38, 50, kGreen, -22);
        Stick(p, 17, 102, 50, kGreen);
        Stick(p, 83, 102, 50, kGreen);
        Stick(p, 38, 102, 50, kGreen, -22);
        Stick(p, 62, 102, 50, kGreen, 22);
        return;
    default:
        for (double x : {22.0, 50.0, 78.0})
            for (double y : {24.0, 70.0, 116.0})
                Stick(p, x, y, 38, x == 50.0 ? kRed : kGreen);
        return;
    }
}

void Characters(QPainter& p, int rank)
{
    static const char16_t numerals[] = u"一二三四五六七八九";
    const QString numeral{QChar(numerals[rank - 1])};
    DrawFittedText(p, QRectF(12, 8, 76, rank == 1 ? 40 : 56), numeral, KaiFont(90), kInk);
    DrawFittedText(p, QRectF(10, 70, 80, 64), QStringLiteral("萬"), KaiFont(90), kRed);
}

void Honour(QPainter& p, int rank)
{
    static const char16_t glyphs[] = u"東南西北中發";
    if (rank == 7) {
        // White dragon: an empty blue frame.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kBlue, 6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawRect(QRectF(20, 24, 60, 92));
        p.setPen(QPen(kBlue, 2));
        p.drawRect(QRectF(29, 33, 42, 74));
        return;
    }
    const QColor colour = rank == 5 ? kRed : rank == 6 ? kGreen : kInk;
    DrawFittedText(p, QRectF(10, 14, 80, 112), QString(QChar(glyphs[rank - 1])), KaiFont(110), colour,
                   Shade(colour, 0.8), 1.5);
}

void Face(QPainter& p, int suitIndex, int rank)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (suitIndex) {
    case 0: Honour(p, rank); break;
    case 1: Bamboo(p, rank); break;
    case 2: Characters(p, rank); break;
    default: Dots(p, rank); break;
    }
}

// Draws the upright face into `target`, turned by `degrees` (clockwise).
void FaceInto(QPainter& p, const QRectF& target, int degrees, int suitIndex, int rank)
{
    const bool sideways = degrees % 180 != 0;
    p.save();
    p.translate(target.center());
    p.scale(target.width() / (sideways ? 140.0 : 100.0), target.height() / (sideways ? 100.0 : 140.0));
    p.rotate(degrees);
    p.translate(-50, -70);
    Face(p, suitIndex, rank);
    p.restore();
}

// ---- bodies ---------------------------------------------------------------

void IvoryTop(QPainter& p, const QRectF& r, double radius)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, kIvoryLight);
    g.setColorAt(1, kIvory);
    p.setPen(QPen(kEdge, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void BackTop(QPainter& p, const QRectF& r, double radius)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, kBackLight);
    g.setColorAt(0.35, kBack);
    g.setColorAt(1, kBackDark);
    p.setPen(QPen(kBackDark.darker(130), 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// A tile lying on the table, seen from the local seat: its top surface and,
// below it, the near edge showing both layers.
void Lying(QPainter& p, int w, int h, bool faceUp, int degrees, int suitIndex, int rank)
{
    const double t = std::round(h * 0.17);
    const double radius = qMax(2.0, w * 0.09);
    const QRectF body(0, 0, w, h);
    p.setPen(Qt::NoPen);
    // Lower layer first, then the upper layer's part of the edge.
    p.setBrush(faceUp ? kBackDark : kIvorySide);
    p.drawRoundedRect(body, radius, radius);
    p.setBrush(faceUp ? kIvorySide : kBack);
    p.drawRoundedRect(QRectF(0, 0, w, h - t * 0.45), radius, radius);
    const QRectF top(0, 0, w, h - t);
    if (faceUp) {
        IvoryTop(p, top, radius);
        const double inset = qMax(2.0, w * 0.07);
        FaceInto(p, top.adjusted(inset, inset * 0.8, -inset, -inset * 0.8), degrees, suitIndex, rank);
    } else {
        BackTop(p, top, radius);
    }
}

// A hand tile standing upright with its face to the local player.
void StandingFace(QPainter& p, int w, int h, int suitIndex, int rank)
{
    const double radius = qMax(2.0, w * 0.1);
    const double band = std::round(h * 0.07);
    p.setPen(Qt::NoPen);
    BackTop(p, QRectF(0, 0, w, band * 2 + radius), radius);
    const QRectF face(0, band, w, h - band);
    IvoryTop(p, face, radius);
    FaceInto(p, face.adjusted(w * 0.08, h * 0.05, -w * 0.08, -h * 0.05), 0, suitIndex, rank);
}

// A standing tile seen from behind: its coloured back and its top edge.
void StandingBack(QPainter& p, int w, int h)
{
    const double radius = qMax(2.0, w * 0.1);
    const double cap = std::round(h * 0.09);
    p.setPen(Qt::NoPen);
    p.setBrush(kIvorySide);
    p.drawRoundedRect(QRectF(0, 0, w, cap * 2 + radius), radius, radius);
    BackTop(p, QRectF(0, cap, w, h - cap), radius);
}

// A standing tile seen from its side: the ivory face layer towards its
// owner, the coloured back towards the middle of the table.
void StandingSide(QPainter& p, int w, int h, bool ownerOnLeft)
{
    const double radius = qMax(2.0, w * 0.14);
    const double cap = std::round(h * 0.1);
    const double ivoryWidth = std::round(w * 0.42);
    p.setPen(Qt::NoPen);
    BackTop(p, QRectF(0, 0, w, h), radius);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kIvoryLight);
    g.setColorAt(1, kIvorySide);
    p.setBrush(g);
    const QRectF ivory = ownerOnLeft ? QRectF(0, 0, ivoryWidth + radius, h) : QRectF(w - ivoryWidth - radius, 0, ivoryWidth + radius, h);
    p.save();
    p.setClipRect(ownerOnLeft ? QRectF(0, 0, ivoryWidth, h) : QRectF(w - ivoryWidth, 0, ivoryWidth, h));
    p.setPen(QPen(kEdge, 1));
    p.drawRoundedRect(ivory.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
    // The top edge, lit from above.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawRoundedRect(QRectF(1, 1, w - 2, cap), radius * 0.6, radius * 0.6);
}

} // namespace

QImage PaintTile(int index, int w, int h)
{
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int view = index / 36;
    const int offset = index % 36;
    const int suitIndex = offset / 9;
    const int rank = offset % 9 + 1;
    static const int turn[] = {0, 90, 180, -90};
    if (offset == 7) {
        if (view == 1 || view == 3)
            StandingSide(p, w, h, view == 1);
        else
            StandingBack(p, w, h);
    } else if (offset == 8) {
        Lying(p, w, h, false, 0, 0, 0);
    } else if (view == 4) {
        StandingFace(p, w, h, suitIndex, rank);
    } else {
        Lying(p, w, h, true, turn[view], suitIndex, rank);
    }
    return image;
}

} // namespace resgen
