// Loads the built plug-in library the way a host does: by path, through its
// exported entries only.
#include "sdk/VstTypes.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace wowfix {
namespace {

using Entry = AEffect* (*)(audioMasterCallback);

VstIntPtr VSTCALLBACK currentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

VstIntPtr VSTCALLBACK silentHost(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) { return 0; }

class PluginLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("WOWFIX_PLUGIN");
        if (path == nullptr || *path == '\0') GTEST_SKIP() << "WOWFIX_PLUGIN names no plug-in library";
        library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
    }
    void TearDown() override {
        if (library != nullptr) dlclose(library);
    }
    Entry entry(const char* name) { return reinterpret_cast<Entry>(dlsym(library, name)); }
    void* library = nullptr;
};

TEST_F(PluginLibrary, BothEntriesCreateTheOfflineEffect) {
    for (const char* name : {"VSTPluginMain", "main"}) {
        SCOPED_TRACE(name);
        const Entry create = entry(name);
        ASSERT_NE(create, nullptr);
        AEffect* effect = create(currentHost);
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(effect->magic, kEffectMagic);
        EXPECT_EQ(effect->uniqueID, 0x4D4F4A45);
        EXPECT_EQ(effect->numPrograms, 1);
        EXPECT_EQ(effect->numParams, 1);
        EXPECT_EQ(effect->numInputs, 1);
        EXPECT_EQ(effect->numOutputs, 2);
        EXPECT_EQ(effect->flags & effFlagsCanReplacing, 0);
        EXPECT_EQ(effect->dispatcher(effect, effCanDo, 0, 0, const_cast<char*>("offline"), 0.0f), 1);
        EXPECT_EQ(effect->getParameter(effect, 0), 1.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
}

TEST_F(PluginLibrary, HostThatGivesNoVersionGetsNoEffect) {
    ASSERT_NE(entry("VSTPluginMain"), nullptr);
    EXPECT_EQ(entry("VSTPluginMain")(silentHost), nullptr);
    EXPECT_EQ(entry("main")(silentHost), nullptr);
    EXPECT_EQ(entry("VSTPluginMain")(nullptr), nullptr);
}

TEST_F(PluginLibrary, InternalSymbolsStayInside) {
    // wowfix::taskModeOf(float) and the plug-in's constructor
    EXPECT_EQ(dlsym(library, "_ZN6wowfix10taskModeOfEf"), nullptr);
    EXPECT_EQ(dlsym(library, "_ZN6wowfix13OfflinePluginC1EPFlP7AEffectiilPvfE"), nullptr);
}

}  // namespace
}  // namespace wowfix
