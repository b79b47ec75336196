// A prop plug-in library for the rewards tests. It writes every call it
// receives, one line each as "Name(arg, ...)", to the file named by the
// environment variable MJ_PROP_PLUGIN_LOG, and plays a small fixed part:
// treasure boxes at fixed places, a system line for every kind-44 frame,
// and, once the hand has ended and its kind-46 frame has come, the local
// seat's prop result. MJ_PROP_PLUGIN_STEPS ("interval,steps") sets the
// result steps of the boxes (default "50,3").
#include "platform/prop_plugin_loader.h"

#include <QColor>
#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <deque>

namespace {

QString Flag(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }

platform::Picture Box(int w, int h, QColor colour)
{
    platform::Picture p;
    p.image = QImage(w, h, QImage::Format_ARGB32);
    p.image.fill(colour);
    return p;
}

class LoggingPropPlugin : public platform::PropPlugin {
public:
    bool Initdll(const QByteArray& userName, const QByteArray&, const QString& dll, quintptr, const QString& tag,
                 int16_t scale, int16_t field15) override
    {
        Log(QStringLiteral("Initdll"), {QString::fromLatin1(userName), dll, tag, QString::number(scale),
                                        QString::number(field15)});
        return true;
    }
    bool GetBaoInfo(BaoInfo& info) override
    {
        Log(QStringLiteral("GetBaoInfo"), {});
        for (int k = 0; k < 15; ++k)
            info.BoxPositions[static_cast<std::size_t>(k)] = {200 + 80 * (k % 5), 300 + 90 * (k / 5)};
        info.BoxOpenPoint = {512, 384};
        info.SeatPrizePoints = {{{480, 600}, {850, 350}, {480, 100}, {100, 350}}};
        info.PropNoticePoint = {512, 160};
        const QStringList steps =
            qEnvironmentVariable("MJ_PROP_PLUGIN_STEPS", QStringLiteral("50,3")).split(QLatin1Char(','));
        info.PropTimerSettings = {static_cast<int16_t>(steps.value(0).toInt()),
                                  static_cast<int16_t>(steps.value(1).toInt())};
        info.ClosedBoxSize = {60, 50};
        info.OpenBoxSize = {70, 60};
        info.ClosedBoxPicture = Box(60, 50, QColor(150, 90, 30));
        info.OpenBoxPicture = Box(70, 60, QColor(240, 200, 40));
        return true;
    }
    bool SetUserinfo(const QString& nickname, const QByteArray&, int16_t seatBit, int16_t view, bool, uint8_t,
                     const QString&, const QString&) override
    {
        Log(QStringLiteral("SetUserinfo"), {nickname, QString::number(seatBit), QString::number(view)});
        return true;
    }
    void rec_state(int16_t what, bool on, int16_t view) override
    {
        Log(QStringLiteral("rec_state"), {QString::number(what), Flag(on), QString::number(view)});
    }
    int16_t CheckSendBuff() override { return static_cast<int16_t>(lines_.size()); }
    void GetSendBuff(platform::Picture&, QString& text, QByteArray&, int16_t& type, std::vector<int32_t>&,
                     std::array<int32_t, 5>&) override
    {
        Log(QStringLiteral("GetSendBuff"), {});
        if (lines_.empty())
            return;
        type = 0;
        text = lines_.front();
        lines_.pop_front();
    }
    void Rec_MSG(std::array<uint8_t, 272>& frame) override
    {
        Log(QStringLiteral("Rec_MSG"), {QString::number(frame[3])});
        if (frame[3] == 44)
            lines_.push_back(QStringLiteral("有玩家使用了道具"));
        if (frame[3] == 46)
            scoreDue_ = true;
    }
    int16_t GetScoreInfo(std::array<QString, 4>& seatNames, std::array<double, 4>& coinDelta,
                         std::array<std::array<QString, 4>, 2>& seatEntries) override
    {
        Log(QStringLiteral("GetScoreInfo"), {});
        if (!handEnded_ || !scoreDue_)
            return 0;
        handEnded_ = scoreDue_ = false;
        seatNames[0] = QStringLiteral("使用道具|+30金币");
        coinDelta[0] = 30;
        seatEntries[0][0] = QStringLiteral("我：");
        seatEntries[1][0] = QStringLiteral("钻石×1");
        return 1;
    }
    void InitShowNext(bool show) override { Log(QStringLiteral("InitShowNext"), {Flag(show)}); }
    void InitShowEnd() override
    {
        Log(QStringLiteral("InitShowEnd"), {});
        handEnded_ = true;
    }
    void ShowGif(int16_t which, bool show) override
    {
        Log(QStringLiteral("ShowGif"), {QString::number(which), Flag(show)});
    }
    void ClearUser(int16_t view) override { Log(QStringLiteral("ClearUser"), {QString::number(view)}); }
    void SetKeyDown(int16_t key) override { Log(QStringLiteral("SetKeyDown"), {QString::number(key)}); }
    void setbankstate(int16_t state) override { Log(QStringLiteral("setbankstate"), {QString::number(state)}); }
    void FixBuffPos() override { Log(QStringLiteral("FixBuffPos"), {}); }
    bool ShowZqVideo(int16_t view, bool show, int16_t mode) override
    {
        Log(QStringLiteral("ShowZqVideo"), {QString::number(view), Flag(show), QString::number(mode)});
        return true;
    }
    void Ainit(const QString& file) override { Log(QStringLiteral("Ainit"), {file}); }
    void UpdataMyProp(bool update) override { Log(QStringLiteral("UpdataMyProp"), {Flag(update)}); }
    void InitExit(int16_t flag) override { Log(QStringLiteral("InitExit"), {QString::number(flag)}); }

private:
    static void Log(const QString& name, const QStringList& args)
    {
        QFile file(qEnvironmentVariable("MJ_PROP_PLUGIN_LOG"));
        if (file.fileName().isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            return;
        QTextStream(&file) << name << '(' << args.join(QStringLiteral(", ")) << ")\n";
    }

    std::deque<QString> lines_;
    bool handEnded_ = false;
    bool scoreDue_ = false;
};

} // namespace

extern "C" Q_DECL_EXPORT platform::PropPlugin* mj_create_prop_plugin(int interfaceVersion)
{
    if (interfaceVersion != platform::kPropPluginInterfaceVersion)
        return nullptr;
    return new LoggingPropPlugin;
}
