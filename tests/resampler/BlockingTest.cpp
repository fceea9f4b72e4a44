// How the input is cut into blocks: the output must not depend on it, and
// short, tiny, empty and silent blocks must be carried through correctly.

#include "ResamplerRuns.h"
#include "tools/reference/ReferenceResampler.h"

#include <gtest/gtest.h>

using namespace resampler_test;
using wowfix::VarispeedResampler;
using wowfix::reference::ReferenceResampler;

namespace {

constexpr int H = 8;

TEST(Blocking, OutputIndependentOfBlockSize)
{
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        const int frames = 30011;
        const auto input = testSignal(frames, seed);
        const auto ratios = wobblingCurve(frames, seed + 50, 0.03 * seed);
        const BlockRun whole = runBlocks<VarispeedResampler>(H, input, ratios, frames);
        for (int blockSize : {1, 2, 7, 64, 1000, 8192}) {
            const BlockRun blocked = runBlocks<VarispeedResampler>(H, input, ratios, blockSize);
            EXPECT_LE(maxAbsDiff(blocked.output, whole.output), 1e-6) << "seed " << seed << " block " << blockSize;
            const BlockRun direct = runBlocks<ReferenceResampler>(H, input, ratios, blockSize);
            EXPECT_LE(maxAbsDiff(direct.output, whole.output), 1e-6) << "seed " << seed << " block " << blockSize;
        }
    }
}

TEST(Blocking, SelectionShorterThanOneBlock)
{
    for (int frames : {1, 3, 8, 9, 17, 500}) {
        const auto input = testSignal(frames, 9);
        const auto ratios = wobblingCurve(frames, 9, 0.2);
        const BlockRun run = runBlocks<VarispeedResampler>(H, input, ratios, 8192);
        const BlockRun direct = runBlocks<ReferenceResampler>(H, input, ratios, 8192);
        ASSERT_EQ(run.blockFrames.size(), 1u);
        EXPECT_EQ(run.blockFrames, direct.blockFrames) << frames << " frames";
        EXPECT_LE(maxAbsDiff(run.output, direct.output), 1e-6) << frames << " frames";
        EXPECT_EQ(runBlocks<VarispeedResampler>(H, input, constantCurve(frames, 1.0f), 8192).output.size(),
                  input.size());
    }
}

// At the slowest ratio the read head moves 16 frames per output frame and can
// land beyond a short final block, which then has no frame to give.
TEST(Blocking, LastBlockThatYieldsNoFrames)
{
    const int frames = 61;
    const auto input = testSignal(frames, 12);
    const auto ratios = constantCurve(frames, 1.0f / 16.0f);
    const BlockRun run = runBlocks<VarispeedResampler>(H, input, ratios, 60);
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.blockFrames.size(), 2u);
    EXPECT_EQ(run.blockFrames[1], 0);
    EXPECT_EQ(run.output.size(), 4u); // positions 0, 16, 32, 48
    EXPECT_LE(maxAbsDiff(run.output, runBlocks<ReferenceResampler>(H, input, ratios, 60).output), 1e-6);
}

// With a narrow kernel a slow ratio jumps the read head more than H frames past
// a block, so nothing of that block is kept and the next starts further in.
TEST(Blocking, ReadHeadJumpingWholeBlocks)
{
    const int frames = 3000;
    const auto input = testSignal(frames, 13);
    std::vector<float> ratios(frames);
    for (int n = 0; n < frames; ++n)
        ratios[n] = (n / 300) % 2 ? 1.0f / 16.0f : 1.0f / 12.0f;
    for (int blockSize : {1, 3, 5, 40}) {
        const BlockRun run = runBlocks<VarispeedResampler>(2, input, ratios, blockSize);
        const BlockRun direct = runBlocks<ReferenceResampler>(2, input, ratios, blockSize);
        EXPECT_EQ(run.output.size(), direct.output.size()) << "block " << blockSize;
        EXPECT_LE(maxAbsDiff(run.output, direct.output), 1e-6) << "block " << blockSize;
        EXPECT_LE(maxAbsDiff(run.output, runBlocks<VarispeedResampler>(2, input, ratios, frames).output), 1e-6);
    }
}

// Blocks of any length, also shorter or longer than the length given to init or
// empty, give the same output; an empty last block after the input flushes the
// frames still owed.
TEST(Blocking, UnevenBlocksAndAnEmptyLastBlock)
{
    const int frames = 20000;
    const auto input = testSignal(frames, 14);
    const auto ratios = wobblingCurve(frames, 14, 0.05);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> length(0, 3000);
    VarispeedResampler r;
    ASSERT_TRUE(r.init(H, 1000));
    std::vector<float> output;
    for (int start = 0; start <= frames;) {
        const int count = std::min(length(rng), frames - start);
        const bool last = start == frames;
        const int n = r.prepare(ratios.data() + start, input.data() + start, count, start == 0, last);
        ASSERT_GE(n, 0);
        std::vector<float> out(n);
        ASSERT_TRUE(r.render(out.data()));
        output.insert(output.end(), out.begin(), out.end());
        start += last ? 1 : count;
    }
    EXPECT_LE(maxAbsDiff(output, runBlocks<VarispeedResampler>(H, input, ratios, frames).output), 1e-6);
}

TEST(Blocking, FirstFlagRestartsTheRun)
{
    const int frames = 3000;
    const auto input = testSignal(frames, 15);
    const auto ratios = wobblingCurve(frames, 15, 0.05);
    VarispeedResampler r;
    ASSERT_TRUE(r.init(H, 512));
    // Abandon a run half-way, then start again on the same object without init.
    std::vector<float> scrap(std::max(r.prepare(ratios.data(), input.data(), 700, true, false), 0));
    ASSERT_TRUE(r.render(scrap.data()));
    std::vector<float> again(std::max(r.prepare(ratios.data(), input.data(), frames, true, true), 0));
    ASSERT_TRUE(r.render(again.data()));
    EXPECT_LE(maxAbsDiff(again, runBlocks<VarispeedResampler>(H, input, ratios, 512).output), 1e-6);
}

} // namespace
