// The host's side of the offline protocol, played against the probe plug-in.

#include "HostTestSupport.h"
#include "probe/ProbeProtocol.h"

#include "hostsim/GeneratedSource.h"
#include "hostsim/OfflineHost.h"

#include <gtest/gtest.h>

#include <memory>

using namespace wowfix::hostsim;

namespace {

class ProbeHost : public ::testing::Test {
protected:
    void load(int blockSize = 256) {
        host = std::make_unique<OfflineHost>(blockSize);
        ASSERT_TRUE(host->loadPlugin(HOSTSIM_PROBE_PLUGIN)) << host->error();
        ASSERT_EQ(host->dispatch(effVendorSpecific, probe::kMagic, probe::kObservations, &seen), 1);
    }

    void openTone(std::int64_t frames, int channels = 2) {
        std::vector<double> tones = {441.0, 1234.5, 50.0};
        tones.resize(static_cast<std::size_t>(channels));
        auto source = std::make_unique<GeneratedSource>(frames, 44100.0, tones, 0.5);
        tone = source.get();
        host->openFile(std::move(source), "tone.wav");
    }

    void scenario(int which) { host->dispatch(effVendorSpecific, probe::kMagic, probe::kSetScenario, nullptr, which); }

    // A host process request with a new file kept in memory.
    void process() {
        sink = std::make_unique<hostsim_test::MemorySink>(host->file()->channels());
        factoryCalls = 0;
        host->setNewFileFactory([this](int channels, int rate, std::string&) {
            ++factoryCalls;
            askedChannels = channels;
            askedRate = rate;
            if (channels != sink->channels()) sink = std::make_unique<hostsim_test::MemorySink>(channels);
            return std::unique_ptr<AudioSink>(new hostsim_test::ForwardingSink(*sink));
        });
        ASSERT_EQ(host->notifyFiles(false), 1);
        host->notifyFiles(true);
    }

    std::unique_ptr<OfflineHost> host;
    probe::Observations* seen = nullptr;
    GeneratedSource* tone = nullptr;
    std::unique_ptr<hostsim_test::MemorySink> sink;
    int factoryCalls = 0;
    int askedChannels = 0;
    int askedRate = 0;
};

}  // namespace

TEST_F(ProbeHost, EntryFindsTheHostVersionBeforeTheRecordIsTagged) {
    load();
    EXPECT_EQ(host->plugin()->entryName(), "main") << "the probe exports only the historical entry";
    EXPECT_EQ(seen->versionAtEntry, kHostVstVersion);
}

TEST_F(ProbeHost, NotificationDescribesTheOpenFile) {
    load();
    openTone(100000);
    ASSERT_TRUE(host->setSelection({2500.0, 4000.0}));
    EXPECT_EQ(host->notifyFiles(false), 1);
    EXPECT_EQ(seen->notifications, 1);
    EXPECT_EQ(seen->lastNotifyCount, 1);
    EXPECT_EQ(seen->lastNotifyStart, 0);
    EXPECT_EQ(seen->lastFile.uniqueId, OfflineHost::kFileId);
    EXPECT_EQ(seen->lastFile.numFrames, 100000.0);
    EXPECT_EQ(seen->lastFile.numChannels, 2);
    EXPECT_EQ(seen->lastFile.sampleRate, 44100.0);
    EXPECT_EQ(seen->lastFile.selectionStart, 2500.0);
    EXPECT_EQ(seen->lastFile.selectionSize, 4000.0);
    EXPECT_STREQ(seen->lastFile.name, "tone.wav");
    EXPECT_FALSE(host->setSelection({99000.0, 2000.0})) << "past the end";
    EXPECT_EQ(host->selection().start, 2500.0);
}

TEST_F(ProbeHost, AskedForFilesTheHostNotifiesAfterTheCallNotInsideIt) {
    load();
    openTone(5000);
    const int before = seen->notifications;
    EXPECT_EQ(host->dispatch(effVendorSpecific, probe::kMagic, probe::kRequestTask, nullptr, 0.0f), 1);
    EXPECT_EQ(seen->notifications, before + 1);
    EXPECT_EQ(seen->notificationsInsideCalls, 0);
    EXPECT_EQ(host->tasksStarted(), 1) << "the notification started the task";
    EXPECT_TRUE(host->lastTask().succeeded) << host->lastTask().error;
    EXPECT_EQ(host->lastTask().framesRead, 5000);
}

TEST_F(ProbeHost, ANotificationLoopIsCutOff) {
    load();
    openTone(100);
    scenario(probe::kRequeryForever);
    host->dispatch(effVendorSpecific, probe::kMagic, probe::kRequestTask, nullptr, 0.0f);
    EXPECT_EQ(host->notificationsDelivered(), OfflineHost::kMaxQueuedNotifications);
    EXPECT_NE(host->error().find("keeps asking"), std::string::npos);
}

