#include "hostsim/NewFileSink.h"

#include "hostsim/SndfileSink.h"
#include "tools/soundio/SoundFormats.h"

namespace wowfix::hostsim {

NewFileFactory newFileInto(soundio::ReplacingFile& partial, int container) {
    return [&partial, container](int channels, int sampleRate, std::string& why) {
        const int chosen = soundio::chooseEncoding(container, channels, sampleRate);
        if (chosen == 0) {
            why = "the " + soundio::containerName(container) + " format cannot hold the plug-in's new file (" +
                  std::to_string(channels) + " channels at " + std::to_string(sampleRate) + " Hz)";
            return std::unique_ptr<AudioSink>();
        }
        return std::unique_ptr<AudioSink>(SndfileSink::open(partial.takeDescriptor(), partial.target(),
                                                            container | chosen, channels, sampleRate, why));
    };
}

}  // namespace wowfix::hostsim
