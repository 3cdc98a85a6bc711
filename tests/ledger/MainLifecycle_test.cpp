#include "ledger/MainLifecycle.h"

#include <gtest/gtest.h>

#include <deque>

#include "platform/Errors.h"

namespace {
using namespace ledger;

// Scripts the window and the dialogs around the lifecycle and records the order
// of what happened.
struct Script : Prompter {
    std::vector<std::string> calls;
    bool passwordPasses = true;
    std::deque<bool> selections{true};
    std::deque<SaveAnswer> changeAnswers;
    bool returnMark = false;
    bool exitAnswer = true;
    bool logFails = false;
    bool saveFails = false;

    void error(const std::string& t) override { calls.push_back("error:" + t); }
    void warning(const std::string& t) override { calls.push_back("warning:" + t); }
    void information(const std::string& t) override { calls.push_back("info:" + t); }
    bool confirm(const std::string& t) override {
        calls.push_back("ask:" + t);
        return exitAnswer;
    }

    MainLifecycle::Hooks hooks() {
        MainLifecycle::Hooks h;
        h.passwordGate = [this] {
            calls.push_back("password");
            return passwordPasses;
        };
        h.selectPeriod = [this] {
            calls.push_back("select");
            bool ok = selections.empty() ? false : selections.front();
            if (!selections.empty()) selections.pop_front();
            if (ok) returnMark = false;
            return ok;
        };
        h.returnRequested = [this] { return returnMark; };
        h.openPeriod = [this] { calls.push_back("open"); };
        h.restorePlacement = [this] { calls.push_back("placement"); };
        h.closeWindow = [this] { calls.push_back("close"); };
        h.checkModified = [this] {
            calls.push_back("check");
            if (changeAnswers.empty()) return SaveAnswer::No;
            SaveAnswer a = changeAnswers.front();
            changeAnswers.pop_front();
            return a;
        };
        h.save = [this] {
            calls.push_back("save");
            if (saveFails) throw platform::IoError::fromErrno(28);
        };
        h.logStart = [this] {
            calls.push_back("log");
            if (logFails) throw platform::IoError::fromErrno(13);
        };
        return h;
    }
};

using Calls = std::vector<std::string>;
const std::string kExit = "ask:プログラムを終了しますか？";

struct LifecycleTest : ::testing::Test {
    Script s;
    MainLifecycle life{s, s.hooks()};
    void SetUp() override { life.tablesLoaded = 3; }
};

TEST_F(LifecycleTest, StartRunsItsStepsInOrderOnce) {
    life.FormActivate();
    EXPECT_EQ(s.calls, (Calls{"placement", "password", "select", "open", "log"}));
    EXPECT_FALSE(life.noPeriodYet);
    EXPECT_TRUE(life.writesPlacementOnClose());
    life.FormActivate();
    EXPECT_EQ(s.calls.size(), 5u);
}

TEST_F(LifecycleTest, MissingTablesEndTheProgramBeforeAnythingElse) {
    life.tablesLoaded = 2;
    life.FormActivate();
    EXPECT_EQ(s.calls, (Calls{"error:必要な表データファイルが足りません。", "close"}));
    // The stored placement was never taken up, so it is not overwritten.
    EXPECT_FALSE(life.writesPlacementOnClose());
    EXPECT_TRUE(life.FormCloseQuery());
}

TEST_F(LifecycleTest, CancelledPasswordEndsWithoutSelectionOrLog) {
    s.passwordPasses = false;
    life.FormActivate();
    EXPECT_EQ(s.calls, (Calls{"placement", "password", "close"}));
}

TEST_F(LifecycleTest, CancelledSelectionIsStillLoggedAndClosesWithoutQuestion) {
    s.selections = {false};
    life.FormActivate();
    EXPECT_EQ(s.calls, (Calls{"placement", "password", "select", "log", "close"}));
    EXPECT_TRUE(life.noPeriodYet);
    EXPECT_TRUE(life.FormCloseQuery());
    EXPECT_EQ(s.calls.back(), "close");
}

TEST_F(LifecycleTest, ALogThatCannotBeWrittenIsReportedAndRepeatsNothing) {
    s.logFails = true;
    life.FormActivate();
    EXPECT_EQ(s.calls, (Calls{"placement", "password", "select", "open", "log",
                              "error:ファイルへのアクセスが拒否されました"}));
    EXPECT_FALSE(life.noPeriodYet);
    life.FormActivate();
    EXPECT_EQ(s.calls.size(), 6u);
}

TEST_F(LifecycleTest, CloseOfAnUnchangedPeriodAsksOnlyTheExitQuestion) {
    life.FormActivate();
    s.calls.clear();
    s.exitAnswer = false;
    EXPECT_FALSE(life.FormCloseQuery());
    s.exitAnswer = true;
    EXPECT_TRUE(life.FormCloseQuery());
    EXPECT_EQ(s.calls, (Calls{"check", kExit, "check", kExit}));
}

TEST_F(LifecycleTest, ChangedPeriodAnswers) {
    life.FormActivate();
    struct Case {
        std::deque<SaveAnswer> answers;
        bool closes;
        Calls calls;
    };
    const Case cases[] = {
        {{SaveAnswer::Cancel}, false, {"check"}},
        {{SaveAnswer::Yes, SaveAnswer::No}, true, {"check", "save", "check", kExit}},
        {{SaveAnswer::No}, true, {"check", kExit}},
    };
    for (const Case& c : cases) {
        s.calls.clear();
        s.changeAnswers = c.answers;
        EXPECT_EQ(life.FormCloseQuery(), c.closes);
        EXPECT_EQ(s.calls, c.calls);
    }
}

TEST_F(LifecycleTest, AFailedSaveKeepsTheWindow) {
    life.FormActivate();
    s.calls.clear();
    s.saveFails = true;
    s.changeAnswers = {SaveAnswer::Yes};
    EXPECT_FALSE(life.FormCloseQuery());
    EXPECT_EQ(s.calls, (Calls{"check", "save", "error:ディスクがいっぱいです"}));
}

TEST_F(LifecycleTest, ReturnCommandGoesBackToTheSelection) {
    life.FormActivate();
    // OK opens the new period and keeps the window; the next close asks again.
    s.calls.clear();
    s.returnMark = true;
    s.selections = {true};
    EXPECT_FALSE(life.FormCloseQuery());
    EXPECT_EQ(s.calls, (Calls{"check", "select", "open"}));
    EXPECT_TRUE(life.FormCloseQuery());
    EXPECT_EQ(s.calls.back(), kExit);

    // Cancel in the change check keeps the mark: the next close shows the selection,
    // and cancelling it ends the program without the exit question.
    s.calls.clear();
    s.returnMark = true;
    s.changeAnswers = {SaveAnswer::Cancel};
    s.selections = {false};
    EXPECT_FALSE(life.FormCloseQuery());
    EXPECT_TRUE(s.returnMark);
    EXPECT_TRUE(life.FormCloseQuery());
    EXPECT_EQ(s.calls, (Calls{"check", "check", "select"}));
}

TEST_F(LifecycleTest, AfterARestoreNothingIsAskedOrWritten) {
    life.FormActivate();
    s.calls.clear();
    life.skipClosePrompts = true;
    EXPECT_TRUE(life.FormCloseQuery());
    EXPECT_TRUE(s.calls.empty());
    EXPECT_FALSE(life.writesPlacementOnClose());
}

}  // namespace
