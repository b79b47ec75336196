// resgen: draws every picture of the client's resource store from the art
// table and writes them out.
//
//   resgen --out DIR [--qrc FILE]   the pictures as DIR/<id>.gif, and a Qt
//                                   resource file that embeds them as
//                                   :/gif/<id>.gif
//   resgen --sheet FILE.png         one contact sheet of all pictures
//   resgen --list                   the art table as tab-separated text
#include "art_table.h"
#include "gif_writer.h"
#include "paint_util.h"
#include "painters.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTextStream>
#include <cstdio>
#include <map>

using namespace resgen;

namespace {

// Soft edges of GIF pictures blend towards the table's felt green.
const QColor kMatte(34, 92, 64);

QByteArray Encode(const Art& art, const std::vector<Frame>& frames)
{
    for (const Frame& f : frames)
        if (f.image.width() != art.w || f.image.height() != art.h)
            throw std::runtime_error("picture " + std::to_string(art.id) + " has the wrong size");
    if (static_cast<int>(frames.size()) != art.frames)
        throw std::runtime_error("picture " + std::to_string(art.id) + " has the wrong number of frames");
    if (art.format == Format::Gif)
        return EncodeGif(frames, kMatte);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (art.format == Format::Png) {
        frames.front().image.save(&buffer, "PNG");
    } else {
        QImage flat(art.w, art.h, QImage::Format_RGB32);
        flat.fill(kMatte);
        QPainter p(&flat);
        p.drawImage(0, 0, frames.front().image);
        p.end();
        flat.save(&buffer, "JPG", 90);
    }
    return bytes;
}

const char* RoleName(Role r)
{
    static const std::map<Role, const char*> names = {
        {Role::MainButton, "main button"},   {Role::DialogButton, "dialog button"}, {Role::ToggleCaption, "toggle caption"},
        {Role::Compass, "compass"},          {Role::ClaimButton, "claim button"},   {Role::ReportButton, "report button"},
        {Role::DieFace, "die face"},         {Role::DieTumble, "tumbling die"},    {Role::SmallDie, "small die"},
        {Role::Avatar, "avatar"},            {Role::Tile, "tile"},                 {Role::Speech, "speech bubble"},
        {Role::StreakAnimation, "streak animation"}, {Role::StreakBackdrop, "streak backdrop"},
        {Role::Button, "button"},            {Role::Tab, "tab"},                   {Role::CaptionTab, "caption tab"},
        {Role::RowBar, "row bar"},           {Role::CloseMark, "close mark"},      {Role::Arrow, "arrow"},
        {Role::FoldTab, "fold tab"},         {Role::Stamp, "stamp"},               {Role::VipPanel, "membership panel"},
        {Role::VipBadge, "membership badge"}, {Role::Goods, "goods"},              {Role::Prize, "prize"},
        {Role::CigaretteIcon, "cigarette icon"}, {Role::EmoticonButton, "emoticon button"},
        {Role::PhraseButton, "phrase button"}, {Role::Emoticon, "emoticon"},        {Role::DigitSheet, "digit sheet"},
        {Role::BannerSheet, "banner sheet"}, {Role::JadeSheet, "jade sheet"},      {Role::FrameSheet, "frame sheet"},
        {Role::TableBackground, "table background"}, {Role::Placeholder, "placeholder"},
        {Role::WindowSkin, "window skin"},   {Role::WindowButton, "window button"}, {Role::WindowIcon, "window icon"},
        {Role::ResultPanel, "result panel"},
        {Role::Pointer, "pointer"},
        {Role::DialogPanel, "dialog panel"}, {Role::OptionCaption, "option caption"},
    };
    return names.at(r);
}

const char* BasisName(Basis b)
{
    switch (b) {
    case Basis::Given: return "given";
    case Basis::Assumed: return "assumed";
    case Basis::Placeholder: return "placeholder";
    }
    return "";
}

const char* FormatName(Format f)
{
    switch (f) {
    case Format::Gif: return "GIF";
    case Format::Jpeg: return "JPEG";
    case Format::Png: return "PNG";
    }
    return "";
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// Lays the pictures out in rows, each with its id underneath; big pictures
// are shrunk to fit a cell.
QImage ContactSheet(const std::vector<Art>& table, const std::vector<QByteArray>& files)
{
    const int maxWidth = 1800, maxCell = 200, gap = 8, label = 14;
    struct Item {
        QImage image;
        QString text;
        QPoint at;
    };
    std::vector<Item> items;
    int x = gap, y = gap + 30, rowHeight = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        QBuffer buffer(const_cast<QByteArray*>(&files[i]));
        QImageReader reader(&buffer);
        const int frames = reader.imageCount();
        QImage image = reader.read();
        if (image.width() > maxCell || image.height() > maxCell)
            image = image.scaled(maxCell, maxCell, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QString text = QString::number(table[i].id);
        if (frames > 1)
            text += QStringLiteral(" ×%1").arg(frames);
        const int cellWidth = qMax(image.width(), 34);
        if (x + cellWidth > maxWidth) {
            x = gap;
            y += rowHeight + label + gap;
            rowHeight = 0;
        }
        items.push_back({image, text, QPoint(x, y)});
        x += cellWidth + gap;
        rowHeight = qMax(rowHeight, image.height());
    }
    QImage sheet(maxWidth, y + rowHeight + label + gap, QImage::Format_RGB32);
    sheet.fill(kMatte);
    QPainter p(&sheet);
    p.setPen(Qt::white);
    p.setFont(HeiFont(16));
    p.drawText(gap, 22, QStringLiteral("Picture store: %1 pictures (×N: frames of an animation)").arg(table.size()));
    p.setFont(HeiFont(10, false));
    for (const Item& item : items) {
        p.drawImage(item.at, item.image);
        p.setPen(QColor(230, 240, 230));
        p.drawText(QRect(item.at.x(), item.at.y() + item.image.height(), qMax(item.image.width(), 34), label),
                   Qt::AlignLeft | Qt::AlignVCenter, item.text);
    }
    return sheet;
}

int Usage()
{
    std::fprintf(stderr, "usage: resgen --out DIR [--qrc FILE] | --sheet FILE.png | --list\n");
    return 2;
}

} // namespace

// Drops Qt's note about a missing runtime folder, which a batch tool does
// not need; everything else is printed as usual.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

int main(int argc, char** argv)
{
    qInstallMessageHandler(QuietHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString outDir, qrcFile, sheetFile;
    bool list = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--list")) {
            list = true;
        } else if (i + 1 < args.size() && a == QLatin1String("--out")) {
            outDir = args[++i];
        } else if (i + 1 < args.size() && a == QLatin1String("--qrc")) {
            qrcFile = args[++i];
        } else if (i + 1 < args.size() && a == QLatin1String("--sheet")) {
            sheetFile = args[++i];
        } else {
            return Usage();
        }
    }
    if (!list && outDir.isEmpty() && sheetFile.isEmpty())
        return Usage();
    try {
        const std::vector<Art> table = ArtTable();
        if (list) {
            QTextStream out(stdout);
            out << "id\trole\twidth\theight\tframes\tformat\tsize\tcaption\tnote\n";
            for (const Art& a : table)
                out << a.id << '\t' << RoleName(a.role) << '\t' << a.w << '\t' << a.h << '\t' << a.frames << '\t'
                    << FormatName(a.format) << '\t' << BasisName(a.basis) << '\t' << a.caption << '\t' << a.note << '\n';
        }
        if (outDir.isEmpty() && sheetFile.isEmpty())
            return 0;
        std::vector<QByteArray> files;
        files.reserve(table.size());
        for (const Art& a : table)
            files.push_back(Encode(a, PaintArt(a)));
        if (!outDir.isEmpty()) {
            QDir().mkpath(outDir);
            for (size_t i = 0; i < table.size(); ++i)
                WriteFile(QDir(outDir).filePath(QStringLiteral("%1.gif").arg(table[i].id)), files[i]);
        }
        if (!qrcFile.isEmpty()) {
            const QDir qrcDir = QFileInfo(qrcFile).absoluteDir();
            QByteArray qrc = "<RCC>\n  <qresource prefix=\"/gif\">\n";
            for (const Art& a : table) {
                const QString path = qrcDir.relativeFilePath(QDir(outDir).absoluteFilePath(QStringLiteral("%1.gif").arg(a.id)));
                qrc += QStringLiteral("    <file alias=\"%1.gif\">%2</file>\n").arg(a.id).arg(path).toUtf8();
            }
            qrc += "  </qresource>\n</RCC>\n";
            WriteFile(qrcFile, qrc);
        }
        if (!sheetFile.isEmpty() && !ContactSheet(table, files).save(sheetFile))
            throw std::runtime_error("cannot write " + sheetFile.toStdString());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "resgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
