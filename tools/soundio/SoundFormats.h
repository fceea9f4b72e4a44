#pragma once
// The sound-file containers libsndfile writes, by the names users type (the
// usual file extensions), and the lossless sample encoding chosen for them.

#include <string>
#include <vector>

namespace wowfix::soundio {

// libsndfile's container code (SF_FORMAT_WAV, ...) for a name such as "wav",
// "flac" or "aiff" (any case; "aif" is aiff); 0 when unknown.
int containerByName(const std::string& name);
// The container that the extension of `path` names; 0 when it names none.
int containerForPath(const std::string& path);
// The names containerByName knows, for messages.
std::vector<std::string> containerNames();
std::string containerName(int container);

// 32-bit float where the container holds it at this channel count and rate,
// else 24-bit, else 16-bit integer; 0 when it holds none of them.
int losslessEncoding(int container, int channels, int sampleRate);
// The lossless encoding, else Vorbis (for containers that hold nothing
// else); 0 when the container can hold none of them.
int chooseEncoding(int container, int channels, int sampleRate);
// A short name of an encoding ("32-bit float", "24-bit integer", ...).
std::string encodingName(int encoding);

}  // namespace wowfix::soundio
