#include "audio/adpcm.h"
#include "audio/adpcm_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(AdpcmDecode, OneStepFromAGivenState)
{
    struct Case {
        TAdpcmState before;
        uint8_t code;
        int16_t sample;
        int8_t stepIndex;
    };
    for (const Case &c : {
             Case{{0, 0}, 0, 0, 0},              // index -1 clamps back to 0
             Case{{0, 0}, 7, 11, 8},             // 0 + 7 + 3 + 1: each term truncated on its own
             Case{{0, 0}, 15, -11, 8},           // the sign bit leaves the index step alone
             Case{{0, 88}, 0, 4095, 87},         // largest step
             Case{{-100, 3}, 11, -108, 2},       // step 10: 1 + 5 + 2 subtracted
             Case{{0, 88}, 4, 32767, 88},        // 4095 + 32767 clamped high
             Case{{-32000, 88}, 15, -32767, 88}, // clamped low at -32767, never -32768
         }) {
        TAdpcmState state = c.before;
        EXPECT_EQ(AdpcmDecode(c.code, state), c.sample)
            << "code " << int{c.code} << " from (" << c.before.Predictor << ", " << int{c.before.StepIndex} << ")";
        EXPECT_EQ(state.Predictor, c.sample);
        EXPECT_EQ(state.StepIndex, c.stepIndex);
    }
}

TEST(AdpcmDecode, SixSevensFromTheInitialStateClimbWithTheStep)
{
    TAdpcmState state;
    std::vector<int16_t> samples;
    for (int i = 0; i < 3; ++i) {
        samples.push_back(AdpcmDecode(0x7, state));
        samples.push_back(AdpcmDecode(0x7, state));
    }
    EXPECT_EQ(samples, (std::vector<int16_t>{11, 41, 104, 240, 533, 1164}));
    EXPECT_EQ(state.StepIndex, 48);
}

TEST(AdpcmDecode, LongRunsSaturateSymmetrically)
{
    for (const uint8_t code : {uint8_t{7}, uint8_t{15}}) {
        TAdpcmState state;
        int16_t lowest = 0;
        for (int i = 0; i < 200; ++i)
            lowest = std::min(lowest, AdpcmDecode(code, state));
        EXPECT_EQ(state.Predictor, code == 7 ? 32767 : -32767);
        EXPECT_EQ(state.StepIndex, 88);
        EXPECT_GE(lowest, -32767);
    }
}

TEST(AdpcmDecodeByte, SameAsTwoSingleStepsFromEveryIndexAndByte)
{
    std::vector<int16_t> predictors;
    for (int predictor = -32767; predictor <= 32767; predictor += 331)
        predictors.push_back(static_cast<int16_t>(predictor));
    for (int16_t nearEnd = 0; nearEnd < 8; ++nearEnd) {
        predictors.push_back(static_cast<int16_t>(32767 - nearEnd));
        predictors.push_back(static_cast<int16_t>(-32767 + nearEnd));
    }
    int mismatches = 0;
    for (int8_t index = 0; index <= 88; ++index) {
        for (int byte = 0; byte < 256; ++byte) {
            for (const int16_t predictor : predictors) {
                TAdpcmState single{predictor, index};
                const int16_t first = AdpcmDecode(static_cast<uint8_t>(byte >> 4), single);
                const int16_t second = AdpcmDecode(static_cast<uint8_t>(byte & 0x0F), single);
                TAdpcmState whole{predictor, index};
                const AdpcmSamplePair pair = AdpcmDecodeByte(static_cast<uint8_t>(byte), whole);
                const bool same = pair.first == first && pair.second == second
                                  && whole.Predictor == single.Predictor && whole.StepIndex == single.StepIndex;
                if (!same && mismatches++ < 5)
                    ADD_FAILURE() << "byte " << byte << " from (" << predictor << ", " << int{index} << ")";
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}
