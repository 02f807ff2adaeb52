// input.h: a fuzzer's input read as a stream of bytes; past its end every byte reads 0.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fuzz {
struct Input {
    const uint8_t* data;
    size_t size;
    uint8_t byte() {
        if (!size) return 0;
        --size;
        return *data++;
    }
    // Four bytes, the first the most significant.
    int32_t raw() {
        int32_t v = 0;
        for (int i = 0; i < 4; ++i) v = int32_t(uint32_t(v) << 8 | byte());
        return v;
    }
};
}  // namespace fuzz
