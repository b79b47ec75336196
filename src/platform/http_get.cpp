#include "platform/http_get.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace platform {

bool IsWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

QtHttpGet::QtHttpGet(qint64 maxBytes, int timeoutMs) : maxBytes_(maxBytes), timeoutMs_(timeoutMs)
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
        HttpReply r;
        r.outcome = HttpReply::Outcome::TimedOut;
        r.error = QStringLiteral("no answer within %1 ms").arg(timeoutMs_);
        Finish(std::move(r));
    });
}

QtHttpGet::~QtHttpGet() { Cancel(); }

void QtHttpGet::Cancel()
{
    ++generation_;
    finishing_ = false;
    done_ = nullptr;
    timer_.stop();
    body_.clear();
    if (QNetworkReply* reply = reply_.data()) {
        reply_.clear();
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void QtHttpGet::Get(const QUrl& url, Done done)
{
    Cancel();
    done_ = std::move(done);
    if (!IsWebAddress(url)) {
        HttpReply r;
        r.outcome = HttpReply::Outcome::Refused;
        r.error = QStringLiteral("not an http or https address");
        Finish(std::move(r));
        return;
    }
    if (!manager_)
        manager_ = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply* reply = manager_->get(request);
    reply_ = reply;
    QObject::connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && OverCap(length.toLongLong())) {
            HttpReply r;
            r.outcome = HttpReply::Outcome::TooLarge;
            r.error = QStringLiteral("announced %1 bytes").arg(length.toLongLong());
            Finish(std::move(r));
        }
    });
    QObject::connect(reply, &QNetworkReply::redirected, this, [this](const QUrl& to) {
        if (!IsWebAddress(to)) {
            HttpReply r;
            r.outcome = HttpReply::Outcome::Refused;
            r.error = QStringLiteral("redirected away from http and https");
            Finish(std::move(r));
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        body_ += reply->readAll();
        if (OverCap(body_.size())) {
            HttpReply r;
            r.outcome = HttpReply::Outcome::TooLarge;
            r.error = QStringLiteral("more than %1 bytes").arg(maxBytes_);
            Finish(std::move(r));
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, this, &QtHttpGet::OnFinished);
    timer_.start(timeoutMs_);
}

void QtHttpGet::OnFinished()
{
    QNetworkReply* reply = reply_.data();
    if (!reply)
        return;
    HttpReply r;
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    body_ += reply->readAll();
    if (OverCap(body_.size())) {
        r.outcome = HttpReply::Outcome::TooLarge;
        r.error = QStringLiteral("more than %1 bytes").arg(maxBytes_);
    } else if (r.status != 0 && r.status != 200) {
        r.outcome = HttpReply::Outcome::BadStatus;
        r.error = QStringLiteral("HTTP status %1").arg(r.status);
    } else if (reply->error() != QNetworkReply::NoError || r.status != 200) {
        r.outcome = HttpReply::Outcome::Failed;
        r.error = reply->errorString();
    } else {
        r.outcome = HttpReply::Outcome::Ok;
        r.body = body_;
    }
    Finish(std::move(r));
}

void QtHttpGet::Finish(HttpReply result)
{
    if (finishing_)
        return;
    timer_.stop();
    if (QNetworkReply* reply = reply_.data()) {
        reply_.clear();
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    body_.clear();
    finishing_ = true;
    // The answer always comes from the event loop, never from inside Get.
    const unsigned generation = generation_;
    QTimer::singleShot(0, this, [this, generation, result = std::move(result)] {
        if (generation != generation_ || !finishing_)
            return;
        finishing_ = false;
        Done done = std::move(done_);
        done_ = nullptr;
        if (done)
            done(result);
    });
}

} // namespace platform
