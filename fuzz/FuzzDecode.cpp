// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The decode path: the input is a horse block (shorter inputs are padded with zeros, longer
// ones cut), decoded into the horse table, then every row text and ability name is built.
#include "FuzzChecks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // On the heap and exactly the block's size, so that AddressSanitizer sees any read past it.
    const auto block = std::make_unique<HorseBlock>();
    std::copy_n(data, std::min(size, block->size()), block->begin());
    DecodeAndCheck(*block);
    return 0;
}
