// The picture store, the id tables and the loader.
#include "window/table_design.h"
#include "support/test_client.h"
#include "window/pictures.h"

#include "platform/resources.h"

#include <QBuffer>
#include <QImageReader>
#include <QStringList>
#include <gtest/gtest.h>
#include <set>

namespace {

using testing_support::TestClient;

// A control with a Picture property that counts assignments.
class FakeImage : public platform::HasPicture {
public:
    void SetPicture(const platform::Picture& p) override
    {
        picture = p;
        ++assignments;
    }
    const platform::Picture& GetPicture() const override { return picture; }
    platform::Picture picture;
    int assignments = 0;
};

// The numbers of the store, as the program's picture list gives them.
std::set<int> StoreIds()
{
    const QString ranges = QStringLiteral(
        "101-120, 123-137, 141-158, 161-176, 191-398, 401-410, 416-425, 430-456, 476-477, 510-515, 520, "
        "522-540, 542-544, 550-554, 560-565, 567-571, 576-582, 600-605, 640-685, 765-777, 780-786, 801-805, "
        "830-831, 850-853, 855-886, 900-923");
    std::set<int> ids;
    for (const QString& part : ranges.split(QLatin1Char(','))) {
        const QStringList ends = part.trimmed().split(QLatin1Char('-'));
        const int first = ends.front().toInt();
        const int last = ends.back().toInt();
        for (int id = first; id <= last; ++id)
            ids.insert(id);
    }
    return ids;
}

QSize LoadedSize(int id)
{
    FakeImage image;
    if (!window::LoadGifResource(id, QStringLiteral("GIF"), image))
        return {};
    return image.picture.image.size();
}

int FrameCount(int id)
{
    std::optional<QByteArray> bytes = platform::LoadResData(id, QStringLiteral("GIF"));
    if (!bytes)
        return 0;
    QBuffer buffer(&*bytes);
    QImageReader reader(&buffer);
    return reader.imageCount();
}

TEST(PictureStore, HoldsTheListedNumbersAndLoadsEachOfThem)
{
    const std::set<int> ids = StoreIds();
    ASSERT_EQ(ids.size(), 517u);
    for (int id = 100; id <= 930; ++id) {
        FakeImage image;
        const bool loaded = window::LoadGifResource(id, QStringLiteral("GIF"), image);
        EXPECT_EQ(loaded, ids.count(id) == 1) << "resource " << id;
        if (loaded) {
            EXPECT_EQ(image.picture.resourceId, id);
            EXPECT_FALSE(image.picture.image.isNull());
        }
    }
}

TEST(PictureStore, KeepsGifJpegAndPngDataUnderTheOneTypeName)
{
    const std::set<int> jpeg = {577, 578, 581, 582, 777};
    const std::set<int> png = {801, 802, 803, 804, 805};
    for (int id : StoreIds()) {
        const std::optional<QByteArray> bytes = platform::LoadResData(id, QStringLiteral("GIF"));
        ASSERT_TRUE(bytes) << id;
        if (jpeg.count(id))
            EXPECT_TRUE(bytes->startsWith("\xFF\xD8\xFF")) << id;
        else if (png.count(id))
            EXPECT_TRUE(bytes->startsWith("\x89PNG")) << id;
        else
            EXPECT_TRUE(bytes->startsWith("GIF89a")) << id;
    }
}

TEST(PictureStore, EmoticonsAreAnimationsOfFiveToFortyThreeFrames)
{
    int fewest = 1000, most = 0;
    for (int id = 668; id <= 685; ++id) {
        const int frames = FrameCount(id);
        EXPECT_GE(frames, 5) << id;
        EXPECT_LE(frames, 43) << id;
        fewest = std::min(fewest, frames);
        most = std::max(most, frames);
    }
    EXPECT_EQ(fewest, 5);
    EXPECT_EQ(most, 43);
    EXPECT_GT(FrameCount(476), 1) << "the wild-streak animation";
    EXPECT_EQ(FrameCount(477), 1);
}

// Sizes the table window's pictures must have, by run of resource numbers.
struct SizeCase {
    int first;
    int last;
    int w;
    int h;
    const char* what;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.first << "-" << c.last << " " << c.what; }

class PictureSizes : public testing::TestWithParam<SizeCase> {};

TEST_P(PictureSizes, EachPictureOfTheRunHasItsSize)
{
    const SizeCase c = GetParam();
    for (int id = c.first; id <= c.last; ++id)
        EXPECT_EQ(LoadedSize(id), QSize(c.w, c.h)) << c.what << ", resource " << id;
}

// Tile picture index i of view v is resource 201 + 36 v + i; 0-6 and 9-35
// are faces, 7 the standing back and 8 the face-down back.
constexpr int Tile(int view, int index) { return 201 + 36 * view + index; }

INSTANTIATE_TEST_SUITE_P(
    TableWindow, PictureSizes,
    testing::Values(SizeCase{101, 102, 48, 30, "send button"}, SizeCase{103, 120, 55, 31, "main buttons"},
                    SizeCase{381, 398, 43, 24, "small main buttons"}, SizeCase{126, 129, 77, 77, "compass"},
                    SizeCase{130, 133, 70, 29, "dialog buttons"}, SizeCase{134, 137, 64, 26, "toggle captions"},
                    SizeCase{141, 142, 50, 69, "chow idle, offered"}, SizeCase{143, 143, 50, 71, "chow highlighted"},
                    SizeCase{144, 145, 50, 69, "pong"}, SizeCase{146, 146, 50, 71, "pong highlighted"},
                    SizeCase{147, 148, 50, 69, "kong"}, SizeCase{149, 149, 50, 71, "kong highlighted"},
                    SizeCase{150, 151, 50, 69, "win"}, SizeCase{152, 152, 50, 71, "win highlighted"},
                    SizeCase{153, 154, 50, 69, "pass"}, SizeCase{155, 155, 50, 71, "pass highlighted"},
                    SizeCase{156, 158, 70, 28, "report button"}, SizeCase{161, 166, 50, 56, "die faces"},
                    SizeCase{191, 200, 85, 90, "avatars"}, SizeCase{401, 410, 85, 90, "avatars"},
                    SizeCase{430, 438, 90, 67, "speech, view 1"}, SizeCase{439, 447, 79, 79, "speech, view 2"},
                    SizeCase{448, 456, 90, 67, "speech, view 3"}, SizeCase{600, 605, 24, 24, "small dice"},
                    SizeCase{476, 477, 150, 150, "wild streak and backdrop"},
                    SizeCase{560, 560, 93, 29, "jade exchange"}, SizeCase{680, 680, 85, 85, "jade task"},
                    SizeCase{660, 660, 21, 22, "emoticon button"}, SizeCase{664, 664, 27, 25, "phrase button"},
                    // Tiles: faces, standing backs and face-down backs of views 0-4.
                    SizeCase{Tile(0, 0), Tile(0, 6), 50, 58, "view 0 faces"},
                    SizeCase{Tile(0, 9), Tile(0, 35), 50, 58, "view 0 faces"},
                    SizeCase{Tile(1, 0), Tile(1, 6), 59, 46, "view 1 faces"},
                    SizeCase{Tile(1, 9), Tile(1, 35), 59, 46, "view 1 faces"},
                    SizeCase{Tile(2, 0), Tile(2, 6), 34, 37, "view 2 faces"},
                    SizeCase{Tile(2, 9), Tile(2, 35), 34, 37, "view 2 faces"},
                    SizeCase{Tile(3, 0), Tile(3, 6), 59, 46, "view 3 faces"},
                    SizeCase{Tile(3, 9), Tile(3, 35), 59, 46, "view 3 faces"},
                    SizeCase{Tile(4, 0), Tile(4, 6), 50, 77, "view 4 faces"},
                    SizeCase{Tile(4, 9), Tile(4, 35), 50, 77, "view 4 faces"},
                    SizeCase{Tile(0, 7), Tile(0, 7), 50, 77, "view 0 standing back"},
                    SizeCase{Tile(1, 7), Tile(1, 7), 33, 66, "view 1 standing back"},
                    SizeCase{Tile(2, 7), Tile(2, 7), 34, 50, "view 2 standing back"},
                    SizeCase{Tile(3, 7), Tile(3, 7), 34, 66, "view 3 standing back"},
                    SizeCase{Tile(4, 7), Tile(4, 7), 50, 77, "view 4 standing back"},
                    SizeCase{Tile(0, 8), Tile(0, 8), 38, 56, "view 0 face-down"},
                    SizeCase{Tile(1, 8), Tile(1, 8), 50, 44, "view 1 face-down"},
                    SizeCase{Tile(2, 8), Tile(2, 8), 33, 37, "view 2 face-down"},
                    SizeCase{Tile(3, 8), Tile(3, 8), 50, 44, "view 3 face-down"},
                    SizeCase{Tile(4, 8), Tile(4, 8), 38, 56, "view 4 face-down"}));

TEST(PictureStore, TumblingDieFramesAreFortyFiveToFiftyEightPixels)
{
    for (int id = 167; id <= 176; ++id) {
        const QSize s = LoadedSize(id);
        EXPECT_GE(std::min(s.width(), s.height()), 45) << id;
        EXPECT_LE(std::max(s.width(), s.height()), 58) << id;
    }
}

// ---- id tables ------------------------------------------------------------

class PicIdTablesTest : public testing::Test {
protected:
    TestClient t;
    window::PicIdTables& ids = t.client.window.PicIds;
    void Fill(float scale)
    {
        t.client.game.ScaleX = scale;
        t.client.game.ScaleY = scale;
        window::InitPicIds(t.client);
    }
};

TEST_F(PicIdTablesTest, FullLayoutUsesTheLargeMainButtons)
{
    Fill(1.0f);
    EXPECT_EQ(ids.AnNiuPicIds[0], "101");
    EXPECT_EQ(ids.AnNiuPicIds[2], "103");
    EXPECT_EQ(ids.AnNiuPicIds[19], "120");
}

TEST_F(PicIdTablesTest, SmallLayoutKeepsTheSendPairAndShrinksTheRest)
{
    Fill(0.78125f);
    EXPECT_EQ(ids.AnNiuPicIds[0], "101");
    EXPECT_EQ(ids.AnNiuPicIds[1], "102");
    EXPECT_EQ(ids.AnNiuPicIds[2], "381");
    EXPECT_EQ(ids.AnNiuPicIds[19], "398");
}

TEST_F(PicIdTablesTest, NamedEntries)
{
    Fill(1.0f);
    EXPECT_EQ(ids.SpeakPicIds[2][7], "446");
    EXPECT_EQ(ids.AvatarPicIds[9], "200");
    EXPECT_EQ(ids.AvatarPicIds[10], "401");
    EXPECT_EQ(ids.TilePicIds[179], "380");
    EXPECT_EQ(ids.TilePicIds[0], "201");
    EXPECT_EQ(ids.OperationPicIds[17], "158");
    EXPECT_EQ(ids.DiceRollPicIds[15], "176");
    EXPECT_EQ(ids.DialogPicIds[7], "137");
    EXPECT_EQ(ids.CompassPicIds[3], "129");
    EXPECT_EQ(ids.DicePicIds[5], "605");
}

// Every entry of every table names a picture of the store, at the size its
// role asks for.
TEST_F(PicIdTablesTest, EveryEntryLoadsAtItsRolesSize)
{
    for (float scale : {1.0f, 0.78125f}) {
        Fill(scale);
        for (int i = 0; i < 20; ++i) {
            const QSize want = i < 2 ? QSize(48, 30) : scale == 1.0f ? QSize(55, 31) : QSize(43, 24);
            EXPECT_EQ(LoadedSize(ids.AnNiuPicIds[i].toInt()), want) << "AnNiuPicIds " << i << " at " << scale;
        }
    }
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(LoadedSize(ids.OperationPicIds[3 * k].toInt()), QSize(50, 69)) << k;
        EXPECT_EQ(LoadedSize(ids.OperationPicIds[3 * k + 1].toInt()), QSize(50, 69)) << k;
        EXPECT_EQ(LoadedSize(ids.OperationPicIds[3 * k + 2].toInt()), QSize(50, 71)) << k;
    }
    for (int v = 1; v <= 3; ++v)
        for (int k = 0; k <= 8; ++k)
            EXPECT_EQ(LoadedSize(ids.SpeakPicIds[v][k].toInt()), v == 2 ? QSize(79, 79) : QSize(90, 67));
    for (const QString& id : ids.AvatarPicIds)
        EXPECT_EQ(LoadedSize(id.toInt()), QSize(85, 90)) << id.toStdString();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(LoadedSize(ids.DialogPicIds[i].toInt()), i < 4 ? QSize(70, 29) : QSize(64, 26)) << i;
    for (const QString& id : ids.CompassPicIds)
        EXPECT_EQ(LoadedSize(id.toInt()), QSize(77, 77));
    for (const QString& id : ids.DicePicIds)
        EXPECT_EQ(LoadedSize(id.toInt()), QSize(24, 24));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(LoadedSize(ids.DiceRollPicIds[i].toInt()), QSize(50, 56));
    for (const QString& id : ids.TilePicIds)
        EXPECT_TRUE(LoadedSize(id.toInt()).isValid()) << id.toStdString();
}

