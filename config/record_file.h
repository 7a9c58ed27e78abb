// The record on disk. Files are handled in binary, and the text-mode translation is
// done here, so the Linux and Windows builds read and write identical bytes:
// every LF of the image is stored as CR LF; reading folds CR LF back into LF and
// ends at a 0x1A byte, as a text-mode read does.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "config_record.h"

namespace zel {

// The on-disk bytes of an image (30249 for any record whose only LFs are its line feeds).
std::string to_disk(const ConfigRecord& rec);

// Decodes disk bytes into the image as a text-mode read of 30054 bytes would.
// Writes only the bytes obtained into `out` and returns their count.
std::size_t from_disk(std::string_view disk, ConfigRecord& out);

enum class ReadStatus {
    ok,
    short_read,  // fewer than 30054 image bytes: the tail of `out` was not written
    io_error,
};

// Seeks to the start of an open stream and reads one record image.
ReadStatus read_record(std::FILE* f, ConfigRecord& out, std::size_t* got = nullptr);

// Seeks to the start of a stream opened for update (or a new file), writes the whole
// record, and flushes. False when any step failed.
bool write_record(std::FILE* f, const ConfigRecord& rec);

// Open-read-close and create-write-close conveniences.
ReadStatus load_record(const char* path, ConfigRecord& out, std::size_t* got = nullptr);
bool save_record(const char* path, const ConfigRecord& rec);

}  // namespace zel
