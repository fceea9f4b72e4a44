#include "tasks/ProcessingLibrary.h"

#include "detectors/DetectorParamStore.h"
#include "extlib/include/PvcPluginContract.h"
#include "tasks/PvcPluginModule.h"
#include "tasks/ZendralModule.h"

#include <algorithm>
#include <cstring>

namespace wowfix {

namespace {

constexpr int kSlot = DetectorParamStore::humLibrarySlot;

// The values the plug-in gives a first instance: a 50 Hz tracker.
struct DefaultValue {
    int index;
    float value;
};
constexpr DefaultValue kDefaults[] = {{2, 0.75f}, {3, 0.225f}, {4, 0.275f}, {10, 0.257f}};

// The editor's buffers: `usable` bytes pre-filled with 1, zeros after them.
template <typename Call>
std::string boundedText(int usable, Call call) {
    char buffer[kPvcNameCapacity + 2];
    std::memset(buffer, 0, sizeof buffer);
    std::memset(buffer, 1, static_cast<size_t>(usable));
    call(buffer);
    // The text ends at its terminator, or where the library left the
    // pre-fill or would have run past the usable part.
    int length = 0;
    while (length < usable && buffer[length] != '\0' && buffer[length] != '\1') ++length;
    return std::string(buffer, static_cast<size_t>(length));
}

}  // namespace

ProcessingLibrary::ProcessingLibrary(DetectorParamStore& store, std::string folder)
    : store_(store), folder_(std::move(folder)) {}

ProcessingLibrary::~ProcessingLibrary() { releaseLibraryInstance(); }

const PvcPluginFunctions& ProcessingLibrary::calls() const { return pvc_->functions(); }

bool ProcessingLibrary::fail(std::string why) {
    message_ = std::move(why);
    return false;
}

bool ProcessingLibrary::createLibraryInstance(float sampleRate) {
    std::string error;
    std::shared_ptr<PvcPluginModule> pvc = pvc_ != nullptr ? pvc_ : PvcPluginModule::acquire(folder_, error);
    if (pvc == nullptr) return fail(error);
    std::shared_ptr<ZendralModule> zendral = zendral_ != nullptr ? zendral_ : ZendralModule::acquire(folder_, error);
    if (zendral == nullptr) return fail(error);
    releaseLibraryInstance();
    PvcCreatePluginFunction create = zendral->createPlugin();
    if (create == nullptr) {
        zendral_.reset();
        return fail("The hum library \"" + zendral->path() + "\" has no \"createPlugin\".");
    }
    zendral_ = zendral;
    pvc_ = pvc;
    instance_ = create(sampleRate);
    if (instance_ == nullptr) return fail("The hum library made no instance for this sample rate.");
    applyRemembered();
    message_.clear();
    return true;
}

void ProcessingLibrary::applyRemembered() {
    const int n = numParams();
    if (store_.isSlotReady(kSlot)) {
        const int count = std::min(n, store_.valueCount(kSlot));
        for (int i = 0; i < count; ++i) calls().setParamValue(instance_, i, store_.loadSlot(kSlot, i));
        return;
    }
    if (!store_.prepareSlot(kSlot, n)) return;
    for (const DefaultValue& d : kDefaults)
        if (d.index < n) calls().setParamValue(instance_, d.index, d.value);
    for (int i = 0; i < n; ++i) store_.saveSlot(kSlot, i, calls().getParamValue(instance_, i));
}

bool ProcessingLibrary::releaseLibraryInstance() {
    if (instance_ == nullptr) return true;
    if (store_.isSlotReady(kSlot)) {
        const int n = numParams();
        for (int i = 0; i < n; ++i) store_.saveSlot(kSlot, i, calls().getParamValue(instance_, i));
    }
    calls().destroy(instance_);
    instance_ = nullptr;
    return true;
}

int ProcessingLibrary::numParams() const {
    if (instance_ == nullptr) return 0;
    return std::clamp(calls().getNumParams(instance_), 0, DetectorParamStore::maxValueCount);
}

float ProcessingLibrary::value(int index) const {
    return index >= 0 && index < numParams() ? calls().getParamValue(instance_, index) : 0.0f;
}

void ProcessingLibrary::setValue(int index, float value) {
    if (index >= 0 && index < numParams()) calls().setParamValue(instance_, index, std::clamp(value, 0.0f, 1.0f));
}

float ProcessingLibrary::display(int index) const {
    return index >= 0 && index < numParams() ? calls().getParamValueDisp(instance_, index) : 0.0f;
}

std::string ProcessingLibrary::name(int index) const {
    if (index < 0 || index >= numParams()) return {};
    return boundedText(kPvcNameCapacity, [&](char* text) { calls().getParamName(instance_, index, text); });
}

std::string ProcessingLibrary::label(int index) const {
    if (index < 0 || index >= numParams()) return {};
    return boundedText(kPvcLabelCapacity, [&](char* text) { calls().getParamLabel(instance_, index, text); });
}

int ProcessingLibrary::delay() const {
    return instance_ != nullptr ? std::max(0, calls().getDelay(instance_)) : 0;
}

bool ProcessingLibrary::processPvc(float* input, float* output, int frames) {
    if (instance_ == nullptr) return false;
    float* inputs[1] = {input};
    float* outputs[1] = {output};
    return calls().processPVC(instance_, frames, 1, inputs, outputs);
}

bool ProcessingLibrary::canPreprocess() const {
    return instance_ != nullptr && zendral_ != nullptr && zendral_->preprocess() != nullptr;
}

bool ProcessingLibrary::preprocess(float* input, int frames, float* output, int capacity, int& count,
                                   bool finalCall) {
    count = 0;
    if (!canPreprocess()) return false;
    float* inputs[1] = {input};
    float* outputs[1] = {output};
    int written = 0;
    const bool ok = zendral_->preprocess()(instance_, 0, frames, 1, inputs, capacity, &written, outputs,
                                           finalCall ? 1 : 0);
    count = std::clamp(written, 0, capacity);
    return ok;
}

}  // namespace wowfix