// ---- the loader -----------------------------------------------------------

class LoaderFailure : public testing::TestWithParam<int> {};

TEST_P(LoaderFailure, MissingNumberFailsAndLeavesThePictureAlone)
{
    FakeImage image;
    ASSERT_TRUE(window::LoadGifResource(141, QStringLiteral("GIF"), image));
    const qint64 key = image.picture.image.cacheKey();
    EXPECT_FALSE(window::LoadGifResource(GetParam(), QStringLiteral("GIF"), image));
    EXPECT_EQ(image.assignments, 1);
    EXPECT_EQ(image.picture.resourceId, 141);
    EXPECT_EQ(image.picture.image.cacheKey(), key);
    EXPECT_TRUE(window::LoadGifPicture(GetParam(), QStringLiteral("GIF")).isNull());
}

INSTANTIATE_TEST_SUITE_P(NoSuchResource, LoaderFailure, testing::Values(121, 854, 0, -1, 100, 924, 40000));

TEST(Loader, OtherTypeNamesFindNothing)
{
    FakeImage image;
    EXPECT_FALSE(window::LoadGifResource(141, QStringLiteral("JPEG"), image));
    EXPECT_FALSE(window::LoadGifResource(141, QString(), image));
    EXPECT_EQ(image.assignments, 0);
    EXPECT_TRUE(window::LoadGifResource(141, QStringLiteral("gif"), image));
}

