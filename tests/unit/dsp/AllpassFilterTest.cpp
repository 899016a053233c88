// AllpassFilter: the impulse response of the diffuser.
#include "dsp/AllpassFilter.h"

#include <gtest/gtest.h>

namespace ZEPHRA2F9C41D07 {
namespace {

TEST(AllpassFilter, ImpulseGivesMinusOneThenHalvingEchoesEveryLength) {
    AllpassFilter allpass;
    ASSERT_TRUE(allpass.allocate(7));
    allpass.clearMemory();
    allpass.setFeedback(0.5f);
    for (int n = 0; n < 50; ++n) {
        float expected = 0.0f;
        if (n == 0) expected = -1.0f;
        else if (n % 7 == 0) expected = 1.0f / static_cast<float>(1 << (n / 7 - 1));
        ASSERT_EQ(allpass.process(n == 0 ? 1.0f : 0.0f), expected) << n;
    }
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
