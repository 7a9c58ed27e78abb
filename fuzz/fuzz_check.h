// What the fuzz targets share: a check that turns a broken property into a crash that
// libFuzzer keeps as a reproducer, and the helpers to lay fuzz bytes over a record.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config_record.h"

// A property that must hold for every input; when it does not, say which and abort.
#define FUZZ_CHECK(cond, ...)                                                     \
    do {                                                                          \
        if (!(cond)) {                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n  ", __FILE__,      \
                         __LINE__, #cond);                                        \
            std::fprintf(stderr, __VA_ARGS__);                                    \
            std::fprintf(stderr, "\n");                                           \
            std::abort();                                                         \
        }                                                                         \
    } while (0)

namespace fuzzrec {

// Fuzz bytes laid over the default record from `at` on: the labels and line feeds a
// real file carries stay where the bytes do not reach, so the mutations spend their
// effort on the fields and not on re-finding the record's shape.
inline zel::ConfigRecord overlay(const unsigned char* data, std::size_t size, std::size_t at = 0)
{
    zel::ConfigRecord rec = zel::default_record();
    for (std::size_t i = 0; i < size && at + i < zel::kRecordSize; ++i) rec.bytes[at + i] = data[i];
    return rec;
}

}  // namespace fuzzrec
