// Listeners to subclassed controls' messages: called in order until one handles the
// message, registered once per method and object, dropped when they throw.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "themes/ListenerList.h"

namespace {

using Listeners = ListenerList<int>;

struct Recorder {
    std::string* log;
    char name;
    bool handles = false;
    void Hear(int message, bool& handled)
    {
        *log += name + std::to_string(message);
        handled = handles;
    }
    void Fail(int, bool& handled)
    {
        *log += name + std::string("!");
        handled = true;
        throw std::runtime_error("listener failed");
    }
};

} // namespace

TEST(ListenerList, CallsInOrderUntilOneHandles)
{
    std::string log;
    Recorder a{&log, 'a'}, b{&log, 'b', true}, c{&log, 'c'};
    Listeners listeners;
    for (Recorder* r : {&a, &b, &c})
        listeners.Register(Listeners::Bind<&Recorder::Hear>(r));
    listeners.Register(Listeners::Bind<&Recorder::Hear>(&a));  // the same: not twice
    EXPECT_EQ(listeners.Count(), 3);
    EXPECT_TRUE(listeners.Dispatch(7));
    EXPECT_EQ(log, "a7b7");
    listeners.Unregister(Listeners::Bind<&Recorder::Hear>(&b));
    log.clear();
    EXPECT_FALSE(listeners.Dispatch(8));
    EXPECT_EQ(log, "a8c8");
    int index = -1;
    EXPECT_TRUE(listeners.Find(Listeners::Bind<&Recorder::Hear>(&c), index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(listeners.Find(Listeners::Bind<&Recorder::Fail>(&c), index));
}

TEST(ListenerList, AListenerThatThrowsIsDroppedAndTheNextOneStillRuns)
{
    std::string log;
    Recorder a{&log, 'a'}, b{&log, 'b'}, c{&log, 'c', true};
    Listeners listeners;
    listeners.Register(Listeners::Bind<&Recorder::Hear>(&a));
    listeners.Register(Listeners::Bind<&Recorder::Fail>(&b));
    listeners.Register(Listeners::Bind<&Recorder::Hear>(&c));
    EXPECT_TRUE(listeners.Dispatch(1));  // the throw's "handled" does not count
    EXPECT_EQ(log, "a1b!c1");
    EXPECT_EQ(listeners.Count(), 2);
    log.clear();
    listeners.Dispatch(2);
    EXPECT_EQ(log, "a2c2");
}
