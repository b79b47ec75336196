// The yardstick of bench/startup: a bare Qt widgets program that shows one
// empty window, prints "first paint" right after the window's first paint
// and ends.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
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
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Window window;
    window.resize(1024, 768);
    window.show();
    return QApplication::exec();
}
