#include "platform/controls.h"

#include <QApplication>
#include <QImage>
#include <QSize>
#include <QMouseEvent>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace platform;

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                  Qt::ShiftModifier);
    QApplication::sendEvent(w, &e);
}

Picture Solid(int w, int h, QColor color)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(color);
    return {500, img};
}

} // namespace

TEST(Controls, MouseGoesToTheTopmostVisibleEnabledControl)
{
    GraphicSurface surface;
    surface.resize(200, 200);
    ControlArray<Image> tiles(&surface, QStringLiteral("MJ_Image"), 3);
    for (int i = 0; i < 3; ++i)
        tiles[i].Move(10.0f * i, 10, 50, 50);

    std::vector<std::string> log;
    for (int i = 0; i < 3; ++i) {
        tiles[i].MouseDown = [&, i](int16_t button, int16_t shift, float x, float y) {
            log.push_back("MJ_Image_MouseDown(" + std::to_string(i) + "," + std::to_string(button) + "," +
                          std::to_string(shift) + "," + std::to_string(int(x)) + "," + std::to_string(int(y)) + ")");
        };
        tiles[i].Click = [&, i] { log.push_back("MJ_Image_Click(" + std::to_string(i) + ")"); };
    }

    SendMouse(&surface, QEvent::MouseButtonPress, {25, 20});
    SendMouse(&surface, QEvent::MouseButtonRelease, {25, 20});
    // Image 2 lies on top (added last) and starts at x = 20.
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "MJ_Image_MouseDown(2,1,1,5,10)");
    EXPECT_EQ(log[1], "MJ_Image_Click(2)");

    // Brought to the front, image 0 takes the event; hidden or disabled
    // controls are passed over.
    log.clear();
    tiles[0].ZOrder(0);
    SendMouse(&surface, QEvent::MouseButtonPress, {25, 20});
    EXPECT_EQ(log.front().substr(0, 20), "MJ_Image_MouseDown(0");
    log.clear();
    tiles[0].SetVisible(false);
    tiles[2].Enabled = false;
    SendMouse(&surface, QEvent::MouseButtonPress, {25, 20});
    EXPECT_EQ(log.front().substr(0, 20), "MJ_Image_MouseDown(1");

    // Sent to the back, a control loses to the others.
    EXPECT_EQ(surface.ControlAt(25, 20), &tiles[1]);
    tiles[1].ZOrder(1);
    tiles[2].Enabled = true;
    EXPECT_EQ(surface.ControlAt(25, 20), &tiles[2]);
    EXPECT_EQ(surface.ControlAt(150, 150), nullptr);
}

TEST(Controls, ClickNeedsTheReleaseOverTheControl)
{
    GraphicSurface surface;
    Image button(QStringLiteral("AnNiu"), 0);
    surface.Add(&button);
    button.Move(0, 0, 20, 20);
    int clicks = 0;
    button.Click = [&] { ++clicks; };
    SendMouse(&surface, QEvent::MouseButtonPress, {5, 5});
    SendMouse(&surface, QEvent::MouseButtonRelease, {50, 50});
    EXPECT_EQ(clicks, 0);
    SendMouse(&surface, QEvent::MouseButtonPress, {5, 5});
    SendMouse(&surface, QEvent::MouseButtonRelease, {6, 6});
    EXPECT_EQ(clicks, 1);
}

TEST(Controls, LoadCopiesElementZeroHidden)
{
    GraphicSurface surface;
    ControlArray<Label> labels(&surface, QStringLiteral("lbfont"), 1);
    labels[0].Move(3, 4, 30, 12);
    labels[0].Caption = QStringLiteral("x2");
    labels[0].FontSize = 16;
    labels[0].Tag = QStringLiteral("t");
    labels.Load(3);
    EXPECT_EQ(labels.UBound(), 3);
    EXPECT_TRUE(labels.Exists(3));
    EXPECT_FALSE(labels.Exists(2));
    EXPECT_FALSE(labels[3].Visible);
    EXPECT_EQ(labels[3].Index, 3);
    EXPECT_EQ(labels[3].Caption, QStringLiteral("x2"));
    EXPECT_EQ(labels[3].FontSize, 16);
    EXPECT_EQ(labels[3].Width, 30);
    EXPECT_EQ(surface.ZOrderList().back(), &labels[3]);
}

TEST(Controls, ImageSizesToItsPictureUnlessStretched)
{
    Image plain;
    plain.Move(0, 0, 10, 10);
    plain.SetPicture(Solid(50, 58, Qt::white));
    EXPECT_EQ(plain.Width, 50);
    EXPECT_EQ(plain.Height, 58);
    EXPECT_EQ(plain.PictureId(), 500);

    Image stretched;
    stretched.Stretch = true;
    stretched.Move(0, 0, 36, 50);
    stretched.SetPicture(Solid(50, 58, Qt::white));
    EXPECT_EQ(stretched.Width, 36);
    EXPECT_EQ(stretched.Height, 50);
}

