#include "support/processes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>

namespace testing_support {

bool WaitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

int FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

Program::Program(const QString& program, const QStringList& args, const QProcessEnvironment& env)
{
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(program, args);
    process_.waitForStarted(5000);
}

Program::~Program()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

QStringList Program::Lines()
{
    buffer_ += process_.readAll();
    QStringList lines = QString::fromUtf8(buffer_).split(QLatin1Char('\n'));
    return lines;
}

bool Program::WaitForLine(const QString& text, int timeoutMs)
{
    return WaitFor(
        [&] {
            for (const QString& l : Lines())
                if (l.contains(text))
                    return true;
            return false;
        },
        timeoutMs);
}

void Program::Write(const QByteArray& input)
{
    process_.write(input);
    process_.waitForBytesWritten(1000);
}

bool Program::WaitForExit(int timeoutMs)
{
    return WaitFor([&] { return process_.state() == QProcess::NotRunning; }, timeoutMs);
}

QString TableServerPort(Program& server, int timeoutMs)
{
    if (!server.WaitForLine(QStringLiteral("tableserver listening on"), timeoutMs))
        return {};
    static const QRegularExpression kPort(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    return kPort.match(server.Lines().join(QLatin1Char('\n'))).captured(1);
}

std::string LastLines(Program& program, int count)
{
    const QStringList lines = program.Lines();
    return lines.mid(std::max<qsizetype>(0, lines.size() - count)).join(QLatin1Char('\n')).toStdString();
}

int LineIndex(const QStringList& lines, const QRegularExpression& re, int from)
{
    for (int i = std::max(from, 0); i < lines.size(); ++i)
        if (re.match(lines[i]).hasMatch())
            return i;
    return -1;
}

QProcessEnvironment IsolatedEnvironment(const QTemporaryDir& runtime)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("MJCLIENT_DATA_DIR"), runtime.path() + QStringLiteral("/data"));
    return env;
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace testing_support
