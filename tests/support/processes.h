#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>

namespace testing_support {

// Runs the event loop until `done` holds or the time is up; true when it held.
bool WaitFor(const std::function<bool()>& done, int timeoutMs);

// A free TCP port on 127.0.0.1 (free when asked; taken by whoever binds first).
int FreePort();

// A program started by a test, with its output collected line by line. The
// process is killed when the object goes.
class Program {
public:
    Program(const QString& program, const QStringList& args, const QProcessEnvironment& env);
    ~Program();
    // Output lines so far (stdout and stderr).
    QStringList Lines();
    // Waits until a line containing `text` was printed.
    bool WaitForLine(const QString& text, int timeoutMs);
    void Write(const QByteArray& input);
    bool WaitForExit(int timeoutMs);
    int ExitCode() const { return process_.exitCode(); }
    QProcess& Process() { return process_; }

private:
    QProcess process_;
    QByteArray buffer_;
};

// The port the table server listens on, from its first line, as text; empty
// when the line did not come within the time.
QString TableServerPort(Program& server, int timeoutMs = 5000);

// The last `count` output lines, for a failure message.
std::string LastLines(Program& program, int count = 40);

// The index of the first line from `from` on that matches, or -1.
int LineIndex(const QStringList& lines, const QRegularExpression& re, int from = 0);

// The whole file, or nothing when it cannot be read (not written yet).
QByteArray FileBytes(const QString& path);

// An environment for the client and the lobby of one test: offscreen, a
// private runtime folder (instance lock, lobby sockets) and a fixed screen.
QProcessEnvironment IsolatedEnvironment(const QTemporaryDir& runtime);

} // namespace testing_support
