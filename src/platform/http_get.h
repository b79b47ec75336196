#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace platform {

// The answer to one HTTP GET.
struct HttpReply {
    enum class Outcome {
        Ok,        // status 200, the whole body in `body`
        BadStatus, // the server answered with another status (in `status`)
        TooLarge,  // the body was going to exceed the size cap
        TimedOut,  // no complete answer within the time limit
        Refused,   // the address is not http or https
        Failed,    // the connection or the transfer failed
    };
    Outcome outcome = Outcome::Failed;
    int status = 0; // the HTTP status, 0 when none arrived
    QByteArray body;
    QString error; // what went wrong, for the log
};

// Fetches one document over HTTP in the background. At most one transfer
// runs: a new Get cancels the running one, whose callback then never runs.
// The callback runs later, on the thread that called Get, never inside Get.
class HttpGet {
public:
    using Done = std::function<void(const HttpReply&)>;
    virtual ~HttpGet() = default;
    virtual void Get(const QUrl& url, Done done) = 0;
    // Drops the running transfer, if any; its callback never runs.
    virtual void Cancel() = 0;
    virtual bool Busy() const = 0;
};

// The real transfer over QNetworkAccessManager: only http and https, status
// 200 required, the body capped at `maxBytes` and the whole transfer at
// `timeoutMs`. Redirects are followed only to http or https addresses.
class QtHttpGet : public QObject, public HttpGet {
public:
    static constexpr qint64 kDefaultMaxBytes = 4 * 1024 * 1024;
    static constexpr int kDefaultTimeoutMs = 30000;

    explicit QtHttpGet(qint64 maxBytes = kDefaultMaxBytes, int timeoutMs = kDefaultTimeoutMs);
    ~QtHttpGet() override;

    void Get(const QUrl& url, Done done) override;
    void Cancel() override;
    bool Busy() const override { return !reply_.isNull() || finishing_; }

private:
    void Finish(HttpReply reply);
    void OnFinished();
    bool OverCap(qint64 size) const { return size > maxBytes_; }

    qint64 maxBytes_;
    int timeoutMs_;
    QNetworkAccessManager* manager_ = nullptr; // made with the first Get
    QPointer<QNetworkReply> reply_;
    QTimer timer_;
    Done done_;
    QByteArray body_;
    bool finishing_ = false;
    unsigned generation_ = 0; // tells a finished transfer's queued answer from a newer one's
};

// True for an http or https address with a host.
bool IsWebAddress(const QUrl& url);

} // namespace platform
