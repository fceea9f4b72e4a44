#include "hostsim/GeneratedSource.h"
#include "hostsim/TaskRecordSet.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wowfix::hostsim;

namespace {

VstAudioFile stereoFile() {
    GeneratedSource source(50000, 48000.0, {100.0, 200.0}, 0.5);
    VstAudioFile file = makeFileRecord(source, "tone.wav", 9, Selection{1000.0, 2000.0}, 0.0);
    static int token = 0;
    file.plugOwned = &token;
    return file;
}

}  // namespace

TEST(FileRecords, DescribeTheSourceAndItsSelection) {
    GeneratedSource source(50000, 48000.0, {100.0, 200.0}, 0.5);
    const std::string longName(300, 'n');
    const VstAudioFile file = makeFileRecord(source, longName, 9, Selection{1000.0, 2000.0}, 1500.0);
    EXPECT_EQ(file.uniqueId, 9);
    EXPECT_EQ(file.numChannels, 2);
    EXPECT_EQ(file.sampleRate, 48000.0);
    EXPECT_EQ(file.numFrames, 50000.0);
    EXPECT_EQ(file.selectionStart, 1000.0);
    EXPECT_EQ(file.selectionSize, 2000.0);
    EXPECT_EQ(file.editCursorPosition, 1500.0);
    EXPECT_EQ(file.selectedChannelsMask, 3);
    EXPECT_EQ(std::string(file.name), std::string(sizeof(file.name) - 1, 'n')) << "cut to fit, terminated";
}

TEST(FileRecords, SelectionMustLieInsideTheFile) {
    EXPECT_TRUE(selectionFits({0.0, 100.0}, 100.0));
    EXPECT_TRUE(selectionFits({40.0, 60.0}, 100.0));
    EXPECT_TRUE(selectionFits({100.0, 0.0}, 100.0));
    EXPECT_FALSE(selectionFits({41.0, 60.0}, 100.0));
    EXPECT_FALSE(selectionFits({-1.0, 10.0}, 100.0));
    EXPECT_FALSE(selectionFits({1.5, 10.0}, 100.0));
    EXPECT_FALSE(selectionFits({0.0, NAN}, 100.0));
}

TEST(TaskRecords, SourceRecordCarriesRangeFileAndBuffers) {
    TaskRecordSet records(2);
    const VstAudioFile file = stereoFile();
    ASSERT_TRUE(records.addSource(file, Selection{1000.0, 2000.0}, 512));
    const VstOfflineTask& task = records.record(0);
    EXPECT_EQ(task.positionToProcessFrom, 1000.0);
    EXPECT_EQ(task.readPosition, 1000.0);
    EXPECT_EQ(task.numFramesToProcess, 2000.0);
    EXPECT_EQ(task.numFramesInSourceFile, 50000.0);
    EXPECT_EQ(task.sourceSampleRate, 48000.0);
    EXPECT_EQ(task.numSourceChannels, 2);
    EXPECT_EQ(task.sizeInputBuffer, 512);
    EXPECT_EQ(task.plugOwned, file.plugOwned);
    ASSERT_TRUE(records.isSource(0));
    ASSERT_EQ(records.inputChannels(0), 2);
    float** buffers = static_cast<float**>(task.inputBuffer);
    ASSERT_NE(buffers, nullptr);
    buffers[0][511] = 1.0f;  // the whole block is there for each channel
    buffers[1][511] = 2.0f;
    EXPECT_EQ(records.inputs(0)[1][511], 2.0f);
}

TEST(TaskRecords, NewFileGetsOutputsForWhatThePlugInAsksFor) {
    TaskRecordSet records(2);
    ASSERT_TRUE(records.addSource(stereoFile(), Selection{0.0, 10.0}, 64));
    ASSERT_TRUE(records.addNewFile(stereoFile(), 64));
    EXPECT_FALSE(records.addNewFile(stereoFile(), 64)) << "no room beyond the reserved records";
    VstOfflineTask& target = records.record(1);
    EXPECT_NE(target.flags & kVstOfflineNewFile, 0);
    EXPECT_EQ(target.outputBuffer, nullptr) << "no buffers before the plug-in describes the file";
    target.numDestinationChannels = 1;
    target.destinationSampleRate = 22050.0;
    std::string error;
    ASSERT_TRUE(records.allocateOutputs(error)) << error;
    EXPECT_EQ(records.outputChannels(1), 1);
    EXPECT_EQ(records.outputSampleRate(1), 22050);
    EXPECT_EQ(target.sizeOutputBuffer, 64);
    EXPECT_EQ(static_cast<float**>(target.outputBuffer)[0], records.outputs(1)[0]);
}

TEST(TaskRecords, UnusableNewFilesAreRefused) {
    for (int channels : {0, -3, TaskRecordSet::kMaxChannels + 1}) {
        TaskRecordSet records(2);
        records.addSource(stereoFile(), Selection{0.0, 10.0}, 64);
        records.addNewFile(stereoFile(), 64);
        records.record(1).numDestinationChannels = channels;
        std::string error;
        EXPECT_FALSE(records.allocateOutputs(error)) << channels;
        EXPECT_NE(error.find("channels"), std::string::npos);
    }
    for (double rate : {0.0, -44100.0, 44100.5, static_cast<double>(NAN)}) {
        TaskRecordSet records(2);
        records.addSource(stereoFile(), Selection{0.0, 10.0}, 64);
        records.addNewFile(stereoFile(), 64);
        records.record(1).destinationSampleRate = rate;
        std::string error;
        EXPECT_FALSE(records.allocateOutputs(error)) << rate;
    }
}

TEST(TaskRecords, HostBuffersComeBackWhateverThePlugInWroteOverThem) {
    TaskRecordSet records(2);
    records.addSource(stereoFile(), Selection{0.0, 10.0}, 64);
    records.addNewFile(stereoFile(), 64);
    std::string error;
    ASSERT_TRUE(records.allocateOutputs(error));
    VstOfflineTask& source = records.record(0);
    void* original = source.inputBuffer;
    source.inputBuffer = nullptr;
    source.sizeInputBuffer = 1 << 20;
    records.record(1).sizeOutputBuffer = 0;
    records.restoreBuffers();
    EXPECT_EQ(source.inputBuffer, original);
    EXPECT_EQ(source.sizeInputBuffer, 64);
    EXPECT_EQ(records.record(1).sizeOutputBuffer, 64);
    EXPECT_EQ(records.indexOf(&records.record(1)), 1);
    VstOfflineTask stranger{};
    EXPECT_EQ(records.indexOf(&stranger), -1);
}
