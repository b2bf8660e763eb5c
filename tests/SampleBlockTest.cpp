#include "dsp/SampleBlock.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace ondrel {
namespace {

std::vector<unsigned char> BufferOf(int16_t sample) {
    std::vector<unsigned char> buffer(CaptureBufferBytes);
    for (size_t i = 0; i < SamplesPerBlock; ++i) {
        buffer[2 * i] = static_cast<unsigned char>(sample & 0xFF);
        buffer[2 * i + 1] = static_cast<unsigned char>((sample >> 8) & 0xFF);
    }
    return buffer;
}

TEST(ConvertCaptureBuffer, GainIsAppliedAndTruncatedTowardZero) {
    struct Case {
        int power;
        int16_t sample;
        int32_t expected;
    };
    const Case cases[] = {
        {100, -32768, -32768},
        {100, 32767, 32767},
        {29, 100, 28}, // 0.29 is held slightly below 0.29
        {58, 100, 57},
        {50, -1, 0},
        {50, -32768, -16384},
        {0, 12345, 0},
        {1000, -32768, -327680},
        {1000, 32767, 327670},
        {-100, 5, -5},
        {INT_MAX, 32767, INT_MAX}, // beyond 32 bits: saturates
        {INT_MAX, -32768, INT_MIN},
        {INT_MIN, 1, -21474836},
        {INT_MIN, 32767, INT_MIN},
        {INT_MIN, 0, 0},
        {6553900, 32767, INT_MAX},
        {6553800, 32767, 2147483646},
        {6553600, -32768, INT_MIN},
    };
    SampleBlock block;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "power " << c.power << " sample " << c.sample);
        ConvertCaptureBuffer(BufferOf(c.sample).data(), c.power, block);
        EXPECT_EQ(block[0], c.expected);
        EXPECT_EQ(block[SamplesPerBlock - 1], c.expected);
    }
}

TEST(ConvertCaptureBuffer, ReadsLittleEndianInterleavedSamplesInOrder) {
    std::vector<unsigned char> buffer(CaptureBufferBytes);
    for (size_t i = 0; i < SamplesPerBlock; ++i) {
        const auto value = static_cast<uint16_t>(static_cast<int16_t>(i) - 512);
        buffer[2 * i] = static_cast<unsigned char>(value & 0xFF);
        buffer[2 * i + 1] = static_cast<unsigned char>(value >> 8);
    }
    SampleBlock block;
    ConvertCaptureBuffer(buffer.data(), 100, block);
    for (size_t i = 0; i < SamplesPerBlock; ++i) {
        ASSERT_EQ(block[i], static_cast<int32_t>(i) - 512);
    }
}

} // namespace
} // namespace ondrel
