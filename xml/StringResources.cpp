#include "xml/StringResources.h"

namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr Entry kStrings[] = {
    {StringResources::kConnectedProgramVersion, "20.00.00"},
};

}  // namespace

const char* StringResources::Get(int id) {
    for (const Entry& entry : kStrings)
        if (entry.id == id) return entry.text;
    return "";
}