TEST(Loader, TakesTheIdTablesDecimalText)
{
    FakeImage image;
    EXPECT_TRUE(window::LoadGifResource(QStringLiteral("446"), QStringLiteral("GIF"), image));
    EXPECT_EQ(image.picture.resourceId, 446);
    EXPECT_TRUE(window::LoadGifResource(QStringLiteral(" 380 "), QStringLiteral("GIF"), image));
    EXPECT_EQ(image.picture.resourceId, 380);
    for (const char* bad : {"", "abc", "14x", "99999"})
        EXPECT_FALSE(window::LoadGifResource(QString::fromLatin1(bad), QStringLiteral("GIF"), image)) << bad;
    EXPECT_EQ(image.assignments, 2);
}

TEST(Loader, PictureRouteReturnsThePicture)
{
    const platform::Picture picture = window::LoadGifPicture(QStringLiteral("777"), QStringLiteral("GIF"));
    EXPECT_EQ(picture.resourceId, 777);
    EXPECT_EQ(picture.image.size(), QSize(1024, 768)) << "a JPEG resource";
    EXPECT_EQ(window::LoadGifPicture(801, QStringLiteral("GIF")).image.size(), QSize(38, 530)) << "a PNG sheet";
}

} // namespace

class DesignPictures : public ::testing::TestWithParam<window::DesignPicture> {};

TEST_P(DesignPictures, AreDrawnAtTheSizeKnownBeforeDrawing)
{
    const platform::Picture drawn = window::DrawDesignPicture(GetParam());
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn.image.size(), window::DesignPictureSize(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Every, DesignPictures,
    testing::Values(window::DesignPicture::WildPanel, window::DesignPicture::StreakPanel,
                    window::DesignPicture::BankerMark, window::DesignPicture::Clock, window::DesignPicture::ReadyMark,
                    window::DesignPicture::ItemBag, window::DesignPicture::Report, window::DesignPicture::Mascot,
                    window::DesignPicture::ChatBar, window::DesignPicture::Multiplier, window::DesignPicture::Wealth));
