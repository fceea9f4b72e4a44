#pragma once

#include "sdk/VstOffline.h"

namespace wowfix {

class HostPort;

// The reading loop every task shares: the frames numFramesToProcess of the
// first record are read in blocks of at most sizeInputBuffer frames through
// the host, which advances readPosition. Before each read `progress` is set to
// the fraction done. A fractional frame count is rounded down, so the loop
// always ends; a block size below 1 is refused before any read.
class BlockReader {
public:
    BlockReader(HostPort& host, VstOfflineTask& task);

    // False when the record cannot be read in blocks (block size < 1, no
    // input buffers, a negative or non-finite frame count).
    bool valid() const { return valid_; }
    // Frames still to read.
    double remaining() const { return remaining_; }
    bool done() const { return remaining_ < 1.0; }
    // Reads the next block into the record's inputBuffer (readCount frames);
    // false when the host read fails.
    bool readNext();
    // Whether the block just read is the final one.
    bool finalBlock() const { return done(); }

private:
    HostPort& host_;
    VstOfflineTask& task_;
    double total_ = 0.0;
    double remaining_ = 0.0;
    bool valid_ = false;
};

}  // namespace wowfix
