#pragma once

#include <memory>
#include <string>

namespace wowfix {

class DetectorParamStore;
class PvcPluginModule;
struct PvcPluginFunctions;
class ZendralModule;

// The plug-in's side of the hum processing libraries: the one instance that
// Zendral's "createPlugin" makes, worked on through the PVC_Plugin functions
// (bound by their names), its parameters remembered in slot 3 of the
// detector parameter store while instances come and go, and Zendral's
// "plugin_preprocess". Both libraries are loaded by full path from `folder`
// (the plug-in's own) when an instance is first wanted, tried again after a
// failed attempt, and kept while this object lives.
class ProcessingLibrary {
public:
    // The block length the tasks hand over.
    static constexpr int kBlockLength = 8192;

    ProcessingLibrary(DetectorParamStore& store, std::string folder);
    ~ProcessingLibrary();
    ProcessingLibrary(const ProcessingLibrary&) = delete;
    ProcessingLibrary& operator=(const ProcessingLibrary&) = delete;

    // A new instance for a store sample rate of `sampleRate`, carrying the
    // remembered values (the first one gets the plug-in's defaults and
    // prepares the slot). The previous instance is released first. False,
    // with message() saying why, when PVC_Plugin or Zendral cannot be loaded,
    // lacks an entry, or no instance is made.
    bool createLibraryInstance(float sampleRate);
    // Remembers the instance's values and destroys it; true also without one.
    bool releaseLibraryInstance();

    void* instance() const { return instance_; }
    bool hasInstance() const { return instance_ != nullptr; }
    const std::string& message() const { return message_; }
    void setFolder(std::string folder) { folder_ = std::move(folder); }

    // --- the instance's parameters (neutral answers without one) -----------
    int numParams() const;
    float value(int index) const;
    void setValue(int index, float value);
    float display(int index) const;
    // Name and label as the library writes them into the editor's pre-filled
    // buffers, always terminated.
    std::string name(int index) const;
    std::string label(int index) const;

    // --- processing --------------------------------------------------------
    int delay() const;
    // `frames` mono frames in, a ratio at every 256th frame of `output`.
    bool processPvc(float* input, float* output, int frames);
    // Whether Zendral offers "plugin_preprocess".
    bool canPreprocess() const;
    // The preprocessed signal of `frames` input frames into at most
    // `capacity` values; `count` is clamped to 0 ... capacity.
    bool preprocess(float* input, int frames, float* output, int capacity, int& count, bool finalCall);

private:
    bool fail(std::string why);
    // PVC_Plugin's functions; only while there is an instance.
    const PvcPluginFunctions& calls() const;
    void applyRemembered();

    DetectorParamStore& store_;
    std::string folder_;
    std::shared_ptr<PvcPluginModule> pvc_;
    std::shared_ptr<ZendralModule> zendral_;
    void* instance_ = nullptr;
    std::string message_;
};

}  // namespace wowfix
