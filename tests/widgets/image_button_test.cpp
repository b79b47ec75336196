// The image button through real mouse events on the surface that holds it:
// its states and pictures, its caption, its see-through face and the
// properties its owners write.
#include "widgets/image_button.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using widgets::InodePic;

namespace {

// A picture of one colour whose top-left 4 x 4 corner is white, the
// see-through colour of the button.
platform::Picture Face(QRgb colour, int id, QSize size = QSize(60, 30))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, qRgb(255, 255, 255));
    return platform::Picture{id, image};
}

const QRgb kBlue = qRgb(0, 0, 200);
const QRgb kGreen = qRgb(0, 160, 0);
const QRgb kYellow = qRgb(230, 220, 0);
const QRgb kGrey = qRgb(120, 120, 120);

struct ButtonOnSurface {
    platform::GraphicSurface surface;
    InodePic button{QStringLiteral("ImgShowMatch")};
    std::vector<const char*> events;

    ButtonOnSurface()
    {
        surface.resize(200, 100);
        surface.Add(&button);
        button.Move(20, 10, 60, 30);
        button.MouseMove = [this](int16_t, int16_t, float, float) { events.push_back("MouseMove"); };
        button.MouseDown = [this](int16_t, int16_t, float, float) { events.push_back("MouseDown"); };
        button.MouseUp = [this](int16_t, int16_t, float, float) { events.push_back("MouseUp"); };
        button.ItemSelected = [this] { events.push_back("ItemSelected"); };
        surface.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&surface));
    }

    // The match panel's set-up: init, state 0, pictures by value, caption.
    void SetUp(bool hover, bool selected)
    {
        button.init();
        button.SetiState(0);
        button.SetMouseOriPic(Face(kBlue, 510));
        if (hover)
            button.SetMouseInPic(Face(kGreen, 511));
        if (selected)
            button.SetiSelectPic(Face(kYellow, 512));
        button.refresh();
        events.clear();
    }

    QPoint Centre() const { return QPoint(50, 25); }
    void MoveTo(QPoint at)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(surface.mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&surface, &e);
    }
    void Click(QPoint at)
    {
        QTest::mousePress(&surface, Qt::LeftButton, {}, at, 20);
        QTest::mouseRelease(&surface, Qt::LeftButton, {}, at, 20);
    }
    // The colour of the face at a pixel of the button.
    QRgb FaceAt(int x, int y) const { return button.SurfaceImage().pixel(x, y) & 0xFFFFFF; }
};

} // namespace

struct PointerCase {
    bool hover, selected;
    uint8_t afterMove, afterPress;
    QRgb faceAfterPress;
};

class ImageButtonPointer : public testing::TestWithParam<PointerCase> {};

