#pragma once

#include "report/MappedAccount.h"

// Copying the default mapping of the items into the mapping in force.
class MappingDefaults {
public:
    // Frees every entry of the mapping, then appends a copy of each default
    // entry in order. False when memory runs out: the entries copied so far
    // stay in the mapping.
    static bool ResetMappingToDefault(MappingList& mapping, const MappingList& defaults);
};
