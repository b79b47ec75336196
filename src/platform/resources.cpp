#include "platform/resources.h"

#include <QFile>

// The embedded pictures live in their own library; naming its initialiser
// here makes the linker keep it.
static void InitArtResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    (void)done;
}

namespace platform {

std::optional<QByteArray> LoadResData(int id, const QString& type)
{
    // Resource type names compare without regard to case.
    if (type.compare(QLatin1String("GIF"), Qt::CaseInsensitive) != 0 || id <= 0)
        return std::nullopt;
    InitArtResources();
    QFile file(QStringLiteral(":/gif/%1.gif").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace platform