TEST_F(ProbeHost, RecordsCarryTheSelectionTheFileAndThePlugInsToken) {
    load(300);
    openTone(20000);
    ASSERT_TRUE(host->setSelection({1000.0, 7000.0}));
    process();
    ASSERT_EQ(seen->preparedCount, 2);
    const VstOfflineTask& source = seen->prepared[0];
    EXPECT_EQ(source.positionToProcessFrom, 1000.0);
    EXPECT_EQ(source.numFramesToProcess, 7000.0);
    EXPECT_EQ(source.numFramesInSourceFile, 20000.0);
    EXPECT_EQ(source.sourceSampleRate, 44100.0);
    EXPECT_EQ(source.numSourceChannels, 2);
    EXPECT_EQ(source.sizeInputBuffer, 300);
    EXPECT_NE(source.inputBuffer, nullptr);
    EXPECT_EQ(source.plugOwned, seen->ownedToken);
    const VstOfflineTask& target = seen->prepared[1];
    EXPECT_NE(target.flags & kVstOfflineNewFile, 0);
    EXPECT_EQ(target.sizeOutputBuffer, 300);
    EXPECT_EQ(host->lastTask().processName, "Probe copy");
}

TEST_F(ProbeHost, CopiedSelectionArrivesFrameForFrameWhateverTheBlock) {
    for (int block : {1, 7, 1000, 8192}) {
        load(block);
        openTone(12345);
        ASSERT_TRUE(host->setSelection({345.0, 10000.0}));
        process();
        ASSERT_TRUE(host->lastTask().succeeded) << block << ": " << host->lastTask().error;
        ASSERT_EQ(sink->framesWritten(), 10000) << block;
        EXPECT_TRUE(sink->finished());
        EXPECT_EQ(factoryCalls, 1);
        std::vector<float> expected0(10000);
        std::vector<float> expected1(10000);
        float* channels[] = {expected0.data(), expected1.data()};
        ASSERT_TRUE(tone->read(345, 10000, channels));
        EXPECT_EQ(sink->channel(0), expected0) << block;
        EXPECT_EQ(sink->channel(1), expected1) << block;
    }
}

TEST_F(ProbeHost, ProgressIsToldBeforeEveryReadAndEndsAtOne) {
    load(1000);
    openTone(10000);
    std::vector<double> told;
    host->setProgressObserver([&told](double fraction) { told.push_back(fraction); });
    process();
    ASSERT_EQ(told.size(), 11u);  // ten reads and the end
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(told[static_cast<std::size_t>(i)], i / 10.0, 1e-12);
    EXPECT_EQ(told.back(), 1.0);
}

TEST_F(ProbeHost, NewFileTakesChannelsAndRateFromItsRecord) {
    load();
    openTone(1000, 2);
    host->dispatch(effVendorSpecific, probe::kMagic, probe::kSetNewFileChannels, nullptr, 1.0f);
    process();
    EXPECT_TRUE(host->lastTask().succeeded) << host->lastTask().error;
    EXPECT_EQ(askedChannels, 1);
    EXPECT_EQ(askedRate, 44100);
    EXPECT_EQ(host->lastTask().newFileChannels, 1);

    load();
    openTone(1000, 2);
    host->dispatch(effVendorSpecific, probe::kMagic, probe::kSetNewFileChannels, nullptr, -2.0f);
    process();
    EXPECT_FALSE(host->lastTask().succeeded);
    EXPECT_FALSE(host->lastTask().ran) << "a file that cannot be made stops the task before it runs";
    EXPECT_EQ(factoryCalls, 0);
}

TEST_F(ProbeHost, BadReadsAndWritesAreRefusedAndFailTheTask) {
    struct Case {
        int scenario;
        const char* words;
    };
    for (const Case& c : {Case{probe::kReadPastEnd, "outside the file"}, Case{probe::kOversizedRead, "block holds"},
                          Case{probe::kOversizedWrite, "block holds"}, Case{probe::kWriteOutOfOrder, "in order"},
                          Case{probe::kReadWithoutAsking, "kVstOfflineWantRead"}}) {
        load(64);
        openTone(1000);
        scenario(c.scenario);
        process();
        const TaskReport& task = host->lastTask();
        EXPECT_TRUE(task.ran) << c.scenario;
        EXPECT_FALSE(task.succeeded) << c.scenario;
        EXPECT_NE(task.error.find(c.words), std::string::npos) << c.scenario << ": " << task.error;
        EXPECT_TRUE(seen->lastReadAnswer == 0 || seen->lastWriteAnswer == 0) << c.scenario;
        EXPECT_EQ(sink->framesWritten(), 0) << c.scenario;
        EXPECT_FALSE(sink->finished()) << "a failed task's file is not completed";
    }
}

