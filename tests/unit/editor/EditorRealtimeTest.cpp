// With the editor open, the audio thread's overload reports and automation never allocate or lock.
#include <thread>

#include "EditorFixture.h"
#include "tests/unit/support/RealtimeGuard.h"

using namespace ZEPHRA2F9C41D07;

namespace {

TEST_F(EditorFixture, NotificationsOnTheAudioThreadNeitherAllocateNorLock) {
    openEditor();
    tick();
    realtime_guard::Counts counts;
    std::thread audio([&] {
        realtime_guard::watchThisThread();
        for (int block = 0; block < 2000; ++block) {
            plug->setParameter(kOverload, (block / 7) % 2 ? 1.0f : 0.0f);  // after every block
            plug->setParameter(block % 10, static_cast<float>(block % 11) / 10.0f);
            plug->setBypass(block % 50 == 0);
        }
        counts = realtime_guard::stopWatching();
    });
    audio.join();
    EXPECT_EQ(counts.allocations, 0u) << "heap allocations on the audio thread";
    EXPECT_EQ(counts.locks, 0u) << "mutex locks on the audio thread";
    tick();  // and the window thread picks it all up
    EXPECT_FLOAT_EQ(editor->knobValue(kInTrim), plug->getParameter(kInTrim) * 100.0f);
}

}  // namespace
