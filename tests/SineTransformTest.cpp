#include "dsp/SineTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace ondrel {
namespace {

// Largest difference between the fast transform and the definition, relative to the largest
// coefficient magnitude.
double RelativeError(const ChannelData& input) {
    ChannelData fast = input, direct = input;
    SineTransform(fast);
    SineTransformDirect(direct);
    double largest = 0, error = 0;
    for (size_t k = 0; k < TransformLength; ++k) {
        largest = std::max(largest, std::abs(direct[k]));
        error = std::max(error, std::abs(fast[k] - direct[k]));
    }
    return largest == 0 ? error : error / largest;
}

TEST(SineTransform, AgreesWithTheDefinitionOnRandomInputs) {
    std::mt19937 random(20261211);
    std::uniform_real_distribution<double> uniform(-10.0, 10.0);
    for (int trial = 0; trial < 500; ++trial) {
        ChannelData x;
        for (double& v : x) {
            v = uniform(random);
        }
        ASSERT_LT(RelativeError(x), 1e-13) << "trial " << trial;
    }
}

TEST(SineTransform, EachSingleImpulseAgreesWithTheDefinition) {
    for (size_t j = 0; j < TransformLength; ++j) {
        ChannelData x{};
        x[j] = 1.0;
        ASSERT_LT(RelativeError(x), 1e-13) << "impulse at " << j;
    }
}

TEST(SineTransform, SpecialInputs) {
    const double step = std::numbers::pi / 512;
    ChannelData zero{};
    SineTransform(zero);
    for (double v : zero) {
        EXPECT_EQ(v, 0.0);
    }

    ChannelData impulse{};
    impulse[0] = 1.0;
    SineTransform(impulse);
    EXPECT_NEAR(impulse[0], 1.0, 1e-14);
    EXPECT_NEAR(impulse[1], 0.006135884649154433, 1e-15);
    for (size_t k = 1; k < TransformLength; ++k) {
        EXPECT_NEAR(impulse[k], std::sin(static_cast<double>(k) * step), 1e-14) << k;
    }

    ChannelData constant;
    constant.fill(1.0);
    SineTransform(constant);
    EXPECT_NEAR(constant[0], 0.0, 1e-12);
    EXPECT_NEAR(constant[1], 162.9756843844514, 1e-11);
    EXPECT_NEAR(constant[3], 54.327955324896465, 1e-11);
    EXPECT_NEAR(constant[255], 1.0000188250717756, 1e-12);
    for (size_t k = 2; k < TransformLength; k += 2) {
        EXPECT_NEAR(constant[k], 0.0, 1e-12) << k;
    }
    for (size_t k = 1; k < TransformLength; k += 2) {
        EXPECT_NEAR(constant[k], 1.0 / std::sin(static_cast<double>(k) * step), 1e-11) << k;
    }

    ChannelData alternating;
    for (size_t j = 0; j < TransformLength; ++j) {
        alternating[j] = (j % 2 == 0) ? 1.0 : -1.0;
    }
    SineTransform(alternating);
    EXPECT_NEAR(alternating[0], 256.0, 1e-12);
    for (size_t k = 1; k < TransformLength; ++k) {
        EXPECT_NEAR(alternating[k], 0.0, 1e-12) << k;
    }

    ChannelData tone;
    for (size_t j = 0; j < TransformLength; ++j) {
        tone[j] = std::sin(2 * std::numbers::pi * 10 * static_cast<double>(j) / 512);
    }
    SineTransform(tone);
    size_t peak = 0;
    for (size_t k = 0; k < TransformLength; ++k) {
        if (std::abs(tone[k]) > std::abs(tone[peak])) {
            peak = k;
        }
    }
    EXPECT_EQ(peak, 10u);
    EXPECT_NEAR(tone[10], 127.76, 0.01);
    EXPECT_NEAR(tone[9], 4.73, 0.01);
    EXPECT_NEAR(tone[11], -5.24, 0.01);
}

TEST(SineTransform, IsLinear) {
    std::mt19937 random(7);
    std::normal_distribution<double> normal;
    ChannelData x;
    for (double& v : x) {
        v = normal(random);
    }
    ChannelData once = x, scaled = x;
    for (double& v : scaled) {
        v *= -3.5;
    }
    SineTransform(once);
    SineTransform(scaled);
    for (size_t k = 0; k < TransformLength; ++k) {
        EXPECT_NEAR(scaled[k], -3.5 * once[k], 1e-12 * (1 + std::abs(once[k])));
    }
}

} // namespace
} // namespace ondrel
