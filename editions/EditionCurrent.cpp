#include "editions/Edition.h"

// Compiled once per edition library with MZN_EDITION_ID set to the edition.
#ifndef MZN_EDITION_ID
#error "MZN_EDITION_ID must name the edition this library is built for"
#endif

const Edition& Edition::Current() {
    return Edition::Of(static_cast<EditionId>(MZN_EDITION_ID));
}
