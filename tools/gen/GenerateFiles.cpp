#include "tools/gen/GenerateFiles.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "tools/gen/DamagedRecording.h"
#include "tools/soundio/SoundFileWriter.h"
#include "tools/soundio/SoundFormats.h"
#include "tools/gen/TruePvc.h"

namespace wowfix::gen {

namespace {

constexpr long kBlock = 8192;

std::string encodingName(int encoding) {
    switch (encoding) {
        case SF_FORMAT_FLOAT: return "32-bit float";
        case SF_FORMAT_PCM_24: return "24-bit integer";
        case SF_FORMAT_PCM_16: return "16-bit integer";
        default: return "unknown encoding";
    }
}

std::string knownContainers() {
    std::string list;
    for (const std::string& name : soundio::containerNames()) list += (list.empty() ? "" : ", ") + name;
    return list;
}

}  // namespace

bool generateFiles(const GeneratorSettings& settings, const OutputTargets& targets, GenerationSummary& summary,
                   std::string& error) {
    if (targets.audioPath.empty() || targets.pvcPath.empty()) {
        error = "both an audio file and a .pvc file must be named";
        return false;
    }
    if (targets.audioPath == targets.pvcPath) {
        error = "the audio file and the .pvc file must differ";
        return false;
    }
    int container = 0;
    if (!targets.format.empty()) {
        container = soundio::containerByName(targets.format);
        if (container == 0) {
            error = "unknown format '" + targets.format + "' (known: " + knownContainers() + ")";
            return false;
        }
    } else {
        container = soundio::containerForPath(targets.audioPath);
        if (container == 0) container = SF_FORMAT_WAV;
    }

    std::unique_ptr<DamagedRecording> recording = DamagedRecording::create(settings, error);
    if (recording == nullptr) return false;
    const int encoding = soundio::losslessEncoding(container, recording->channels(), recording->sampleRate());
    if (encoding == 0) {
        error = "the " + soundio::containerName(container) + " format cannot hold " +
                std::to_string(recording->channels()) + " channel(s) at " + std::to_string(recording->sampleRate()) +
                " Hz losslessly";
        return false;
    }

    std::unique_ptr<soundio::SoundFileWriter> writer = soundio::SoundFileWriter::create(
        targets.audioPath, container | encoding, recording->channels(), recording->sampleRate(), error);
    if (writer == nullptr) return false;
    std::vector<float> block(static_cast<std::size_t>(kBlock) * recording->channels());
    for (std::int64_t done = 0; done < recording->frames();) {
        const long count = static_cast<long>(std::min<std::int64_t>(kBlock, recording->frames() - done));
        if (!recording->render(block.data(), count, error) || !writer->write(block.data(), count, error))
            return false;
        done += count;
    }
    if (recording->peak() > 1.0) {
        char level[32];
        std::snprintf(level, sizeof(level), "%+.2f", 20.0 * std::log10(recording->peak()));
        error = std::string("the signal peaks at ") + level + " dBFS and would clip; lower the levels";
        return false;
    }
    if (!writer->close(error)) return false;

    std::unique_ptr<soundio::ReplacingFile> pvc = soundio::ReplacingFile::create(targets.pvcPath, error);
    if (pvc == nullptr) return false;
    const std::string text = truePvcText(recording->speed(), recording->sampleRate(), recording->frames(),
                                         settings.pvcStep);
    if (!soundio::writeText(*pvc, text, error)) return false;
    if (!writer->commit(error) || !pvc->commit(error)) return false;

    summary.sampleRate = recording->sampleRate();
    summary.channels = recording->channels();
    summary.frames = recording->frames();
    summary.peak = recording->peak();
    summary.container = soundio::containerName(container);
    summary.encoding = encodingName(encoding);
    return true;
}

}  // namespace wowfix::gen
