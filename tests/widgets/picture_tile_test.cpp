// The picture tile: its size and shape from the background picture, the
// text in its bottom-right corner, its font size, and pointer moves that
// reach it only where it shows.
#include "widgets/picture_tile.h"

#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using widgets::IPic;

namespace {

const QRgb kRed = qRgb(255, 0, 0); // see-through
const QRgb kBlue = qRgb(0, 0, 160);

// A blue picture whose left third is pure red.
platform::Picture Item(QSize size = QSize(48, 36))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBlue);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() / 3; ++x)
            image.setPixel(x, y, kRed);
    return platform::Picture{700, image};
}

// A window holding one tile, as the item bag holds its tiles.
struct Bag {
    QWidget window;
    IPic* tile = new IPic(&window, QStringLiteral("iPic1"));
    int moves = 0;

    Bag()
    {
        window.resize(200, 150);
        tile->move(40, 30);
        tile->resize(100, 100);
        tile->MouseMove = [this](int16_t, int16_t, float, float) { ++moves; };
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // A pointer move through the window system, at a point of the tile.
    void MoveOver(QPoint onTile)
    {
        QTest::mouseMove(window.windowHandle(), tile->mapTo(&window, onTile));
        QCoreApplication::processEvents();
    }
    QRgb At(int x, int y) const { return tile->SurfaceImage().pixel(x, y) & 0xFFFFFF; }
};

// Whether any pixel of the tile's right-hand columns from `fromX` is white.
bool WhiteFrom(const IPic& tile, int fromX)
{
    const QImage& s = tile.SurfaceImage();
    for (int y = 0; y < s.height(); ++y)
        for (int x = fromX; x < s.width(); ++x)
            if ((s.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                return true;
    return false;
}

} // namespace

TEST(PictureTile, ThePictureGivesTheTileItsSizeAndShape)
{
    Bag b;
    b.tile->SetBackPic(Item());
    EXPECT_EQ(b.tile->size(), QSize(48, 36));
    EXPECT_FALSE(b.tile->ShowsAt(QPoint(5, 10)));
    EXPECT_TRUE(b.tile->ShowsAt(QPoint(30, 10)));

    // The pointer reaches the tile only where it shows.
    b.MoveOver(QPoint(5, 10));
    EXPECT_EQ(b.moves, 0);
    b.MoveOver(QPoint(30, 10));
    EXPECT_EQ(b.moves, 1);
    b.tile->setEnabled(false);
    b.MoveOver(QPoint(32, 12));
    EXPECT_EQ(b.moves, 1);

    // A picture without pure red gives a rectangular tile; no picture keeps
    // the tile as it was.
    QImage plain(20, 10, QImage::Format_RGB32);
    plain.fill(kBlue);
    b.tile->SetBackPic(platform::Picture{701, plain});
    EXPECT_EQ(b.tile->size(), QSize(20, 10));
    EXPECT_TRUE(b.tile->ShowsAt(QPoint(0, 0)));
    EXPECT_TRUE(b.tile->ShowsAt(QPoint(19, 9)));
    b.tile->SetBackPic(platform::Picture{});
    EXPECT_EQ(b.tile->size(), QSize(20, 10));
    EXPECT_TRUE(b.tile->ShowsAt(QPoint(0, 0)));
}

TEST(PictureTile, TextEndsInTheBottomRightCornerAndBecomesPartOfTheShape)
{
    Bag b;
    b.tile->SetText(QStringLiteral("88"));
    b.tile->SetBackPic(Item());
    // Assigned after the text, the picture shows without it.
    EXPECT_FALSE(WhiteFrom(*b.tile, 0));

    b.tile->refresh();
    EXPECT_TRUE(WhiteFrom(*b.tile, 24));
    EXPECT_FALSE(WhiteFrom(*b.tile, 48)); // nothing beyond the right edge
    // The text's right end lies at the right edge, its bottom near the foot.
    int right = -1, bottom = -1;
    const QImage& s = b.tile->SurfaceImage();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if ((s.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) {
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    EXPECT_GE(right, 48 - 4);
    EXPECT_GE(bottom, 36 - 8);

    // A text wider than the tile is cut at its left edge and shows there,
    // over the see-through part, as part of the tile's shape.
    b.tile->SetText(QStringLiteral("12345678901234567890"));
    bool whiteInRedPart = false;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 16; ++x)
            if (b.At(x, y) == 0xFFFFFF) {
                whiteInRedPart = true;
                EXPECT_TRUE(b.tile->ShowsAt(QPoint(x, y)));
            }
    EXPECT_TRUE(whiteInRedPart);

    // No text again: the picture alone, and its shape.
    b.tile->SetText(QString());
    EXPECT_FALSE(WhiteFrom(*b.tile, 0));
    EXPECT_FALSE(b.tile->ShowsAt(QPoint(5, 10)));
}

TEST(PictureTile, TextOnATileWithoutAPictureClearsItAndKeepsTheLastShape)
{
    Bag b;
    // A fresh tile has no shape: nothing shows, whatever its text.
    b.tile->SetText(QStringLiteral("3"));
    EXPECT_FALSE(b.tile->ShowsAt(QPoint(50, 50)));

    b.tile->SetBackPic(Item());
    b.tile->SetText(QStringLiteral("5"));
    // Taking the picture away leaves the tile as it is...
    b.tile->SetBackPic(platform::Picture{});
    EXPECT_TRUE(b.tile->BackPic().isNull());
    EXPECT_TRUE(WhiteFrom(*b.tile, 24));
    // ...until the next repaint clears it, in the shape of the last mask.
    b.tile->SetText(QStringLiteral("6"));
    EXPECT_FALSE(WhiteFrom(*b.tile, 0));
    EXPECT_EQ(b.At(30, 10), 0xFF0000u);
    EXPECT_TRUE(b.tile->ShowsAt(QPoint(30, 10)));
    EXPECT_FALSE(b.tile->ShowsAt(QPoint(5, 10)));
}

TEST(PictureTile, FontSizeKeepsWithin8And12)
{
    IPic tile;
    for (const auto& [written, kept] : {std::pair{20, 12}, {13, 12}, {12, 12}, {10, 10}, {8, 8}, {5, 8}}) {
        tile.SetFontSize(static_cast<int16_t>(written));
        EXPECT_EQ(tile.FontSize(), kept) << written;
    }
}
