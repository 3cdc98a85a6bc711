#pragma once
#include <string>
#include <utility>
#include <vector>

// Messages a rule wants the user to see (a malformed number, a refused value).
// The logic cannot show a box itself; it reports here, and the program hands in
// a sink that shows the box while tests hand in a log.
namespace ledger {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void error(const std::string& text) = 0;
    virtual void warning(const std::string& text) = 0;
    virtual void information(const std::string& text) = 0;
};

// A sink that can also ask a Yes/No question (the start and close steps).
class Prompter : public MessageSink {
public:
    // True on Yes.
    virtual bool confirm(const std::string& text) = 0;
};

// Keeps every message in order; for tests and for callers that show them later.
class MessageLog : public MessageSink {
public:
    enum class Kind { Error, Warning, Information };

    void error(const std::string& text) override { entries.emplace_back(Kind::Error, text); }
    void warning(const std::string& text) override { entries.emplace_back(Kind::Warning, text); }
    void information(const std::string& text) override {
        entries.emplace_back(Kind::Information, text);
    }

    std::vector<std::pair<Kind, std::string>> entries;
};

}  // namespace ledger