TEST_F(ProbeHost, RefusedPrepareRunsNothing) {
    load();
    openTone(1000);
    scenario(probe::kRefusePrepare);
    process();
    EXPECT_TRUE(host->lastTask().started);
    EXPECT_FALSE(host->lastTask().prepared);
    EXPECT_EQ(seen->runCalls, 0);
    EXPECT_EQ(factoryCalls, 0);
}

TEST_F(ProbeHost, FailureMidwayKeepsWhatWasWrittenButDoesNotCompleteIt) {
    load(100);
    openTone(1000);
    scenario(probe::kFailMidway);
    process();
    EXPECT_TRUE(host->lastTask().ran);
    EXPECT_FALSE(host->lastTask().runAnswer);
    EXPECT_FALSE(host->lastTask().succeeded);
    EXPECT_EQ(sink->framesWritten(), 500);
    EXPECT_FALSE(sink->finished());
}

TEST_F(ProbeHost, CursorAndSelectionMoveWhenThePlugInAskedForThem) {
    load();
    openTone(8000);
    scenario(probe::kMoveCursorAndSelect);
    host->dispatch(effVendorSpecific, probe::kMagic, probe::kRequestTask, nullptr, 0.0f);
    EXPECT_EQ(seen->cursorReadAnswer, 1);
    EXPECT_EQ(seen->cursorWriteAnswer, 1);
    EXPECT_EQ(seen->selectionReadAnswer, 1);
    EXPECT_EQ(seen->selectionWriteAnswer, 1);
    EXPECT_EQ(host->cursor(), 2000.0);
    EXPECT_EQ(host->selection().start, 2000.0);
    EXPECT_EQ(host->selection().length, 2000.0);
    // The next notification shows the moved cursor and selection.
    host->notifyFiles(false);
    EXPECT_EQ(seen->lastFile.editCursorPosition, 2000.0);
    EXPECT_EQ(seen->lastFile.selectionStart, 2000.0);
    EXPECT_EQ(seen->lastFile.selectionSize, 2000.0);
}

TEST_F(ProbeHost, CursorAndSelectionStayWithoutTheFlagsOrOutsideTheFile) {
    load();
    openTone(8000);
    scenario(probe::kMoveWithoutAsking);
    host->dispatch(effVendorSpecific, probe::kMagic, probe::kRequestTask, nullptr, 0.0f);
    EXPECT_EQ(seen->cursorReadAnswer, 0);
    EXPECT_EQ(seen->cursorWriteAnswer, 0);
    EXPECT_EQ(seen->selectionWriteAnswer, 0);
    EXPECT_EQ(host->cursor(), 0.0);
    EXPECT_EQ(host->selection().length, 8000.0);

    load();
    openTone(8000);
    scenario(probe::kSelectPastEnd);
    host->dispatch(effVendorSpecific, probe::kMagic, probe::kRequestTask, nullptr, 0.0f);
    EXPECT_EQ(seen->cursorWriteAnswer, 1);
    EXPECT_EQ(seen->selectionWriteAnswer, 0);
    EXPECT_EQ(host->selection().start, 0.0);
    EXPECT_EQ(host->selection().length, 8000.0);
}

TEST_F(ProbeHost, TwoHostsKeepTheirOwnPlugInsAndFiles) {
    OfflineHost first(128);
    OfflineHost second(128);
    ASSERT_TRUE(first.loadPlugin(HOSTSIM_PROBE_PLUGIN));
    ASSERT_TRUE(second.loadPlugin(HOSTSIM_PROBE_PLUGIN));
    probe::Observations* a = nullptr;
    probe::Observations* b = nullptr;
    first.dispatch(effVendorSpecific, probe::kMagic, probe::kObservations, &a);
    second.dispatch(effVendorSpecific, probe::kMagic, probe::kObservations, &b);
    ASSERT_NE(a, b);
    first.openFile(std::make_unique<GeneratedSource>(1111, 44100.0, std::vector<double>{100.0}, 0.5), "one.wav");
    second.openFile(std::make_unique<GeneratedSource>(2222, 44100.0, std::vector<double>{100.0}, 0.5), "two.wav");
    first.dispatch(effVendorSpecific, probe::kMagic, probe::kRequestTask, nullptr, 0.0f);
    EXPECT_EQ(a->lastFile.numFrames, 1111.0);
    EXPECT_EQ(b->notifications, 0);
    EXPECT_EQ(first.lastTask().framesRead, 1111);
    EXPECT_EQ(second.tasksStarted(), 0);
    second.dispatch(effVendorSpecific, probe::kMagic, probe::kRequestTask, nullptr, 0.0f);
    EXPECT_EQ(second.lastTask().framesRead, 2222);
    EXPECT_EQ(first.tasksStarted(), 1);
}

TEST_F(ProbeHost, NoFileNoTask) {
    load();
    EXPECT_EQ(host->notifyFiles(false), 0);
    EXPECT_EQ(seen->lastNotifyCount, 0);
    EXPECT_EQ(host->notifyFiles(true), 0);
    EXPECT_FALSE(host->lastTask().started);
}
