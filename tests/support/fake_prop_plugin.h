#pragma once

#include "platform/prop_plugin.h"
#include "platform/prop_plugin_loader.h"

#include <QStringList>
#include <deque>
#include <memory>
#include <optional>

namespace testing_support {

// A prop plug-in that follows a script: its answers are set by the test,
// and it writes down every call as "Name(arg, ...)".
class FakePropPlugin : public platform::PropPlugin {
public:
    // One output the plug-in hands over through GetSendBuff.
    struct Output {
        int16_t type = 0;
        QString text;
        QByteArray frame;
        std::vector<int32_t> params;
        std::array<int32_t, 5> extra{};
        platform::Picture picture;
    };
    // What GetScoreInfo fills when it answers 1.
    struct ScoreInfo {
        std::array<QString, 4> seatNames;
        std::array<double, 4> coinDelta{};
        std::array<std::array<QString, 4>, 2> seatEntries;
    };

    // ---- the script ----
    bool initdllResult = true;
    bool baoInfoResult = false;
    BaoInfo baoInfo;
    std::deque<bool> setUserinfoResults; // true once they run out
    std::deque<Output> outputs;          // handed over in order
    std::optional<int16_t> sendBuffCount; // else the number of outputs left
    std::deque<int16_t> scoreInfoAnswers; // 0 once they run out
    ScoreInfo scoreInfo;
    bool showZqVideoResult = false;

    // ---- what happened ----
    QStringList calls;
    std::vector<std::array<uint8_t, 272>> received;

    int Count(const QString& name) const
    {
        int n = 0;
        for (const QString& call : calls)
            n += call.startsWith(name + QLatin1Char('(')) ? 1 : 0;
        return n;
    }

    bool Initdll(const QByteArray& userName, const QByteArray& userKey, const QString& dll, quintptr, const QString& tag,
                 int16_t scale, int16_t field15) override
    {
        Log(QStringLiteral("Initdll"), {QString::fromLatin1(userName), QString::fromLatin1(userKey), dll, tag,
                                        QString::number(scale), QString::number(field15)});
        return initdllResult;
    }
    bool GetBaoInfo(BaoInfo& info) override
    {
        Log(QStringLiteral("GetBaoInfo"), {});
        info = baoInfo;
        return baoInfoResult;
    }
    bool SetUserinfo(const QString& nickname, const QByteArray& seatName, int16_t seatBit, int16_t view, bool flag,
                     uint8_t sex, const QString& title, const QString& avatar) override
    {
        Log(QStringLiteral("SetUserinfo"),
            {nickname, QString::fromLatin1(seatName), QString::number(seatBit), QString::number(view), Bool(flag),
             QString::number(sex), title, avatar});
        if (setUserinfoResults.empty())
            return true;
        const bool r = setUserinfoResults.front();
        setUserinfoResults.pop_front();
        return r;
    }
    void rec_state(int16_t what, bool on, int16_t view) override
    {
        Log(QStringLiteral("rec_state"), {QString::number(what), Bool(on), QString::number(view)});
    }
    int16_t CheckSendBuff() override
    {
        Log(QStringLiteral("CheckSendBuff"), {});
        return sendBuffCount ? *sendBuffCount : static_cast<int16_t>(outputs.size());
    }
    void GetSendBuff(platform::Picture& picture, QString& text, QByteArray& frame, int16_t& type,
                     std::vector<int32_t>& params, std::array<int32_t, 5>& extra) override
    {
        Log(QStringLiteral("GetSendBuff"), {text});
        if (outputs.empty())
            return;
        Output o = std::move(outputs.front());
        outputs.pop_front();
        picture = o.picture;
        text = o.text;
        frame = o.frame;
        type = o.type;
        params = o.params;
        extra = o.extra;
    }
    void Rec_MSG(std::array<uint8_t, 272>& frame) override
    {
        Log(QStringLiteral("Rec_MSG"), {QString::number(frame[3])});
        received.push_back(frame);
    }
    int16_t GetScoreInfo(std::array<QString, 4>& seatNames, std::array<double, 4>& coinDelta,
                         std::array<std::array<QString, 4>, 2>& seatEntries) override
    {
        Log(QStringLiteral("GetScoreInfo"), {});
        int16_t answer = 0;
        if (!scoreInfoAnswers.empty()) {
            answer = scoreInfoAnswers.front();
            scoreInfoAnswers.pop_front();
        }
        if (answer == 1) {
            seatNames = scoreInfo.seatNames;
            coinDelta = scoreInfo.coinDelta;
            seatEntries = scoreInfo.seatEntries;
        }
        return answer;
    }
    void InitShowNext(bool show) override { Log(QStringLiteral("InitShowNext"), {Bool(show)}); }
    void InitShowEnd() override { Log(QStringLiteral("InitShowEnd"), {}); }
    void ShowGif(int16_t which, bool show) override
    {
        Log(QStringLiteral("ShowGif"), {QString::number(which), Bool(show)});
    }
    void ClearUser(int16_t view) override { Log(QStringLiteral("ClearUser"), {QString::number(view)}); }
    void SetKeyDown(int16_t keyCode) override { Log(QStringLiteral("SetKeyDown"), {QString::number(keyCode)}); }
    void setbankstate(int16_t state) override { Log(QStringLiteral("setbankstate"), {QString::number(state)}); }
    void FixBuffPos() override { Log(QStringLiteral("FixBuffPos"), {}); }
    bool ShowZqVideo(int16_t view, bool show, int16_t mode) override
    {
        Log(QStringLiteral("ShowZqVideo"), {QString::number(view), Bool(show), QString::number(mode)});
        return showZqVideoResult;
    }
    void Ainit(const QString& fileName) override { Log(QStringLiteral("Ainit"), {fileName}); }
    void UpdataMyProp(bool update) override { Log(QStringLiteral("UpdataMyProp"), {Bool(update)}); }
    void InitExit(int16_t flag) override { Log(QStringLiteral("InitExit"), {QString::number(flag)}); }

private:
    static QString Bool(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }
    void Log(const QString& name, const QStringList& args)
    {
        calls << name + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
};

// A loader that hands out the plug-in the test prepared, once.
class FakePropPluginLoader : public platform::PropPluginLoader {
public:
    bool Exists(const QString& folder) override
    {
        folders << folder;
        return exists;
    }
    std::unique_ptr<platform::PropPlugin> Create(const QString& folder) override
    {
        folders << folder;
        ++creates;
        if (!exists || !next)
            return nullptr;
        last = next.get();
        return std::move(next);
    }

    bool exists = false;
    std::unique_ptr<FakePropPlugin> next;
    FakePropPlugin* last = nullptr;
    int creates = 0;
    QStringList folders;
};

} // namespace testing_support
