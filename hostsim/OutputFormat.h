#pragma once
// The containers the host can write, by the names users type (the file
// extensions libsndfile knows), and the sample encoding chosen for the
// corrected audio: 32-bit float where the container holds it, else the
// finest it does hold.

#include <string>
#include <vector>

namespace wowfix::hostsim {

// libsndfile's container code (SF_FORMAT_WAV, ...) for a name such as "wav",
// "aiff" or "flac" (case-insensitive; "aif" is aiff); 0 when unknown.
int containerByName(const std::string& name);
// The user-facing name of a container code; empty when unknown.
std::string containerName(int container);
// All names containerByName accepts, for messages and usage.
std::vector<std::string> containerNames();

// The encoding for new audio in `container`: float, else 24-bit, else 16-bit
// integer, else Vorbis; 0 when the container can hold none of them at this
// channel count and rate.
int chooseEncoding(int container, int channels, int sampleRate);
// A short name of an encoding ("32-bit float", "24-bit integer", ...).
std::string encodingName(int encoding);

}  // namespace wowfix::hostsim