TEST_P(ImageButtonPointer, MovesAndPressesChangeTheStateOnlyWhereAPictureWaits)
{
    const PointerCase& k = GetParam();
    ButtonOnSurface t;
    t.SetUp(k.hover, k.selected);
    EXPECT_EQ(t.FaceAt(30, 15), kBlue & 0xFFFFFF);

    t.MoveTo(t.Centre());
    EXPECT_EQ(t.button.iState(), k.afterMove);
    EXPECT_EQ(t.FaceAt(30, 15), (k.afterMove == 1 ? kGreen : kBlue) & 0xFFFFFF);

    for (int press = 0; press < 2; ++press)
        t.Click(t.Centre());
    EXPECT_EQ(t.button.iState(), k.afterPress);
    EXPECT_EQ(t.FaceAt(30, 15), k.faceAfterPress & 0xFFFFFF);
    // Each press raises MouseDown and then ItemSelected, changed or not.
    const std::vector<const char*> pressEvents = {"MouseMove", "MouseDown", "ItemSelected", "MouseUp",
                                                  "MouseDown", "ItemSelected", "MouseUp"};
    EXPECT_EQ(t.events, pressEvents);

    // Leaving (the window calls MouseOut) ends a hover, never a selection.
    t.button.MouseOut();
    t.MoveTo(t.Centre());
    t.button.MouseOut();
    EXPECT_EQ(t.button.iState(), k.afterPress == 2 ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(Pictures, ImageButtonPointer,
                         testing::Values(PointerCase{true, true, 1, 2, kYellow},   // every picture
                                         PointerCase{false, true, 0, 2, kYellow},  // no hover picture
                                         PointerCase{true, false, 1, 1, kGreen},   // no selected picture
                                         PointerCase{false, false, 0, 0, kBlue})); // normal picture only

TEST(ImageButton, SelectedStaysUntilTheStateIsWrittenBack)
{
    ButtonOnSurface t;
    t.SetUp(true, true);
    t.Click(t.Centre());
    ASSERT_EQ(t.button.iState(), 2);
    t.MoveTo(QPoint(150, 80)); // off the button
    t.button.MouseOut();
    t.MoveTo(t.Centre());
    EXPECT_EQ(t.button.iState(), 2);

    t.button.SetiState(0);
    EXPECT_EQ(t.FaceAt(30, 15), kBlue & 0xFFFFFF);
    t.MoveTo(t.Centre());
    EXPECT_EQ(t.button.iState(), 1);
    t.button.MouseOut();
    EXPECT_EQ(t.button.iState(), 0);
    EXPECT_EQ(t.FaceAt(30, 15), kBlue & 0xFFFFFF);
}

TEST(ImageButton, DisabledShowsItsDisabledPictureAndTakesNoPointerInput)
{
    ButtonOnSurface t;
    t.SetUp(true, true);
    t.button.SetiNotPic(Face(kGrey, 513));
    t.button.SetEnabled(false);
    EXPECT_EQ(t.FaceAt(30, 15), kGrey & 0xFFFFFF);
    t.MoveTo(t.Centre());
    t.Click(t.Centre());
    t.button.MouseIn();
    t.button.SelectItem();
    EXPECT_TRUE(t.events.empty());
    EXPECT_EQ(t.button.iState(), 0);

    // Enabling shows the picture of the state it kept.
    t.button.SetiState(1);
    t.button.SetEnabled(true);
    EXPECT_EQ(t.FaceAt(30, 15), kGreen & 0xFFFFFF);

    // Code that writes Enabled directly sees the change at the next paint.
    t.button.Enabled = false;
    t.surface.repaint();
    EXPECT_EQ(t.FaceAt(30, 15), kGrey & 0xFFFFFF);
}

TEST(ImageButton, DisabledWithoutADisabledPictureShowsTheCaptionInTheLastShape)
{
    ButtonOnSurface t;
    t.SetUp(false, false);
    t.button.SetiColor(0x000000);
    t.button.SetiCaption(QStringLiteral("MMMM"));
    t.button.SetEnabled(false);
    const QImage& face = t.button.SurfaceImage();
    bool ink = false;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x) {
            const QRgb c = face.pixel(x, y) & 0xFFFFFF;
            ink = ink || c != 0xFFFFFF;
            EXPECT_NE(c, kBlue & 0xFFFFFF) << x << "," << y;
        }
    EXPECT_TRUE(ink);
    // The shape is still that of the normal picture: its white corner stays
    // see-through.
    EXPECT_FALSE(t.button.ShowsAt(1, 1));
    EXPECT_TRUE(t.button.ShowsAt(30, 15));
}

TEST(ImageButton, WhitePixelsOfTheFaceAreSeeThrough)
{
    ButtonOnSurface t;
    QImage red(t.surface.size(), QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    t.surface.BackPicture = platform::Picture{0, red};
    t.SetUp(false, false);
    EXPECT_FALSE(t.button.ShowsAt(0, 0));
    EXPECT_FALSE(t.button.ShowsAt(3, 3));
    EXPECT_TRUE(t.button.ShowsAt(4, 4));
    // On the window: the surface under the corner, the face beside it.
    const QImage shot = t.surface.grab().toImage();
    EXPECT_EQ(shot.pixel(20 + 30, 10 + 15) & 0xFFFFFF, kBlue & 0xFFFFFF);
    EXPECT_EQ(shot.pixel(20 + 1, 10 + 1) & 0xFFFFFF, 0xFF0000u);
}

// The columns of a face that hold caption ink (black on blue).
std::pair<int, int> InkColumns(const QImage& face)
{
    int first = -1, last = -1;
    for (int x = 0; x < face.width(); ++x)
        for (int y = 0; y < face.height(); ++y)
            if (qBlue(face.pixel(x, y)) < 100) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST(ImageButton, CaptionIsCentredOrStartsAtTheLeftEdgeAndNeedsAFontName)
{
    ButtonOnSurface t;
    t.button.Move(20, 10, 120, 30);
    t.SetUp(false, false);
    t.button.SetMouseOriPic(Face(kBlue, 510, QSize(120, 30)));
    t.button.SetiCaption(QStringLiteral("ab"));
    const auto [first, last] = InkColumns(t.button.SurfaceImage());
    ASSERT_GE(first, 0);
    EXPECT_NEAR(first, 120 - 1 - last, 3); // style 1 after init: centred

    ASSERT_TRUE(t.button.Setistyle(QStringLiteral("0")));
    t.button.refresh();
    EXPECT_LE(InkColumns(t.button.SurfaceImage()).first, 2);

    // With no font name, as the window's layout leaves it, nothing is printed.
    InodePic fresh;
    fresh.Move(0, 0, 120, 30);
    EXPECT_EQ(fresh.iCaption(), QStringLiteral("1"));
    EXPECT_EQ(fresh.iColor(), 0xFFFFFF);
    EXPECT_EQ(fresh.iFontSize(), 10);
    fresh.SetMouseOriPic(Face(kBlue, 510, QSize(120, 30)));
    fresh.SetiColor(0);
    fresh.refresh();
    EXPECT_EQ(InkColumns(fresh.SurfaceImage()).first, -1);
}

TEST(ImageButton, StyleTakesWholeNumbersFrom0To255)
{
    InodePic b;
    const struct {
        const char* text;
        bool taken;
        const char* style;
    } cases[] = {{"1", true, "1"},    {"255", true, "255"}, {" 7 ", true, "7"}, {"256", false, "7"},
                 {"-1", false, "7"},  {"abc", false, "7"},  {"", false, "7"},   {"0", true, "0"}};
    for (const auto& k : cases) {
        EXPECT_EQ(b.Setistyle(QString::fromUtf8(k.text)), k.taken) << k.text;
        EXPECT_EQ(b.istyle(), QString::fromUtf8(k.style)) << k.text;
    }
}

TEST(ImageButton, NormalPictureByValuePaintsAtOnceAndByReferenceSizesTheButton)
{
    ButtonOnSurface t;
    t.SetUp(true, false);
    t.MoveTo(t.Centre());
    ASSERT_EQ(t.FaceAt(30, 15), kGreen & 0xFFFFFF);

    t.button.SetMouseOriPic(Face(kYellow, 520));
    EXPECT_EQ(t.FaceAt(30, 15), kYellow & 0xFFFFFF);
    EXPECT_EQ(t.button.iState(), 1);
    t.button.refresh();
    EXPECT_EQ(t.FaceAt(30, 15), kGreen & 0xFFFFFF);

    t.button.SetMouseOriPicRef(Face(kBlue, 521, QSize(90, 40)));
    EXPECT_EQ(t.button.Width, 90);
    EXPECT_EQ(t.button.Height, 40);
    EXPECT_EQ(t.FaceAt(80, 35), kBlue & 0xFFFFFF);

    // No picture stores none and paints nothing.
    t.button.SetMouseOriPic(platform::Picture{});
    EXPECT_TRUE(t.button.MouseOriPic().isNull());
    EXPECT_EQ(t.FaceAt(80, 35), kBlue & 0xFFFFFF);
}
