#include "editions/Edition.h"

namespace {

constexpr Edition kEditions[] = {
    Edition(EditionId::CareFacility, "ミズナラ２０ ケアサービス版", "MznAld20", "MznAld20ToUg16_G"),
    Edition(EditionId::Standard, "ミズナラ２０", "MznBrc20", "MznBrc20ToUg16_G"),
    Edition(EditionId::Top, "ミズナラ２０ PRO", "MznCdr20", "MznCdr20ToUg16_G"),
};

}  // namespace

const Edition& Edition::Of(EditionId id) {
    return kEditions[static_cast<int>(id)];
}

const std::array<EditionId, 3>& Edition::All() {
    static constexpr std::array<EditionId, 3> kAll = {EditionId::CareFacility, EditionId::Standard,
                                                      EditionId::Top};
    return kAll;
}
