// The yardstick of bench/startup: a bare Qt widgets program that shows one
// empty window, prints "first paint" right after the window's first paint
// and ends. With --text it also writes one line of the table's own text
// ("正在连接服务器...", the first system message) in the default font: what
// any program pays to draw text at all (the font configuration, the font
// database and a font for Chinese).
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>

namespace {

class Window : public QWidget {
public:
    explicit Window(bool text) : text_(text) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (text_) {
            QPainter p(this);
            p.drawText(20, 40, QStringLiteral("正在连接服务器..."));
        }
        if (painted_)
            return;
        painted_ = true;
        QTimer::singleShot(0, [] {
            std::fputs("first paint\n", stdout);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }

private:
    bool text_;
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    Window window(text);
    window.resize(1024, 768);
    window.show();
    return QApplication::exec();
}
