#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/sweep_sequence.h"

namespace tarnwell {
namespace {

TEST(SweepSequence, RunsEveryStepInOrder) {
    std::string order;
    EXPECT_EQ(RunSweepSequence({[&] { order += "I"; }, nullptr, [&] { order += "W"; }, [&] { order += "W"; }}), 4);
    EXPECT_EQ(order, "IWW");
}

TEST(SweepSequence, AFailingCategoryEndsTheSequenceQuietly) {
    std::string order;
    const int completed = RunSweepSequence({[&] { order += "I"; }, [] { throw std::runtime_error("broken"); },
                                            [&] { order += "W"; }});
    EXPECT_EQ(completed, 1);
    EXPECT_EQ(order, "I");
}

}  // namespace
}  // namespace tarnwell
