#pragma once

#include "platform/http_get.h"

#include <QStringList>

namespace testing_support {

// An HTTP transfer the test answers by hand: it records the addresses asked
// for and keeps the callback of the running one.
class FakeHttpGet : public platform::HttpGet {
public:
    void Get(const QUrl& url, Done done) override
    {
        requests << url.toString();
        done_ = std::move(done);
    }
    void Cancel() override
    {
        if (done_)
            ++cancelled;
        done_ = nullptr;
    }
    bool Busy() const override { return static_cast<bool>(done_); }

    // Completes the running transfer with this answer.
    void Answer(const platform::HttpReply& reply)
    {
        Done done = std::move(done_);
        done_ = nullptr;
        if (done)
            done(reply);
    }
    void AnswerOk(const QByteArray& body)
    {
        platform::HttpReply r;
        r.outcome = platform::HttpReply::Outcome::Ok;
        r.status = 200;
        r.body = body;
        Answer(r);
    }

    QStringList requests;
    int cancelled = 0;

private:
    Done done_;
};

} // namespace testing_support
