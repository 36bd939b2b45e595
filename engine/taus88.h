#pragma once
/// L'Ecuyer's three-component combined Tausworthe generator taus88 (1996).
/// One state serves the whole process: it is seeded once at start-up and no
/// run ever resets it, so every process start repeats the same sequence.

#include <cstdint>

namespace quorvane {

class Taus88 {
  public:
    static constexpr std::uint32_t kInitialZ1 = 390451501u;
    static constexpr std::uint32_t kInitialZ2 = 613566701u;
    static constexpr std::uint32_t kInitialZ3 = 858993401u;

    /// The seeds the program starts with.
    static constexpr std::uint32_t kStartSeed1 = 337643u;
    static constexpr std::uint32_t kStartSeed2 = 62047u;
    static constexpr std::uint32_t kStartSeed3 = 2751976u;

    /// Next 32-bit word.
    std::uint32_t NextRandom() {
        std::uint32_t t = ((z1_ << 13) ^ z1_) >> 19;
        z1_ = ((z1_ & 0xFFFFFFFEu) << 12) ^ t;
        t = ((z2_ << 2) ^ z2_) >> 25;
        z2_ = ((z2_ & 0xFFFFFFF8u) << 4) ^ t;
        t = ((z3_ << 3) ^ z3_) >> 11;
        z3_ = ((z3_ & 0xFFFFFFF0u) << 17) ^ t;
        return z1_ ^ z2_ ^ z3_;
    }

    /// A component takes its seed only when the seed exceeds 2^(k-s) (524288,
    /// 33554432, 2048): smaller seeds would leave the word degenerate. One
    /// number is drawn and discarded afterwards.
    void Seed(std::uint32_t seed1, std::uint32_t seed2, std::uint32_t seed3) {
        if (seed1 > (1u << 19)) z1_ = seed1;
        if (seed2 > (1u << 25)) z2_ = seed2;
        if (seed3 > (1u << 11)) z3_ = seed3;
        NextRandom();
    }

    void SeedForStart() { Seed(kStartSeed1, kStartSeed2, kStartSeed3); }

    std::uint32_t z1() const { return z1_; }
    std::uint32_t z2() const { return z2_; }
    std::uint32_t z3() const { return z3_; }

  private:
    std::uint32_t z1_ = kInitialZ1;
    std::uint32_t z2_ = kInitialZ2;
    std::uint32_t z3_ = kInitialZ3;
};

}  // namespace quorvane
