// The chunk fuzzer's committed corpus replayed as an ordinary test, on every
// toolchain: each input handed to a fresh instance as a preset and as a bank
// chunk must follow the chunk rules of ChunkModel.h (a broken rule stops the
// program with the rule and the input's size).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/fuzz/ChunkModel.h"

namespace {

TEST(ChunkRules, CommittedChunksFollowTheModel) {
    int replayed = 0;
    FuzzInstance plug;
    for (const auto& entry : std::filesystem::directory_iterator(KORVEX_CHUNK_CORPUS)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
        std::fprintf(stderr, "%s\n", entry.path().filename().string().c_str());
        chunk_model::check(plug, bytes.data(), bytes.size(), true);
        chunk_model::check(plug, bytes.data(), bytes.size(), false);
        ++replayed;
    }
    EXPECT_GE(replayed, 10) << "inputs found in " << KORVEX_CHUNK_CORPUS;
}

}  // namespace
