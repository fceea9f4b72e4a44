#pragma once
// The plug-in's ways of finding the speed curve in a file that the detect and
// auto commands can run, by the name the command line gives them.

#include <string>

namespace wowfix::hostsim {

struct DetectionAlgorithm {
    const char* name;       // on the command line: --algorithm NAME
    const char* title;      // as the plug-in's algorithm list shows it
    int detector;           // the plug-in's algorithm number for kDetectorParameter
    int taskMode;           // the task that builds the curve
    const char* taskName;   // for messages: "the pilot-tone tracking"
    const char* progress;   // progress bar label
    int passes;             // times the task reads the file
    bool followsLine;       // dragged along a tonal line (--line), no task
    bool precise;           // the algorithm's precise detector (the editor's "Precise")
};

// Null for a name that is not one of them.
const DetectionAlgorithm* findAlgorithm(const std::string& name);
// "pilot, ..." for messages.
std::string algorithmNames();

}  // namespace wowfix::hostsim
