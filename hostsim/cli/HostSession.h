#pragma once
// The steps every command takes before its own work: open the input, load the
// plug-in and report the file to it, as a host does when a user opens a file
// and then the plug-in.

#include "hostsim/OfflineHost.h"
#include "hostsim/SndfileSource.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace wowfix::hostsim {

// Exit statuses of wowfix-host.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Writes "wowfix-host: <message>" as one line and answers `status`.
int failWith(std::ostream& err, const std::string& message, int status = kExitFailure);

// Opens `path` as audio; refuses a file without frames.
std::unique_ptr<SndfileSource> openInput(const std::string& path, std::string& error);

// Loads the plug-in (the default one when `pluginOption` is empty), opens
// `source` in the host under the input's file name and sends the file
// notification. False with `error` set when the plug-in cannot be loaded or
// does not take the file. What the plug-in reports about its own set-up
// (e.g. that it works without undo) goes to `notes`.
bool startSession(OfflineHost& host, const std::string& pluginOption, std::unique_ptr<AudioSource> source,
                  const std::string& inputPath, std::string& error, std::ostream* notes = nullptr);

// `text`, followed by the plug-in's own message when it has one.
std::string withPluginMessage(OfflineHost& host, const std::string& text);

// The last component of a path.
std::string baseName(const std::string& path);

}  // namespace wowfix::hostsim
