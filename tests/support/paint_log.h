#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QPaintEvent>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace testing_support {

// Lets queued updates become paint events: runs the event loop for a few
// milliseconds, long enough for the platform's update timers.
inline void SettlePainting(int ms = 30)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QApplication::processEvents();
}

// Records the paint events of widgets: who was painted and where.
class PaintLog : public QObject {
public:
    struct Paint {
        QPointer<QObject> widget;
        QRegion region;
    };

    void Watch(QWidget* w) { w->installEventFilter(this); }
    void Clear() { paints.clear(); }

    // All painted areas of one widget, and how many paint events it had.
    QRegion PaintedOn(const QObject* w) const
    {
        QRegion all;
        for (const Paint& p : paints)
            if (p.widget == w)
                all += p.region;
        return all;
    }
    int CountOn(const QObject* w) const
    {
        int n = 0;
        for (const Paint& p : paints)
            n += p.widget == w ? 1 : 0;
        return n;
    }

    std::vector<Paint> paints;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            paints.push_back({o, static_cast<QPaintEvent*>(e)->region()});
        return false;
    }
};

} // namespace testing_support
