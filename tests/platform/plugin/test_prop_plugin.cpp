// A prop plug-in library for the loader's tests: answers Initdll with true
// when the scale is 1 and reports two waiting outputs.
#include "platform/prop_plugin_loader.h"

namespace {

class TestPropPlugin : public platform::PropPlugin {
public:
    bool Initdll(const QByteArray&, const QByteArray&, const QString&, quintptr, const QString&, int16_t scale,
                 int16_t) override
    {
        return scale == 1;
    }
    bool GetBaoInfo(BaoInfo&) override { return false; }
    bool SetUserinfo(const QString&, const QByteArray&, int16_t, int16_t, bool, uint8_t, const QString&,
                     const QString&) override
    {
        return true;
    }
    void rec_state(int16_t, bool, int16_t) override {}
    int16_t CheckSendBuff() override { return 2; }
    void GetSendBuff(platform::Picture&, QString&, QByteArray&, int16_t&, std::vector<int32_t>&,
                     std::array<int32_t, 5>&) override
    {
    }
    void Rec_MSG(std::array<uint8_t, 272>&) override {}
    int16_t GetScoreInfo(std::array<QString, 4>&, std::array<double, 4>&,
                         std::array<std::array<QString, 4>, 2>&) override
    {
        return 0;
    }
    void InitShowNext(bool) override {}
    void InitShowEnd() override {}
    void ShowGif(int16_t, bool) override {}
    void ClearUser(int16_t) override {}
    void SetKeyDown(int16_t) override {}
    void setbankstate(int16_t) override {}
    void FixBuffPos() override {}
    bool ShowZqVideo(int16_t, bool, int16_t) override { return false; }
    void Ainit(const QString&) override {}
    void UpdataMyProp(bool) override {}
    void InitExit(int16_t) override {}
};

} // namespace

extern "C" Q_DECL_EXPORT platform::PropPlugin* mj_create_prop_plugin(int interfaceVersion)
{
    if (interfaceVersion != platform::kPropPluginInterfaceVersion)
        return nullptr;
    return new TestPropPlugin;
}
