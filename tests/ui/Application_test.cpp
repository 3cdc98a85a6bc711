#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <cerrno>
#include <vector>

#include "platform/Errors.h"
#include "platform/ui/MessageBox.h"

namespace {

using platform::ui::Answer;
using platform::ui::EventBoundary;
using platform::ui::Icon;
using platform::ui::MessageBox;
using platform::ui::MessageRequest;
using platform::ui::ScopedResponder;

struct Recorder {
    std::vector<MessageRequest> seen;
    MessageBox::Responder responder() {
        return [this](const MessageRequest& r) {
            seen.push_back(r);
            return Answer::Ok;
        };
    }
};

const QEvent::Type kFail = QEvent::Type(QEvent::User + 1);
const QEvent::Type kWork = QEvent::Type(QEvent::User + 2);

// An object whose handler fails on one kind of event and does its work on another.
class Handler : public QObject {
public:
    int worked = 0;
    bool event(QEvent* e) override {
        if (e->type() == kFail) throw platform::IoError::fromErrno(ENOENT);
        if (e->type() == kWork) {
            ++worked;
            return true;
        }
        return QObject::event(e);
    }
};

// The way the application object delivers: through the running application.
bool sendThroughApplication(QObject* r, QEvent* e) {
    return QCoreApplication::instance()->notify(r, e);
}

TEST(ErrorBoundary, GuardedShowsWhatAHandlerThrowsAndReturnsFalse) {
    Recorder rec;
    ScopedResponder scope(rec.responder());
    EXPECT_FALSE(
        platform::ui::guarded(nullptr, [] { throw platform::IoError::fromErrno(ENOSPC); }));
    EXPECT_FALSE(platform::ui::guarded(
        nullptr, [] { throw platform::ConvertError("｢😀｣はこのシステムで使えない文字です。"); }));
    EXPECT_FALSE(platform::ui::guarded(nullptr, [] { throw 42; }));
    bool ran = false;
    EXPECT_TRUE(platform::ui::guarded(nullptr, [&] { ran = true; }));
    EXPECT_TRUE(ran);

    ASSERT_EQ(rec.seen.size(), 3u);
    EXPECT_EQ(rec.seen[0].text, "ディスクがいっぱいです");
    EXPECT_EQ(rec.seen[0].icon, Icon::Error);
    EXPECT_EQ(rec.seen[1].text, "｢😀｣はこのシステムで使えない文字です。");
    EXPECT_EQ(rec.seen[2].text, "予期しないエラーが発生しました。");
}

TEST(ErrorBoundary, AnEventHandlerThatThrowsIsReportedAndTheProgramCarriesOn) {
    Recorder rec;
    ScopedResponder scope(rec.responder());
    EventBoundary boundary;
    Handler handler;

    QEvent fail(kFail);
    EXPECT_FALSE(boundary.deliver(&handler, &fail, sendThroughApplication));
    ASSERT_EQ(rec.seen.size(), 1u);
    EXPECT_EQ(rec.seen[0].text, "ファイルが見つかりません");
    EXPECT_EQ(rec.seen[0].icon, Icon::Error);

    // The next event is handled as usual, through the boundary and through the
    // application's own queue.
    QEvent work(kWork);
    EXPECT_TRUE(boundary.deliver(&handler, &work, sendThroughApplication));
    QCoreApplication::postEvent(&handler, new QEvent(kWork));
    QCoreApplication::sendPostedEvents(&handler);
    EXPECT_EQ(handler.worked, 2);

    // A second failure is reported like the first.
    EXPECT_FALSE(boundary.deliver(&handler, &fail, sendThroughApplication));
    EXPECT_EQ(rec.seen.size(), 2u);
}

// While the error box is open its own event loop runs; a handler that throws
// there again must not open a box over the box.
TEST(ErrorBoundary, AFailureWhileTheErrorBoxIsOpenOpensNoSecondBox) {
    EventBoundary boundary;
    Handler handler;
    int boxes = 0;
    bool nestedResult = true;
    ScopedResponder scope([&](const MessageRequest&) {
        ++boxes;
        QEvent again(kFail);
        nestedResult = boundary.deliver(&handler, &again, sendThroughApplication);
        return Answer::Ok;
    });
    QEvent fail(kFail);
    EXPECT_FALSE(boundary.deliver(&handler, &fail, sendThroughApplication));
    EXPECT_EQ(boxes, 1);
    EXPECT_FALSE(nestedResult);

    // Once the box is closed, the next failure gets its box again.
    EXPECT_FALSE(boundary.deliver(&handler, &fail, sendThroughApplication));
    EXPECT_EQ(boxes, 2);
}

}  // namespace
