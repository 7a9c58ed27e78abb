// A private scratch folder for fuzz targets that must hand real files to the code under
// test. Made once per process under the system's temporary folder, removed at exit.
#pragma once

#include <string>
#include <string_view>

namespace fuzzscratch {

// Full path of `name` inside the scratch folder.
std::string path(const char* name);

// Creates or truncates the file and writes the bytes; false when that failed.
bool write(const std::string& file, std::string_view bytes);

// The whole file, or false when it cannot be read.
bool read(const std::string& file, std::string& bytes);

}  // namespace fuzzscratch
