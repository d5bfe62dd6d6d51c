#include "platform/event_delivery.hpp"
#include "printers.hpp"

#include <functional>
#include <map>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace brindle::platform {
namespace {

struct Reported {
    std::string event;
    ErrorNumber number;
    std::string description;
};

class RecordingReporter final : public EventReporter {
public:
    void EventFailed(const EventSource& event, const RuntimeError& error) noexcept override {
        failed.push_back({std::string(event.control), error.Number(), error.Description()});
    }
    void EventCompleted(const EventSource& event) noexcept override {
        completed.emplace_back(event.control);
    }

    std::vector<Reported> failed;
    std::vector<std::string> completed;
};

// Window logic whose handlers are set per test, keyed by the control name.
class ScriptedLogic final : public EventTarget {
public:
    void Handle(const EventSource& event) override {
        trace.emplace_back(event.control);
        if (const auto found = handlers.find(std::string(event.control)); found != handlers.end()) {
            found->second();
        }
    }

    std::map<std::string, std::function<void()>> handlers;
    std::vector<std::string> trace;
};

class EventDeliveryTest : public ::testing::Test {
protected:
    EventDeliveryTest() { delivery.Attach(logic); }

    // A toolkit call that raises the named events synchronously, as setting a text does.
    void ToolkitCallRaising(std::initializer_list<std::string_view> controls) {
        delivery.CallThrough([&] {
            for (const std::string_view control : controls) {
                delivery.Raise({control, EventKind::Change});
            }
        });
    }

    RecordingReporter reporter;
    ScriptedLogic logic;
    EventDelivery delivery{reporter};
    std::vector<std::string> reached;
};

TEST_F(EventDeliveryTest, ReportsACompletedEventOnce) {
    logic.handlers["a"] = [&] { ToolkitCallRaising({"b"}); };
    delivery.Raise({"a", EventKind::Click});
    EXPECT_EQ(logic.trace, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(reporter.completed, std::vector<std::string>{"a"});
    EXPECT_TRUE(reporter.failed.empty());
}

TEST_F(EventDeliveryTest, ReportsAnErrorAtTheTopOfItsEventAndCarriesOn) {
    logic.handlers["a"] = [] { RaiseOverflow(); };
    delivery.Raise({"a", EventKind::Change});
    delivery.Raise({"b", EventKind::Change});
    ASSERT_EQ(reporter.failed.size(), 1U);
    EXPECT_EQ(reporter.failed[0].event, "a");
    EXPECT_EQ(reporter.failed[0].number, ErrorNumber::Overflow);
    EXPECT_EQ(reporter.completed, std::vector<std::string>{"b"});
}

// The error of a nested handler ends that handler, then every handler that called it through the
// toolkit, and is reported once, for the event the user caused.
TEST_F(EventDeliveryTest, CarriesANestedErrorOutThroughEveryCallingHandler) {
    logic.handlers["load"] = [&] {
        ToolkitCallRaising({"first"});
        reached.emplace_back("load after first");
        ToolkitCallRaising({"second"});
    };
    logic.handlers["first"] = [&] {
        ToolkitCallRaising({"deepest"});
        reached.emplace_back("first after deepest");
    };
    logic.handlers["deepest"] = [] { RaiseControlCallFailed("lblResMB", "setting the caption"); };

    delivery.Raise({"load", EventKind::Load});

    EXPECT_TRUE(reached.empty());
    EXPECT_EQ(logic.trace, (std::vector<std::string>{"load", "first", "deepest"}));
    ASSERT_EQ(reporter.failed.size(), 1U);
    EXPECT_EQ(reporter.failed[0].event, "load");
    EXPECT_EQ(reporter.failed[0].number, ErrorNumber::ControlCallFailed);
    EXPECT_EQ(reporter.failed[0].description,
              "Control call failed: setting the caption of lblResMB");
    EXPECT_TRUE(reporter.completed.empty());
}

TEST_F(EventDeliveryTest, DeliversNoMoreEventsOfACallOnceOneOfItsHandlersFailed) {
    logic.handlers["a"] = [&] { ToolkitCallRaising({"failing", "later"}); };
    logic.handlers["failing"] = [] { RaiseOverflow(); };
    delivery.Raise({"a", EventKind::Click});
    EXPECT_EQ(logic.trace, (std::vector<std::string>{"a", "failing"}));
    EXPECT_EQ(reporter.failed.size(), 1U);
}

TEST_F(EventDeliveryTest, LetsACallerGoOnAfterANestedHandlerSucceeds) {
    logic.handlers["a"] = [&] {
        ToolkitCallRaising({"b"});
        reached.emplace_back("a after b");
    };
    delivery.Raise({"a", EventKind::Click});
    EXPECT_EQ(reached, std::vector<std::string>{"a after b"});
}

TEST_F(EventDeliveryTest, PrefersTheHandlersErrorToTheToolkitCallsOwnFailure) {
    logic.handlers["b"] = [] { RaiseOverflow(); };
    logic.handlers["a"] = [&] {
        delivery.CallThrough([&] {
            delivery.Raise({"b", EventKind::Change});
            RaiseControlCallFailed("txtCD", "setting the text");
        });
    };
    delivery.Raise({"a", EventKind::Click});
    ASSERT_EQ(reporter.failed.size(), 1U);
    EXPECT_EQ(reporter.failed[0].number, ErrorNumber::Overflow);

    logic.handlers.erase("b");
    delivery.Raise({"a", EventKind::Click});
    ASSERT_EQ(reporter.failed.size(), 2U);
    EXPECT_EQ(reporter.failed[1].number, ErrorNumber::ControlCallFailed);
}

TEST_F(EventDeliveryTest, TurnsForeignExceptionsIntoRunTimeErrors) {
    logic.handlers["memory"] = [] { throw std::bad_alloc(); };
    logic.handlers["library"] = [] { throw std::out_of_range("vector"); };
    logic.handlers["anything"] = [] { throw 42; };
    delivery.Raise({"memory", EventKind::Change});
    delivery.Raise({"library", EventKind::Change});
    delivery.Raise({"anything", EventKind::Change});
    ASSERT_EQ(reporter.failed.size(), 3U);
    EXPECT_EQ(reporter.failed[0].number, ErrorNumber::OutOfMemory);
    EXPECT_EQ(reporter.failed[1].number, ErrorNumber::Internal);
    EXPECT_EQ(reporter.failed[2].number, ErrorNumber::Internal);
}

TEST(EventDelivery, DropsEventsUntilLogicIsAttached) {
    RecordingReporter reporter;
    EventDelivery delivery(reporter);
    delivery.Raise({"opt11kmono", EventKind::Click});
    EXPECT_TRUE(reporter.completed.empty());
    EXPECT_TRUE(reporter.failed.empty());
}

} // namespace
} // namespace brindle::platform
