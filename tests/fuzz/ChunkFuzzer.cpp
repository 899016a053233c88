// Any bytes, of any size, handed to setChunk as a preset and as a bank, one
// instance returned to its first state before each, checked against the
// chunk rules of ChunkModel.h.
#include "tests/fuzz/ChunkModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;  // sizes beyond a bank's 800 bytes are all alike
    static FuzzInstance* plug = new FuzzInstance();
    chunk_model::check(*plug, data, size, true);
    chunk_model::check(*plug, data, size, false);
    return 0;
}
