#include "report/MappingDefaults.h"

#include <cstring>
#include <new>

bool MappingDefaults::ResetMappingToDefault(MappingList& mapping, const MappingList& defaults) {
    mapping.clear();
    try {
        for (const auto& entry : defaults) {
            auto copy = std::make_unique<MappedAccount>();
            copy->ItemNo = entry->ItemNo;
            std::memcpy(copy->AccountKey, entry->AccountKey, sizeof copy->AccountKey);
            mapping.push_back(std::move(copy));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
