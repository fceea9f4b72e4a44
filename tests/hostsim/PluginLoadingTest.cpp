#include "HostTestSupport.h"

#include "hostsim/OfflineHost.h"
#include "hostsim/cli/PluginInfo.h"
#include "hostsim/cli/PluginLocator.h"

#include <gtest/gtest.h>

using namespace wowfix::hostsim;

namespace {

std::string loadFailure(const std::string& path) {
    OfflineHost host;
    EXPECT_FALSE(host.loadPlugin(path)) << path;
    EXPECT_FALSE(host.pluginLoaded());
    EXPECT_EQ(host.dispatch(effGetVstVersion), 0) << "nothing to call without a plug-in";
    return host.error();
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(PluginLoading, UnloadableLibrariesAreNamedWithTheReason) {
    hostsim_test::TempDir dir;
    const std::string missing = dir.file("missing.so");
    std::string error = loadFailure(missing);
    EXPECT_TRUE(contains(error, "cannot load plug-in '" + missing + "'")) << error;

    const std::string text = dir.file("text.so");
    hostsim_test::writeText(text, "not a library");
    error = loadFailure(text);
    EXPECT_TRUE(contains(error, text)) << error;

    error = loadFailure(HOSTSIM_NO_ENTRY_PLUGIN);
    EXPECT_TRUE(contains(error, "no VST entry")) << error;

    error = loadFailure(HOSTSIM_BAD_MAGIC_PLUGIN);
    EXPECT_TRUE(contains(error, "bad magic")) << error;

    EXPECT_TRUE(contains(loadFailure(""), "no plug-in"));
}

TEST(PluginLoading, AHostCanLoadAgainAfterAFailure) {
    OfflineHost host;
    EXPECT_FALSE(host.loadPlugin(HOSTSIM_BAD_MAGIC_PLUGIN));
    ASSERT_TRUE(host.loadPlugin(HOSTSIM_PROBE_PLUGIN)) << host.error();
    EXPECT_TRUE(host.error().empty());
    EXPECT_EQ(host.effect()->resvd1, reinterpret_cast<VstIntPtr>(static_cast<HostCallbacks*>(&host)));
    host.unloadPlugin();
    EXPECT_EQ(host.effect(), nullptr);
}

TEST(PluginLoading, CallbackWithoutAnyHostAnswersOnlyTheVersion) {
    EXPECT_EQ(hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f), kHostVstVersion);
    EXPECT_EQ(hostCallback(nullptr, audioMasterOfflineStart, 0, 0, nullptr, 0.0f), 0);
    AEffect untagged{};
    EXPECT_EQ(hostCallback(&untagged, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f), 0);
}

TEST(PluginDescription, ReportsWhatThePlugInSays) {
    OfflineHost host;
    ASSERT_TRUE(host.loadPlugin(HOSTSIM_PROBE_PLUGIN)) << host.error();
    const PluginInfo info = gatherPluginInfo(host);
    EXPECT_EQ(info.entry, "main");
    EXPECT_EQ(formatUniqueId(info.uniqueId), "0x50726F62 'Prob'");
    EXPECT_EQ(info.name, "Probe");
    EXPECT_EQ(info.vendor, "hostsim tests");
    EXPECT_EQ(info.product, "Protocol probe");
    EXPECT_EQ(info.vendorVersion, 7);
    EXPECT_EQ(info.version, 3);
    EXPECT_EQ(categoryName(info.category), "offline process");
    EXPECT_EQ(info.numInputs, 2);
    ASSERT_EQ(info.parameters.size(), 2u);
    EXPECT_EQ(info.parameters[0].name, "Gain");
    EXPECT_EQ(info.parameters[0].label, "dB");
    EXPECT_EQ(info.parameters[0].display, "-6.0");
    EXPECT_EQ(info.parameters[1].name, "Mix");
    // The probe has no indexed program names: each program is visited instead,
    // and the current one is restored.
    EXPECT_EQ(info.programs, (std::vector<std::string>{"First", "Second", "Third"}));
    EXPECT_EQ(host.dispatch(effGetProgram), 0);
    bool sawOffline = false;
    bool sawEvents = false;
    for (const CanDoAnswer& answer : info.canDo) {
        if (answer.query == "offline") sawOffline = answer.answer == 1;
        if (answer.query == "receiveVstEvents") sawEvents = answer.answer == -1;
    }
    EXPECT_TRUE(sawOffline);
    EXPECT_TRUE(sawEvents);
    EXPECT_EQ(describeFlags(info.flags), "canReplacing other:0x40000000");

    std::ostringstream printed;
    printPluginInfo(info, printed);
    EXPECT_TRUE(contains(printed.str(), "unique id:   0x50726F62 'Prob'"));
    EXPECT_TRUE(contains(printed.str(), "  0: Gain = -6.0 [dB]"));
    EXPECT_TRUE(contains(printed.str(), "  receiveVstEvents: no"));
    EXPECT_TRUE(contains(printed.str(), "  noRealTime: does not say"));
}

TEST(PluginDescription, IdsFlagsAndCategoriesInWords) {
    EXPECT_EQ(formatUniqueId(0x4D4F4A45), "0x4D4F4A45 'MOJE'");
    EXPECT_EQ(formatUniqueId(1), "0x00000001") << "no characters when they are not printable";
    EXPECT_EQ(describeFlags(0), "none");
    EXPECT_EQ(describeFlags(effFlagsHasEditor | effFlagsIsSynth), "hasEditor isSynth");
    EXPECT_EQ(categoryName(kPlugCategRestoration), "restoration");
    EXPECT_EQ(categoryName(99), "category 99");
}

TEST(PluginSearch, DefaultPlacesAreBesideTheProgramThenTheBuildTree) {
    const std::vector<std::string> places = defaultPluginCandidates("/opt/x/bin/");
    ASSERT_GE(places.size(), 2u);
    EXPECT_EQ(places[0].rfind("/opt/x/bin/", 0), 0u);
    EXPECT_EQ(places[1].rfind("/opt/x/bin/../host/", 0), 0u);
    std::string path;
    std::string error;
    EXPECT_TRUE(locatePlugin("/given.so", path, error));
    EXPECT_EQ(path, "/given.so");
}
