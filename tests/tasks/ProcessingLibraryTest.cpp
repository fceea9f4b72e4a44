#include "detectors/DetectorParamStore.h"
#include "extlib/include/PvcPluginContract.h"
#include "pvc/PvcCurve.h"
#include "tasks/LibraryPointStream.h"
#include "tasks/ProcessingLibrary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

namespace wowfix {
namespace {

std::string fakeFolder(const char* kind) { return std::string(FAKE_ZENDRAL_FOLDER) + kind + "/"; }

TEST(ProcessingLibrary, OurLibrariesMakeA50HzInstanceThatRemembersItsValues) {
    DetectorParamStore store;
    ProcessingLibrary library(store, HUM_LIBRARY_FOLDER);
    ASSERT_TRUE(library.createLibraryInstance(48000.0f)) << library.message();
    EXPECT_TRUE(library.message().empty());
    EXPECT_EQ(library.numParams(), 12);
    EXPECT_FLOAT_EQ(library.display(10), 50.0f);
    EXPECT_FLOAT_EQ(library.display(2), 750.0f);
    EXPECT_GT(library.delay(), 0);
    EXPECT_TRUE(library.canPreprocess());
    EXPECT_FALSE(library.name(0).empty());
    EXPECT_TRUE(library.name(12).empty());

    library.setValue(5, 0.3f);
    ASSERT_TRUE(library.releaseLibraryInstance());
    EXPECT_FALSE(library.hasInstance());
    EXPECT_EQ(library.numParams(), 0);
    ASSERT_TRUE(library.createLibraryInstance(44100.0f));
    EXPECT_FLOAT_EQ(library.value(5), 0.3f);
    EXPECT_FLOAT_EQ(library.display(10), 50.0f);

    // A second binding in the same process shares the loaded module and the
    // remembered values.
    ProcessingLibrary other(store, HUM_LIBRARY_FOLDER);
    ASSERT_TRUE(other.createLibraryInstance(48000.0f));
    EXPECT_FLOAT_EQ(other.value(5), 0.3f);
}

TEST(ProcessingLibrary, MissingLibrariesFailWithAMessageAndAreLookedForAgain) {
    DetectorParamStore store;
    // Either library missing, or PVC_Plugin without one of its functions:
    // the instance fails, with a message that names what is wrong.
    const std::pair<const char*, const char*> cases[] = {
        {"NO_PVC", "PVC_Plugin"}, {"NO_ZENDRAL", "Zendral"}, {"PVC_BROKEN", "plugin_destroy"}};
    for (const auto& [kind, named] : cases) {
        ProcessingLibrary broken(store, fakeFolder(kind));
        EXPECT_FALSE(broken.createLibraryInstance(48000.0f)) << kind;
        EXPECT_FALSE(broken.hasInstance());
        EXPECT_NE(broken.message().find(named), std::string::npos) << broken.message();
        EXPECT_EQ(broken.message().find('\n'), std::string::npos);
        EXPECT_EQ(broken.numParams(), 0);
        EXPECT_EQ(broken.delay(), 0);
    }

    ProcessingLibrary library(store, "/nonexistent/folder/");
    EXPECT_FALSE(library.createLibraryInstance(48000.0f));
    float x[256] = {}, y[256] = {};
    EXPECT_FALSE(library.processPvc(x, y, 256));

    library.setFolder(HUM_LIBRARY_FOLDER);
    ASSERT_TRUE(library.createLibraryInstance(48000.0f)) << library.message();
    EXPECT_TRUE(library.message().empty());

    ProcessingLibrary nowhere(store, "");
    EXPECT_FALSE(nowhere.createLibraryInstance(48000.0f));
    EXPECT_FALSE(nowhere.message().empty());
}

TEST(ProcessingLibrary, BrokenZendralsFailWithAMessage) {
    DetectorParamStore store;
    ProcessingLibrary noCreate(store, fakeFolder("NO_CREATE"));
    EXPECT_FALSE(noCreate.createLibraryInstance(48000.0f));
    EXPECT_NE(noCreate.message().find("createPlugin"), std::string::npos) << noCreate.message();

    ProcessingLibrary nullInstance(store, fakeFolder("NULL_INSTANCE"));
    EXPECT_FALSE(nullInstance.createLibraryInstance(48000.0f));
    EXPECT_FALSE(nullInstance.message().empty());
    EXPECT_FALSE(nullInstance.hasInstance());
    EXPECT_EQ(nullInstance.numParams(), 0);
    EXPECT_TRUE(nullInstance.releaseLibraryInstance());

    // Bad sample rates make no instance of ours either.
    ProcessingLibrary ours(store, HUM_LIBRARY_FOLDER);
    EXPECT_FALSE(ours.createLibraryInstance(0.0f));
    EXPECT_FALSE(ours.message().empty());
}

TEST(ProcessingLibrary, OverlongNamesAreCutToTheirBuffers) {
    DetectorParamStore store;
    ProcessingLibrary odd(store, fakeFolder("ODD"));
    ASSERT_TRUE(odd.createLibraryInstance(48000.0f)) << odd.message();
    EXPECT_EQ(odd.name(0).size(), static_cast<size_t>(kPvcNameCapacity - 1));
    EXPECT_EQ(odd.label(1).size(), static_cast<size_t>(kPvcLabelCapacity - 1));
    odd.setValue(0, 5.0f);
    EXPECT_FLOAT_EQ(odd.value(0), 1.0f);
}

TEST(LibraryPointStream, OnlyFiniteRatiosUpToTwoOfAnsweredBlocksBecomePoints) {
    DetectorParamStore store;
    ProcessingLibrary odd(store, fakeFolder("ODD"));
    ASSERT_TRUE(odd.createLibraryInstance(48000.0f)) << odd.message();
    constexpr int kBlocks = 4, kBlock = ProcessingLibrary::kBlockLength;
    PvcCurve curve;
    curve.initFlat(kBlocks * kBlock + 1000);
    LibraryPointStream stream(odd, curve, 0);
    for (int i = 0; i < kBlocks * kBlock; ++i) stream.push(0.0f);

    // Blocks 0 and 2 are refused; 1 and 3 carry three usable ratios in every
    // eight points.
    EXPECT_EQ(stream.blocksRefused(), 2);
    const int usablePerBlock = kBlock / LibraryPointStream::kPointSpacing / 8 * 3;
    EXPECT_EQ(stream.pointsInserted(), 2 * usablePerBlock);
    EXPECT_EQ(curve.count(), 2 + 2 * usablePerBlock);
    for (int i = 1; i + 1 < curve.count(); ++i) {
        const float v = curve.valueAt(i);
        EXPECT_TRUE(v == 1.01f || v == 2.0f || v == 0.5f) << v;
        const int block = curve.positionAt(i) / kBlock;
        EXPECT_TRUE(block == 1 || block == 3) << curve.positionAt(i);
    }
    stream.steadyEnds();
    EXPECT_FLOAT_EQ(curve.valueAt(0), 1.01f);
    EXPECT_FLOAT_EQ(curve.valueAt(curve.count() - 1), 0.5f);
}

}  // namespace
}  // namespace wowfix
