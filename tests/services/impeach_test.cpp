// The report of a cheater: the button, the confirmation window and the
// report command.
#include "service_fixture.h"

#include "protocol/codec.h"
#include "services/impeach.h"

#include <gtest/gtest.h>

using namespace services;
using testing_support::ServiceTable;

namespace {

// A table where the server offered a report with this fee and permission.
struct OfferTable : ServiceTable {
    OfferTable(bool allowed, double fee)
    {
        c.game.ImpeachOffered = -1;
        c.game.ImpeachAllowed = allowed ? -1 : 0;
        c.game.ImpeachFee = fee;
        f.cmdImpeach.SetVisible(true);
        f.cmdImpeach.Enabled = true;
    }
    ImpeachForm* Window() { return c.services.Frmimpeach; }
};

} // namespace

struct QuestionCase {
    const char* name;
    bool allowed;
    double fee;
    QString text;
};
void PrintTo(const QuestionCase& c, std::ostream* os) { *os << c.name; }

class ImpeachQuestionText : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(ImpeachQuestionText, StatesTheFee)
{
    OfferTable t(GetParam().allowed, GetParam().fee);
    t.ClickTable(t.f.cmdImpeach);
    ASSERT_TRUE(t.Window());
    EXPECT_TRUE(t.Window()->isVisible());
    EXPECT_EQ(t.Window()->Lbl_imp.Caption, GetParam().text);
    EXPECT_FLOAT_EQ(t.Window()->Lbl_imp.FontSize, 14);
}

INSTANTIATE_TEST_SUITE_P(
    Frmimpeach, ImpeachQuestionText,
    ::testing::Values(QuestionCase{"Allowed", true, 1000,
                                   QStringLiteral("举报作弊提交核查需扣除1000\r\n金币,查实后中心将进行奖励，\r\n您是否举报:")},
                      QuestionCase{"NotAllowed", false, 1000, QStringLiteral("您的金币不够提交核查的\r\n费用（1000）")},
                      QuestionCase{"LargeFee", true, 12345678901.0,
                                   QStringLiteral("举报作弊提交核查需扣除12345678901\r\n金币,查实后中心将进行奖励，\r\n您是否举报:")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Frmimpeach, ConfirmSendsKind66WithTheOwnSeatBitOnly)
{
    OfferTable t(true, 1000);
    t.ClickTable(t.f.cmdImpeach);
    ServiceTable::Click(t.Window(), t.Window()->pbCloseMe);
    EXPECT_FALSE(t.Window()->isVisible());
    const auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    const protocol::GameCmd cmd = protocol::DecodeHeader(sent[0].data());
    EXPECT_EQ(cmd.Kind, 66);
    EXPECT_EQ(cmd.Seat, t.SeatBitOf(0));
    EXPECT_EQ(cmd.B1, 0);
    EXPECT_EQ(cmd.B3, 0);
    EXPECT_EQ(cmd.Data, (std::array<int16_t, 4>{}));
}

TEST(Frmimpeach, WithoutPermissionConfirmOnlyCloses)
{
    OfferTable t(false, 1000);
    t.ClickTable(t.f.cmdImpeach);
    ServiceTable::Click(t.Window(), t.Window()->pbCloseMe);
    EXPECT_FALSE(t.Window()->isVisible());
    EXPECT_TRUE(t.TakeSent().empty());
}

TEST(Frmimpeach, CancelSendsNothingAndTheButtonToggles)
{
    OfferTable t(true, 1000);
    t.ClickTable(t.f.cmdImpeach);
    ServiceTable::Click(t.Window(), t.Window()->pbCancel);
    EXPECT_FALSE(t.Window()->isVisible());
    EXPECT_TRUE(t.TakeSent().empty());

    t.ClickTable(t.f.cmdImpeach);
    EXPECT_TRUE(t.Window()->isVisible());
    t.ClickTable(t.f.cmdImpeach);
    EXPECT_FALSE(t.Window()->isVisible()) << "a second click hides it";
    t.c.game.ImpeachFee = 2000;
    t.ClickTable(t.f.cmdImpeach);
    EXPECT_TRUE(t.Window()->isVisible());
    EXPECT_TRUE(t.Window()->Lbl_imp.Caption.contains(QStringLiteral("2000"))) << "the text is refreshed";
}
