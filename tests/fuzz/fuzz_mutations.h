#pragma once

#include "fuzz/fuzz_inputs.h"

#include <string>

namespace morvane::fuzz {

// A damaged copy of a sample and what was done to it (for the failure messages).
struct Mutant {
    test::Bytes File;
    std::string What;
};

// One mutation of the sample: bits flipped, bytes set, the file cut at a field boundary (the
// `boundary`-th one, counted round the sample's fields, so that a run reaches every boundary),
// a number field set to an extreme, or bytes appended. A text gets its numbers replaced by
// extreme or broken numbers, its lines repeated, cut or made too long.
Mutant Mutate(const Sample& sample, Random& random, std::size_t boundary);

// One change of the JSON of the objects verb that keeps it JSON: a field set to a value of
// another type or out of its range, a key removed or misspelt, a kind changed, objects repeated
// past the layer's limits, the top level changed.
Mutant MutateObjectsJson(const Sample& sample, Random& random);

} // namespace morvane::fuzz
