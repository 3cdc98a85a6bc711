#pragma once
#include <QStringList>
#include <vector>

#include "platform/ui/MessageBox.h"

namespace testing_support {

// Answers every message box shown while it lives and keeps its text: a box with
// only OK gets OK, a question gets `answer`.
struct BoxRecorder {
    QStringList boxes;
    std::vector<platform::ui::MessageRequest> requests;
    platform::ui::Answer answer = platform::ui::Answer::Yes;
    platform::ui::ScopedResponder scope{[this](const platform::ui::MessageRequest& m) {
        boxes << m.text;
        requests.push_back(m);
        return m.buttons == platform::ui::Buttons::Ok ? platform::ui::Answer::Ok : answer;
    }};
};

}  // namespace testing_support
