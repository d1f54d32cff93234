// A 64-bit FNV-1a fingerprint of values, each added with its length so that
// neighbours cannot merge: equal sequences give equal fingerprints.
#pragma once
#include <cstdint>
#include <string_view>

namespace vm {

class Fnv {
public:
    static constexpr uint64_t kSeed = 0xcbf29ce484222325ULL;
    explicit Fnv(uint64_t seed = kSeed) : h_(seed) {}
    void Add(std::string_view s) {
        Add(static_cast<int64_t>(s.size()));
        for (unsigned char c : s) Byte(c);
    }
    void Add(int64_t n) {
        for (int i = 0; i < 8; ++i) Byte(static_cast<unsigned char>(static_cast<uint64_t>(n) >> (8 * i)));
    }
    uint64_t value() const { return h_; }

private:
    void Byte(unsigned char c) {
        h_ ^= c;
        h_ *= 0x100000001b3ULL;
    }
    uint64_t h_;
};

}  // namespace vm
