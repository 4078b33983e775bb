#pragma once

#include <cstddef>
#include <cstdint>

// The decoders that take bytes from outside, one entry point each. The fuzzers in
// this folder call them with libFuzzer's inputs, and tst_fuzzcorpus replays every
// file of corpus/<name>/ through the same functions in every build, so that a
// crash once found stays found.
namespace FuzzTargets {

struct Target {
    const char* name;
    void (*run)(const uint8_t* data, size_t size);
};

// All of them, by the names of their corpus folders.
const Target* all(size_t* count);
// One of them, or nullptr.
const Target* find(const char* name);

} // namespace FuzzTargets