TEST(Controls, APictureSourceIsMadeOnceWhenFirstNeededAndSizesTheImageAtOnce)
{
    GraphicSurface surface;
    surface.resize(80, 80);
    Image image;
    surface.Add(&image);
    int made = 0;
    image.SetPictureSource(QSize(30, 20), [&made] {
        ++made;
        return Solid(30, 20, Qt::green);
    });
    // Sized as the picture will be, nothing drawn yet, not even when hidden and painted.
    EXPECT_EQ(image.Width, 30);
    EXPECT_EQ(image.Height, 20);
    image.SetVisible(false);
    surface.grab();
    EXPECT_EQ(made, 0);
    // Shown: painted with the picture, made once.
    image.SetVisible(true);
    QImage shot = surface.grab().toImage();
    EXPECT_EQ(shot.pixelColor(29, 19), QColor(Qt::green));
    surface.grab();
    EXPECT_EQ(image.PictureId(), 500);
    EXPECT_EQ(made, 1);
}

TEST(Controls, APictureSourceStillToBeMadeGivesWayOrIsCopied)
{
    int made = 0;
    auto source = [&made] {
        ++made;
        return Solid(12, 14, Qt::yellow);
    };
    // A picture set before the source was used replaces it for good.
    Image replaced;
    replaced.SetPictureSource(QSize(12, 14), source);
    replaced.SetPicture(Solid(5, 6, Qt::red));
    EXPECT_EQ(replaced.GetPicture().image.size(), QSize(5, 6));
    EXPECT_EQ(replaced.Width, 5);
    EXPECT_EQ(made, 0);
    // A stretched image keeps its own size; a copy gets the made picture.
    Image stretched;
    stretched.Stretch = true;
    stretched.Move(0, 0, 40, 40);
    stretched.SetPictureSource(QSize(12, 14), source);
    EXPECT_EQ(stretched.Width, 40);
    Image copy;
    copy.CopyFrom(stretched);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(copy.GetPicture().image.pixelColor(0, 0), QColor(Qt::yellow));
    EXPECT_EQ(stretched.GetPicture().image.size(), QSize(12, 14));
    EXPECT_EQ(made, 1);
}

TEST(Controls, SurfacePaintsInZOrder)
{
    GraphicSurface surface;
    surface.resize(40, 40);
    Image red, blue;
    red.Stretch = blue.Stretch = true;
    surface.Add(&red);
    surface.Add(&blue);
    red.Move(0, 0, 20, 20);
    blue.Move(10, 10, 20, 20);
    red.SetPicture(Solid(4, 4, Qt::red));
    blue.SetPicture(Solid(4, 4, Qt::blue));
    QImage shot = surface.grab().toImage();
    EXPECT_EQ(shot.pixelColor(15, 15), QColor(Qt::blue));
    red.ZOrder(0);
    shot = surface.grab().toImage();
    EXPECT_EQ(shot.pixelColor(15, 15), QColor(Qt::red));
    red.SetVisible(false);
    shot = surface.grab().toImage();
    EXPECT_EQ(shot.pixelColor(15, 15), QColor(Qt::blue));
    EXPECT_EQ(ColorFromBgr(0x0000FF), QColor(Qt::red));
}

TEST(Controls, ControlsLeaveTheirSurfaceWhenDestroyed)
{
    GraphicSurface surface;
    {
        Image temporary;
        surface.Add(&temporary);
        EXPECT_EQ(surface.ZOrderList().size(), 1u);
    }
    EXPECT_TRUE(surface.ZOrderList().empty());
}

// Long runs of z-order changes, removals and additions, checked against a
// plain list after every step: the list as read through a reference taken
// at the start, and the control a click at a spot every control covers
// reaches.
TEST(Controls, ZOrderChangesKeepTheOrderOfAPlainList)
{
    GraphicSurface surface;
    const ZOrderView& order = surface.ZOrderList();
    std::vector<std::unique_ptr<Image>> images;
    for (int i = 0; i < 12; ++i) {
        images.push_back(std::make_unique<Image>(QStringLiteral("MJ_Image"), i));
        images.back()->Move(0, 0, 10, 10);
    }
    std::vector<GraphicControl*> expected;
    for (auto& image : images) {
        surface.Add(image.get());
        expected.push_back(image.get());
    }
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int step = 0; step < 4000; ++step) {
        Image* image = images[next(12)].get();
        const bool on = image->Surface() == &surface;
        const auto at = std::find(expected.begin(), expected.end(), image);
        switch (next(8)) {
        case 0: // leaves the surface, or comes back on top
            if (on) {
                surface.Remove(image);
                expected.erase(at);
            } else {
                surface.Add(image);
                expected.push_back(image);
            }
            break;
        case 1: case 2: case 3:
            image->ZOrder(0);
            if (on) {
                expected.erase(at);
                expected.push_back(image);
            }
            break;
        default:
            image->ZOrder(1);
            if (on) {
                expected.erase(at);
                expected.insert(expected.begin(), image);
            }
            break;
        }
        ASSERT_EQ(std::vector<GraphicControl*>(order.begin(), order.end()), expected) << "step " << step;
        ASSERT_EQ(surface.ControlAt(5, 5), expected.empty() ? nullptr : expected.back()) << "step " << step;
    }
}
